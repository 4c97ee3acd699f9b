#include <wx/clipbrd.h>
#include <wx/evtloop.h>
#include <wx/settings.h>
#include <wx/stc/stc.h>

#include <cstdio>

#include "GuiTestSupport.h"
#include "core/platform/Cp932Encode.h"
#include "core/platform/ProgressDlg.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxColour.h"
#include "gui/platform/WxProfileStore.h"
#include "gui/views/ContentView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

constexpr settings::ColorRef kUrlColour = settings::MakeColor(200, 0, 0);
constexpr settings::ColorRef kMailColour = settings::MakeColor(0, 150, 0);
constexpr settings::ColorRef kQuoteColour = settings::MakeColor(0, 0, 220);

// One message of a mailbox, written in UTF-8 and stored in CP932; `minute` orders it.
std::string Message(int minute, const std::string& header, const std::string& body) {
    return MinuteMessage(minute, header, body);
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
class ContentRun : public ProgramRun {
  public:
    explicit ContentRun(const std::string& mailbox, const std::string& profileText = {})
        : ProgramRun(MailboxSetup(mailbox, Pane::Real, Pane::Stub, profileText)) {}

    wxStyledTextCtrl& Text() { return *ContentView().GetTextCtrl(); }

    // Brings the text pane up with the current message, as Enter on a row does.
    void OpenMessage() { Command(ID_VIEW_CONTENT); }

    // A key as the control reports it; true when it is left unhandled, for the
    // toolkit (menus, input method) to take. Character events carry `unicode`, or
    // the key code of an ASCII key.
    bool Key(wxEventType type, int keyCode, bool ctrl = false, wxChar unicode = WXK_NONE,
             bool alt = false) {
        wxKeyEvent key(type);
        key.m_keyCode = keyCode;
        if (unicode == WXK_NONE && keyCode > 0 && keyCode < 0x80) {
            unicode = static_cast<wxChar>(keyCode);
        }
        key.m_uniChar = unicode;
        key.SetControlDown(ctrl);
        key.SetRawControlDown(ctrl);
        key.SetAltDown(alt);
        key.SetEventObject(&Text());
        Text().GetEventHandler()->ProcessEvent(key);
        return key.GetSkipped();
    }
    bool Press(int keyCode, bool ctrl = false) {
        bool skipped = Key(wxEVT_KEY_DOWN, keyCode, ctrl);
        RunPending();
        return skipped;
    }
};

std::string ColourProfile(const std::string& quote) {
    char text[256];
    std::snprintf(text, sizeof text, "[Settings]\nQuote=%s\nQuoteClr=%u\nMailClr=%u\nHttpClr=%u\n",
                  quote.c_str(), kQuoteColour, kMailColour, kUrlColour);
    return text;
}

// How the control draws one character: its style's colour, weight and face.
struct Look {
    wxColour colour;
    bool bold = false;
    wxString face;
};

// The control's position of the character at `index` of its text.
int PositionOfCharacter(wxStyledTextCtrl& text, long index) {
    return text.PositionRelative(0, static_cast<int>(index));
}

// The look of the character at `index`, as the last paint styled it.
Look StyleAt(wxStyledTextCtrl& text, long index) {
    const int style = text.GetStyleAt(PositionOfCharacter(text, index));
    return {text.StyleGetForeground(style), text.StyleGetBold(style), text.StyleGetFaceName(style)};
}

// Repaints the control, which styles what it shows, and waits for the paint.
void Paint(wxStyledTextCtrl& text) {
    bool painted = false;
    auto onPainted = [&painted](wxStyledTextEvent& event) {
        painted = true;
        event.Skip();
    };
    text.Bind(wxEVT_STC_PAINTED, onPainted);
    text.Refresh();
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    for (int wait = 0; wait < 200 && !painted; ++wait) {
        text.Update();
        RunPending();
        if (!painted) {
            loop.DispatchTimeout(10);
        }
    }
    EXPECT_TRUE(text.Unbind(wxEVT_STC_PAINTED, onPainted));
    EXPECT_TRUE(painted) << "the control was never painted";
}

// The index of `utf8` among the characters of the control's text; fails the test
// when it is missing.
long Find(wxStyledTextCtrl& text, const char* utf8) {
    int found = text.GetValue().Find(wxString::FromUTF8(utf8));
    EXPECT_NE(found, wxNOT_FOUND) << utf8;
    return found;
}

long CharacterCount(wxStyledTextCtrl& text) {
    return static_cast<long>(text.GetValue().length());
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
        return std::make_unique<Window>(m_real.CreateProgressWindow(dialog), captions, positions);
    }

    int created = 0;
    std::vector<std::string> captions;
    std::vector<int> positions;

  private:
    class Window : public ProgressWindow {
      public:
        Window(std::unique_ptr<ProgressWindow> real, std::vector<std::string>& captions,
               std::vector<int>& positions)
            : m_real(std::move(real)), m_captions(captions), m_positions(positions) {}
        void SetCaption(const std::string& utf8) override {
            m_captions.push_back(utf8);
            m_real->SetCaption(utf8);
        }
        void SetBarRange(int lower, int upper) override { m_real->SetBarRange(lower, upper); }
        int SetBarPosition(int position) override {
            m_positions.push_back(position);
            return m_real->SetBarPosition(position);
        }
        std::string GetPercentText() const override { return m_real->GetPercentText(); }
        void SetPercentText(const std::string& text) override { m_real->SetPercentText(text); }
        void PumpPendingMessages() override { m_real->PumpPendingMessages(); }

      private:
        std::unique_ptr<ProgressWindow> m_real;
        std::vector<std::string>& m_captions;
        std::vector<int>& m_positions;
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
    wxStyledTextCtrl& text = run.Text();
    Paint(text);
    // The whole message is on the screen: the paint styled all of it.
    ASSERT_EQ(text.GetEndStyled(), text.GetLength());
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
        Look look = StyleAt(text, p);
        EXPECT_TRUE(look.bold) << "at " << p;
        EXPECT_EQ(look.face, run.ContentView().GetTextFont().GetFaceName());
    }
    EXPECT_FALSE(StyleAt(text, from + 5).bold);
    EXPECT_FALSE(StyleAt(text, from + 6).bold);

    long address = Find(text, "http://www.example.jp/doc.html");
    long addressEnd = address + 30;
    EXPECT_NE(StyleAt(text, address - 1).colour, url);
    EXPECT_EQ(StyleAt(text, address).colour, url);
    EXPECT_EQ(StyleAt(text, addressEnd - 1).colour, url);
    EXPECT_NE(StyleAt(text, addressEnd).colour, url);

    long quoted = Find(text, "＞ 引用された行です");
    for (long p = quoted; p <= quoted + 10; ++p) {
        EXPECT_EQ(StyleAt(text, p).colour, quote) << "at " << p;
    }
    EXPECT_NE(StyleAt(text, quoted + 11).colour, quote);

    // The second byte of "田" is the letter c: the address takes the whole character.
    long mailAt = Find(text, "taro@example.jp まで");
    EXPECT_NE(StyleAt(text, mailAt - 2).colour, mail);
    EXPECT_EQ(StyleAt(text, mailAt - 1).colour, mail);
    EXPECT_EQ(StyleAt(text, mailAt).colour, mail);
    EXPECT_EQ(StyleAt(text, mailAt + 14).colour, mail);
    EXPECT_NE(StyleAt(text, mailAt + 15).colour, mail);

    long note = Find(text, "(添付ファイルがあります)");
    EXPECT_NE(StyleAt(text, note - 1).colour, grey);
    EXPECT_EQ(StyleAt(text, note).colour, grey);
    EXPECT_EQ(StyleAt(text, CharacterCount(text) - 1).colour, grey);

    // The caret at the top.
    long selFrom = -1;
    long selTo = -1;
    text.GetSelection(&selFrom, &selTo);
    EXPECT_EQ(selFrom, 0);
    EXPECT_EQ(selTo, 0);
    EXPECT_EQ(run.ContentView().GetFirstVisibleLine(), 0);
}

// The control styles what it paints: a long message is styled a screen at a time,
// also where the view jumps to, and what it jumped past is styled once it shows.
TEST(ContentViewTest, StylesFollowThePaintedLinesOfALongMessage) {
    EKVIEW_REQUIRE_DISPLAY();
    ContentRun run(Message(0, "Subject: long\n", Lines(20000, "行 http://example.jp/")),
                   ColourProfile(""));
    ASSERT_TRUE(run.Started());
    run.OpenMessage();
    wxStyledTextCtrl& text = run.Text();
    Paint(text);
    ASSERT_GT(text.GetLength(), 400000);
    EXPECT_LT(text.GetEndStyled(), text.GetLength() / 10) << "styled far beyond the screen";
    const wxColour url = ToColour(kUrlColour);

    // The line's character index of its address, checked where the view is.
    auto checkLine = [&](int line) {
        SCOPED_TRACE("line " + std::to_string(line));
        const wxString lineText = text.GetLine(line);
        const int address = lineText.Find("http://");
        ASSERT_NE(address, wxNOT_FOUND);
        const long lineStart =
            static_cast<long>(text.GetTextRange(0, text.PositionFromLine(line)).length());
        EXPECT_NE(StyleAt(text, lineStart + address - 1).colour, url);
        EXPECT_EQ(StyleAt(text, lineStart + address).colour, url);
        EXPECT_EQ(StyleAt(text, lineStart + static_cast<long>(lineText.length()) - 2).colour, url);
    };
    const int last = text.GetLineCount() - 2;
    text.SetFirstVisibleLine(last);
    Paint(text);
    checkLine(last);
    const int middle = last / 2;
    EXPECT_EQ(text.GetStyleAt(text.PositionFromLine(middle) + 5), 0) << "styled before it showed";
    text.SetFirstVisibleLine(middle);
    Paint(text);
    checkLine(middle);
    checkLine(middle + 3);
    // Back at the top, nothing was lost.
    text.SetFirstVisibleLine(0);
    Paint(text);
    checkLine(5);
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

    run.ContentView().ShowMessage(0);
    EXPECT_EQ(counting.created, 0);
    EXPECT_TRUE(run.Text().GetValue().EndsWith("line 294\n"));

    run.ContentView().ShowMessage(1);
    EXPECT_EQ(counting.created, 1);
    EXPECT_EQ(counting.captions.back(), "メール整形中...");
    // The bar starts at 0 and shows (100 × i) / 301 after line i: every percentage from
    // 0 to 99, in order.
    std::vector<int> expected = {0};
    for (int percent = 0; percent < 100; ++percent) {
        expected.push_back(percent);
    }
    EXPECT_EQ(counting.positions, expected);
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

    long previousTop = run.ContentView().GetFirstVisibleLine();
    int spaces = 0;
    while (run.Doc().m_nCurrent == 0 && spaces < 100) {
        run.Press(WXK_SPACE);
        ++spaces;
        if (run.Doc().m_nCurrent == 0) {
            EXPECT_GT(run.ContentView().GetFirstVisibleLine(), previousTop) << "Space " << spaces;
            previousTop = run.ContentView().GetFirstVisibleLine();
        }
    }
    EXPECT_EQ(run.Doc().m_nCurrent, 1);
    EXPECT_GT(spaces, 2);
    EXPECT_TRUE(run.Text().GetValue().EndsWith("short body\n"));
    EXPECT_EQ(run.ContentView().GetFirstVisibleLine(), 0);

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
    CEKContentView& content = run.ContentView();
    const wxString shown = run.Text().GetValue();

    for (int key : {'a', 'N', ' ', '1', '~'}) {
        EXPECT_FALSE(run.Key(wxEVT_CHAR, key)) << "char " << key;
    }
    EXPECT_FALSE(run.Key(wxEVT_CHAR, WXK_NONE, false, 0x3042));
    for (int key : {WXK_DOWN, WXK_PAGEDOWN, WXK_HOME}) {
        EXPECT_TRUE(run.Key(wxEVT_CHAR, key)) << "char " << key;
    }
    run.Key(wxEVT_CHAR, WXK_TAB);
    run.Key(wxEVT_KEY_DOWN, WXK_TAB);
    // Alt and a letter is a menu's mnemonic: left for the menu bar.
    EXPECT_TRUE(run.Key(wxEVT_CHAR, 'f', false, WXK_NONE, true));
    EXPECT_TRUE(run.Key(wxEVT_KEY_DOWN, 'F', false, WXK_NONE, true));
    // Key presses that type are kept from the control; the others reach it.
    EXPECT_FALSE(run.Key(wxEVT_KEY_DOWN, 'X'));
    run.Text().SetSelection(0, 4);
    if (wxTheClipboard->Open()) {
        wxTheClipboard->Clear();
        wxTheClipboard->Close();
    }
    run.Key(wxEVT_KEY_DOWN, 'C', true);
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_TRUE(wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), shown.Left(4));
    run.Text().SetEmptySelection(0);
    run.Key(wxEVT_KEY_DOWN, WXK_DOWN);
    RunPending();
    EXPECT_EQ(run.Text().GetCurrentLine(), 1) << "the arrow moves the caret";
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

    // The size is the font's: Ctrl and the wheel or the keypad keys do not zoom.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetControlDown(true);
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.SetEventObject(&run.Text());
    run.Text().GetEventHandler()->ProcessEvent(wheel);
    run.Key(wxEVT_KEY_DOWN, WXK_NUMPAD_ADD, true);
    RunPending();
    EXPECT_EQ(run.Text().GetZoom(), 0);

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
    EXPECT_EQ(run.ContentView().GetFontHeight(), 200);
    EXPECT_EQ(run.ContentView().GetFaceName(), "ＭＳ 明朝");
    run.OpenMessage();

    FontAnswer answer;
    ScopedCommonDialogsUi scope(answer);
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_FONT));
    EXPECT_DOUBLE_EQ(answer.initialSize, 10.0);
    EXPECT_EQ(run.ContentView().GetFontHeight(), 200);

    answer.answer = wxFont(wxFontInfo(10.5).FaceName("IPAGothic"));
    run.Text().SetSelection(2, 6);
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_FONT));
    EXPECT_EQ(run.ContentView().GetFontHeight(), 200);
    EXPECT_EQ(run.ContentView().GetFaceName(), "IPAGothic");
    long selFrom = 0;
    long selTo = 0;
    run.Text().GetSelection(&selFrom, &selTo);
    EXPECT_EQ(selFrom, 2);
    EXPECT_EQ(selTo, 6);

    wxStyledTextCtrl& text = run.Text();
    Paint(text);
    long subject = Find(text, "Subject:");
    EXPECT_TRUE(StyleAt(text, subject).bold);
    EXPECT_EQ(StyleAt(text, subject).face, "IPAGothic");
    EXPECT_DOUBLE_EQ(text.StyleGetSizeFractional(StyleOfRun(RunColour::None, false)) / 100.0, 10.0);
    EXPECT_EQ(StyleAt(text, Find(text, "http://")).colour, ToColour(kUrlColour));

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
    EXPECT_EQ(run.ContentView().GetFontHeight(), 240);
    EXPECT_EQ(run.ContentView().GetFaceName(), "ＭＳ 明朝");
    EXPECT_DOUBLE_EQ(run.ContentView().GetTextFont().GetFractionalPointSize(), 12.0);
    EXPECT_FALSE(run.ContentView().IsAllHeaders());
    run.OpenMessage();
    EXPECT_EQ(run.Text().GetValue().Find("X-Other"), wxNOT_FOUND);
    run.Close();
    EXPECT_EQ(WxProfileStore(run.ProfilePath()).GetProfileString("Settings", "CFont", ""),
              "240:ＭＳ 明朝");
}

}  // namespace
}  // namespace ek::test
