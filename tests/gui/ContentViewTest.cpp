#include <wx/settings.h>
#include <wx/textctrl.h>

#include <cstdio>

#include "GuiTestSupport.h"
#include "frame/ProgressDlg.h"
#include "platform/CommonDialogs.h"
#include "platform/Cp932Encode.h"
#include "platform/WxProfileStore.h"
#include "res/Resource.h"
#include "views/ContentView.h"

namespace ek::test {
namespace {

constexpr settings::ColorRef kUrlColour = settings::MakeColor(200, 0, 0);
constexpr settings::ColorRef kMailColour = settings::MakeColor(0, 150, 0);
constexpr settings::ColorRef kQuoteColour = settings::MakeColor(0, 0, 220);

wxColour ToColour(settings::ColorRef color) {
    return wxColour(settings::RedOf(color), settings::GreenOf(color), settings::BlueOf(color));
}

// One message of a mailbox, written in UTF-8 and stored in CP932; `minute` orders it.
std::string Message(int minute, const std::string& header, const std::string& body) {
    char start[160];
    std::snprintf(start, sizeof start,
                  "From - Mon Apr 03 09:%02d:00 2000\nX-EKMail-Status: 0001\n"
                  "Date: Mon, 03 Apr 2000 09:%02d:00 +0900\n",
                  minute, minute);
    return cp932::FromUtf8(start + header + "\n" + body);
}

std::string Lines(int count, const char* text) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += text + std::to_string(i) + "\n";
    }
    return lines;
}

// The program with the real text pane and a stand-in thread list, on a mailbox and
// a profile of the test's own.
class ContentRun {
  public:
    explicit ContentRun(const std::string& mailbox, const std::string& profileText = {}) {
        WriteFile(m_dir.File("box.mbx"), mailbox);
        if (!profileText.empty()) {
            WriteFile(ProfilePath(), profileText);
        }
        CEKViewApp::Options options;
        options.profilePath = ProfilePath();
        options.panes.createContent = [this](CMainFrame& frame, wxWindow* parent) {
            m_content = new CEKContentView(frame, parent);
            return m_content;
        };
        options.panes.createThread = [](CMainFrame&, wxWindow* parent) {
            return new StubThreadPane(parent);
        };
        m_app = std::make_unique<CEKViewApp>(std::move(options));
        m_started = m_app->InitInstance(ParseCommandLine({m_dir.File("box.mbx")}));
        if (m_started) {
            RunPending();
        }
    }
    ~ContentRun() { Close(); }

    void Close() {
        if (!m_started) {
            return;
        }
        m_started = false;
        m_app->GetMainFrame()->Close();
        RunPending();
        m_app->ExitInstance();
        m_content = nullptr;
    }

    bool Started() const { return m_started; }
    std::string ProfilePath() const { return m_dir.File("EKView.conf"); }
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CEKViewDoc& Doc() { return m_app->GetDocManager().GetDocument(); }
    CEKContentView& Content() { return *m_content; }
    wxTextCtrl& Text() { return *m_content->GetTextCtrl(); }

    // Brings the text pane up with the current message, as Enter on a row does.
    void OpenMessage() {
        ASSERT_TRUE(Frame().ExecuteCommand(ID_VIEW_CONTENT));
        RunPending();
    }

    // A key as the control reports it; true when the control's own handling follows.
    // Character events carry `unicode`, or the key code of an ASCII key.
    bool Key(wxEventType type, int keyCode, bool ctrl = false, wxChar unicode = WXK_NONE) {
        wxKeyEvent key(type);
        key.m_keyCode = keyCode;
        if (unicode == WXK_NONE && keyCode > 0 && keyCode < 0x80) {
            unicode = static_cast<wxChar>(keyCode);
        }
        key.m_uniChar = unicode;
        key.SetControlDown(ctrl);
        key.SetRawControlDown(ctrl);
        key.SetEventObject(&Text());
        Text().GetEventHandler()->ProcessEvent(key);
        return key.GetSkipped();
    }
    bool Press(int keyCode, bool ctrl = false) {
        bool skipped = Key(wxEVT_KEY_DOWN, keyCode, ctrl);
        RunPending();
        return skipped;
    }

  private:
    TempDir m_dir;
    MessageBoxRecorder m_boxes;
    ScopedMessageBoxUi m_boxScope{m_boxes};
    std::unique_ptr<CEKViewApp> m_app;
    CEKContentView* m_content = nullptr;
    bool m_started = false;
};

std::string ColourProfile(const std::string& quote) {
    char text[256];
    std::snprintf(text, sizeof text, "[Settings]\nQuote=%s\nQuoteClr=%u\nMailClr=%u\nHttpClr=%u\n",
                  quote.c_str(), kQuoteColour, kMailColour, kUrlColour);
    return text;
}

wxTextAttr StyleAt(wxTextCtrl& text, long position) {
    wxTextAttr attr;
    EXPECT_TRUE(text.GetStyle(position, attr)) << "at " << position;
    return attr;
}

// The position of `utf8` in the control's text; fails the test when it is missing.
long Find(wxTextCtrl& text, const char* utf8) {
    int found = text.GetValue().Find(wxString::FromUTF8(utf8));
    EXPECT_NE(found, wxNOT_FOUND) << utf8;
    return found;
}

// Records the progress windows made while it is installed.
class CountingProgressUi : public ProgressUi {
  public:
    explicit CountingProgressUi(ProgressUi& real) : m_real(real) {}
    bool HasOwner() const override { return m_real.HasOwner(); }
    bool IsOwnerEnabled() const override { return m_real.IsOwnerEnabled(); }
    void EnableOwner(bool enable) override { m_real.EnableOwner(enable); }
    std::unique_ptr<ProgressWindow> CreateProgressWindow(CProgressDlg& dialog) override {
        ++created;
        return std::make_unique<Window>(m_real.CreateProgressWindow(dialog), captions);
    }

    int created = 0;
    std::vector<std::string> captions;

  private:
    class Window : public ProgressWindow {
      public:
        Window(std::unique_ptr<ProgressWindow> real, std::vector<std::string>& captions)
            : m_real(std::move(real)), m_captions(captions) {}
        void SetCaption(const std::string& utf8) override {
            m_captions.push_back(utf8);
            m_real->SetCaption(utf8);
        }
        void SetBarRange(int lower, int upper) override { m_real->SetBarRange(lower, upper); }
        int SetBarPosition(int position) override { return m_real->SetBarPosition(position); }
        std::string GetPercentText() const override { return m_real->GetPercentText(); }
        void SetPercentText(const std::string& text) override { m_real->SetPercentText(text); }
        void PumpPendingMessages() override { m_real->PumpPendingMessages(); }

      private:
        std::unique_ptr<ProgressWindow> m_real;
        std::vector<std::string>& m_captions;
    };
    ProgressUi& m_real;
};

class FontAnswer : public CommonDialogsUi {
  public:
    std::optional<wxFont> ChooseFont(wxWindow*, const wxFont& initial) override {
        initialSize = initial.GetFractionalPointSize();
        return answer;
    }
    std::optional<wxColour> ChooseColour(wxWindow*, const wxColour&) override {
        return std::nullopt;
    }
    std::optional<wxFont> answer;
    double initialSize = 0;
};

const char kJapaneseHeader[] =
    "From: 山田 太郎 <taro@example.jp>\n"
    "Subject: 打ち合わせ資料\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\n";
const char kJapaneseBody[] =
    "preamble\n"
    "--b1\n"
    "Content-Type: text/plain\n"
    "\n"
    "資料はhttp://www.example.jp/doc.html資料です\n"
    "＞ 引用された行です\n"
    "連絡先：山田taro@example.jp まで\n"
    "--b1\n"
    "Content-Type: application/octet-stream\n"
    "\n"
    "AAAA\n"
    "--b1--\n";

TEST(ContentViewTest, ColoursAndBoldLandOnTheirCharactersOfAJapaneseMessage) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, kJapaneseHeader, kJapaneseBody), ColourProfile("＞ >"));
    ASSERT_TRUE(run.Started());
    run.OpenMessage();
    wxTextCtrl& text = run.Text();
    const wxColour url = ToColour(kUrlColour);
    const wxColour mail = ToColour(kMailColour);
    const wxColour quote = ToColour(kQuoteColour);
    const wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);

    // The first part's own header and the second part are cut; the note ends the text.
    EXPECT_EQ(text.GetValue().Find("preamble"), wxNOT_FOUND);
    EXPECT_EQ(text.GetValue().Find("AAAA"), wxNOT_FOUND);
    EXPECT_TRUE(text.GetValue().EndsWith(wxString::FromUTF8("\n(添付ファイルがあります)")));

    long from = Find(text, "From: 山田");
    for (long p = from; p < from + 5; ++p) {
        wxTextAttr attr = StyleAt(text, p);
        EXPECT_EQ(attr.GetFontWeight(), wxFONTWEIGHT_BOLD) << "at " << p;
        EXPECT_EQ(attr.GetFontFaceName(), run.Content().GetTextFont().GetFaceName());
    }
    EXPECT_NE(StyleAt(text, from + 5).GetFontWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_NE(StyleAt(text, from + 6).GetFontWeight(), wxFONTWEIGHT_BOLD);

    long address = Find(text, "http://www.example.jp/doc.html");
    long addressEnd = address + 30;
    EXPECT_NE(StyleAt(text, address - 1).GetTextColour(), url);
    EXPECT_EQ(StyleAt(text, address).GetTextColour(), url);
    EXPECT_EQ(StyleAt(text, addressEnd - 1).GetTextColour(), url);
    EXPECT_NE(StyleAt(text, addressEnd).GetTextColour(), url);

    long quoted = Find(text, "＞ 引用された行です");
    for (long p = quoted; p <= quoted + 10; ++p) {
        EXPECT_EQ(StyleAt(text, p).GetTextColour(), quote) << "at " << p;
    }
    EXPECT_NE(StyleAt(text, quoted + 11).GetTextColour(), quote);

    // The second byte of "田" is the letter c: the address takes the whole character.
    long mailAt = Find(text, "taro@example.jp まで");
    EXPECT_NE(StyleAt(text, mailAt - 2).GetTextColour(), mail);
    EXPECT_EQ(StyleAt(text, mailAt - 1).GetTextColour(), mail);
    EXPECT_EQ(StyleAt(text, mailAt).GetTextColour(), mail);
    EXPECT_EQ(StyleAt(text, mailAt + 14).GetTextColour(), mail);
    EXPECT_NE(StyleAt(text, mailAt + 15).GetTextColour(), mail);

    long note = Find(text, "(添付ファイルがあります)");
    EXPECT_NE(StyleAt(text, note - 1).GetTextColour(), grey);
    EXPECT_EQ(StyleAt(text, note).GetTextColour(), grey);
    EXPECT_EQ(StyleAt(text, text.GetLastPosition() - 1).GetTextColour(), grey);

    // The caret at the top.
    long selFrom = -1;
    long selTo = -1;
    text.GetSelection(&selFrom, &selTo);
    EXPECT_EQ(selFrom, 0);
    EXPECT_EQ(selTo, 0);
    EXPECT_EQ(run.Content().GetFirstVisibleLine(), 0);
}

TEST(ContentViewTest, ProgressDialogOnlyAboveThreeHundredLines) {
    EKVIEW_REQUIRE_DISPLAY();
    // All header lines: the start and status lines, Date, Subject, then the blank line.
    ContentRun run(Message(0, "Subject: a\n", Lines(295, "line ")) +
                   Message(1, "Subject: b\n", Lines(296, "line ")));
    ASSERT_TRUE(run.Started());
    for (int index : {0, 1}) {
        std::vector<std::string> lines;
        ASSERT_TRUE(run.Doc().GetMessageLines(index, lines, true));
        ASSERT_EQ(lines.size(), 300u + static_cast<unsigned>(index));
    }
    ProgressUi* real = run.Doc().GetProgressUi();
    CountingProgressUi counting(*real);
    run.Doc().SetProgressUi(&counting);

    run.Content().ShowMessage(0);
    EXPECT_EQ(counting.created, 0);
    EXPECT_TRUE(run.Text().GetValue().EndsWith("line 294\n"));

    run.Content().ShowMessage(1);
    EXPECT_EQ(counting.created, 1);
    EXPECT_EQ(counting.captions.back(), "メール整形中...");
    EXPECT_TRUE(run.Text().GetValue().EndsWith("line 295\n"));
    EXPECT_TRUE(run.Frame().IsEnabled());
    run.Doc().SetProgressUi(real);
}

TEST(ContentViewTest, HeaderSwitchShortAndAllWithItsCheckMark) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0,
                           "Subject: s\nX-Mailer: m\nFrom: a@example.jp\n\tcontinued\n"
                           "TO: upper@example.jp\nTo: b@example.jp\n",
                           "body\n"));
    ASSERT_TRUE(run.Started());
    EXPECT_FALSE(run.Frame().QueryCommand(ID_VIEW_ALLHEADER).IsEnabled());
    run.OpenMessage();
    // Without a "Header" value all header lines are shown.
    CCmdUI ui = run.Frame().QueryCommand(ID_VIEW_ALLHEADER);
    EXPECT_TRUE(ui.IsEnabled());
    EXPECT_EQ(ui.GetCheck(), 1);
    EXPECT_TRUE(run.Text().GetValue().StartsWith("From - Mon Apr 03 09:00:00 2000\n"));
    EXPECT_NE(run.Text().GetValue().Find("X-Mailer: m"), wxNOT_FOUND);

    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_ALLHEADER));
    EXPECT_EQ(run.Frame().QueryCommand(ID_VIEW_ALLHEADER).GetCheck(), 0);
    EXPECT_EQ(run.Text().GetValue(),
              "Date: Mon, 03 Apr 2000 09:00:00 +0900\nSubject: s\n"
              "From: a@example.jp\nTo: b@example.jp\n\nbody\n");

    // Without a current message only the check mark changes.
    run.Doc().m_nCurrent = -1;
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_ALLHEADER));
    EXPECT_EQ(run.Frame().QueryCommand(ID_VIEW_ALLHEADER).GetCheck(), 1);
    EXPECT_TRUE(run.Text().GetValue().StartsWith("Date: "));
    run.Doc().m_nCurrent = 0;
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_ALLHEADER));
    run.Close();
    EXPECT_EQ(WxProfileStore(run.ProfilePath()).GetProfileInt("Settings", "Header", -1), 0);
}

TEST(ContentViewTest, SpacePagesThenMovesToTheNextMessageAndStopsAtTheLast) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: long\n", Lines(400, "long ")) +
                   Message(1, "Subject: short\n", "short body\n"));
    ASSERT_TRUE(run.Started());
    run.OpenMessage();
    ASSERT_EQ(run.Doc().m_nCurrent, 0);

    long previousTop = run.Content().GetFirstVisibleLine();
    int spaces = 0;
    while (run.Doc().m_nCurrent == 0 && spaces < 100) {
        run.Press(WXK_SPACE);
        ++spaces;
        if (run.Doc().m_nCurrent == 0) {
            EXPECT_GT(run.Content().GetFirstVisibleLine(), previousTop) << "Space " << spaces;
            previousTop = run.Content().GetFirstVisibleLine();
        }
    }
    EXPECT_EQ(run.Doc().m_nCurrent, 1);
    EXPECT_GT(spaces, 2);
    EXPECT_TRUE(run.Text().GetValue().EndsWith("short body\n"));
    EXPECT_EQ(run.Content().GetFirstVisibleLine(), 0);

    // A message that fits moves on at once; after the last one nothing happens.
    run.Press(WXK_SPACE);
    EXPECT_EQ(run.Doc().m_nCurrent, 1);
    EXPECT_TRUE(run.Text().GetValue().EndsWith("short body\n"));
}

TEST(ContentViewTest, ReadingKeysScrollAndReturnButTypedCharactersChangeNothing) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: keys\n", Lines(200, "row ")));
    ASSERT_TRUE(run.Started());
    run.OpenMessage();
    CEKContentView& content = run.Content();
    const wxString shown = run.Text().GetValue();

    for (int key : {'a', 'N', ' ', '1', '~'}) {
        EXPECT_FALSE(run.Key(wxEVT_CHAR, key)) << "char " << key;
    }
    EXPECT_FALSE(run.Key(wxEVT_CHAR, WXK_NONE, false, 0x3042));
    for (int key : {WXK_DOWN, WXK_PAGEDOWN, WXK_HOME, WXK_TAB}) {
        EXPECT_TRUE(run.Key(wxEVT_CHAR, key)) << "char " << key;
    }
    // Key presses that type are kept from the control; the others reach it.
    EXPECT_FALSE(run.Key(wxEVT_KEY_DOWN, 'X'));
    EXPECT_TRUE(run.Key(wxEVT_KEY_DOWN, 'C', true));
    EXPECT_TRUE(run.Key(wxEVT_KEY_DOWN, WXK_DOWN));
    RunPending();
    EXPECT_EQ(run.Text().GetValue(), shown);
    EXPECT_EQ(content.GetFirstVisibleLine(), 0);

    EXPECT_FALSE(run.Press('J'));
    EXPECT_EQ(content.GetFirstVisibleLine(), 1);
    run.Press(WXK_DOWN, true);
    EXPECT_EQ(content.GetFirstVisibleLine(), 2);
    run.Press(WXK_DOWN);
    EXPECT_EQ(content.GetFirstVisibleLine(), 2);
    run.Press('K');
    EXPECT_EQ(content.GetFirstVisibleLine(), 1);
    run.Press(WXK_UP, true);
    run.Press(WXK_UP, true);
    EXPECT_EQ(content.GetFirstVisibleLine(), 0);

    run.Press(WXK_RETURN);
    EXPECT_TRUE(run.Frame().IsListShown());
    EXPECT_EQ(run.Doc().m_nCurrent, 0);
}

TEST(ContentViewTest, CopyIsEnabledOnlyWithASelection) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: copy\n", "some text\n"));
    ASSERT_TRUE(run.Started());
    EXPECT_FALSE(run.Frame().QueryCommand(ID_EDIT_COPY).IsEnabled());
    run.OpenMessage();
    EXPECT_FALSE(run.Frame().QueryCommand(ID_EDIT_COPY).IsEnabled());
    EXPECT_FALSE(run.Frame().ExecuteCommand(ID_EDIT_COPY));
    run.Text().SetSelection(0, 4);
    EXPECT_TRUE(run.Frame().QueryCommand(ID_EDIT_COPY).IsEnabled());
    EXPECT_TRUE(run.Frame().ExecuteCommand(ID_EDIT_COPY));
}

TEST(ContentViewTest, FontDialogStoresWholePointsAndKeepsTheFormatting) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: font\n", "see http://example.jp/ now\n"),
                   ColourProfile(""));
    ASSERT_TRUE(run.Started());
    // The stored size and face by default, and what the pane makes of them.
    EXPECT_EQ(run.Content().GetFontHeight(), 200);
    EXPECT_EQ(run.Content().GetFaceName(), "ＭＳ 明朝");
    run.OpenMessage();

    FontAnswer answer;
    ScopedCommonDialogsUi scope(answer);
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_FONT));
    EXPECT_DOUBLE_EQ(answer.initialSize, 10.0);
    EXPECT_EQ(run.Content().GetFontHeight(), 200);

    answer.answer = wxFont(wxFontInfo(10.5).FaceName("IPAGothic"));
    run.Text().SetSelection(2, 6);
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_FONT));
    EXPECT_EQ(run.Content().GetFontHeight(), 200);
    EXPECT_EQ(run.Content().GetFaceName(), "IPAGothic");
    long selFrom = 0;
    long selTo = 0;
    run.Text().GetSelection(&selFrom, &selTo);
    EXPECT_EQ(selFrom, 2);
    EXPECT_EQ(selTo, 6);

    wxTextCtrl& text = run.Text();
    long subject = Find(text, "Subject:");
    EXPECT_EQ(StyleAt(text, subject).GetFontWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(StyleAt(text, subject).GetFontFaceName(), "IPAGothic");
    EXPECT_EQ(StyleAt(text, Find(text, "http://")).GetTextColour(), ToColour(kUrlColour));

    answer.answer = wxFont(wxFontInfo(12).FaceName("IPAMincho"));
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_FONT));
    run.Close();
    WxProfileStore profile(run.ProfilePath());
    EXPECT_EQ(profile.GetProfileString("Settings", "CFont", ""), "240:IPAMincho");
    EXPECT_EQ(profile.GetProfileInt("Settings", "Header", -1), 1);
}

TEST(ContentViewTest, StoredFontAndHeaderSwitchAreReadAtCreation) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: s\nX-Other: o\n", "body\n"),
                   "[Settings]\nCFont=240:\nHeader=0\n");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Content().GetFontHeight(), 240);
    EXPECT_EQ(run.Content().GetFaceName(), "ＭＳ 明朝");
    EXPECT_DOUBLE_EQ(run.Content().GetTextFont().GetFractionalPointSize(), 12.0);
    EXPECT_FALSE(run.Content().IsAllHeaders());
    run.OpenMessage();
    EXPECT_EQ(run.Text().GetValue().Find("X-Other"), wxNOT_FOUND);
    run.Close();
    EXPECT_EQ(WxProfileStore(run.ProfilePath()).GetProfileString("Settings", "CFont", ""),
              "240:ＭＳ 明朝");
}

}  // namespace
}  // namespace ek::test
