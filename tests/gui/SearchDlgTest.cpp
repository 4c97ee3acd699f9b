// The search window on the real frame and panes: results in list order with their
// count, a result selected moving the current message in the current list, Enter
// showing it, a newer query replacing the one under way, refused queries, and the
// lists as they were when the window closes.
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>

#include "GuiTestSupport.h"
#include "frame/SearchDlg.h"
#include "frame/SearchResultsCtrl.h"
#include "res/Resource.h"
#include "tests/TestSupport.h"
#include "views/ContentView.h"
#include "views/ThreadView.h"
#include "views/TitleView.h"

namespace ek::test {
namespace {

constexpr long kSelectedFocused = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
constexpr int kMessages = 30;

// Message i is dated day i + 1, so index i is message i; every fifth holds "needle"
// in its body, every third replies to the message before it.
std::string Mailbox(const std::string& word) {
    std::string box;
    for (int i = 0; i < kMessages; ++i) {
        std::string day = std::to_string(1 + i);
        std::vector<std::string> header = {"Date: Sun, " + day + " Jan 2000 10:00:00",
                                           "From: Sender " + day + " <s@example.jp>",
                                           "Subject: item " + day, "Message-Id: <m" + day + ">"};
        if (i % 3 == 2) {
            header.push_back("In-Reply-To: <m" + std::to_string(i) + ">");
        }
        std::string body = i % 5 == 0 ? "a " + word + " here" : "hay";
        box += test::kStart + "\n" + test::kStatus + "\n";
        for (const std::string& line : header) {
            box += line + "\n";
        }
        box += "\n" + body + "\n";
    }
    return box;
}

class SearchRunFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        WriteFile(m_dir.File("a.mbx"), Mailbox("needle"));
        WriteFile(m_dir.File("b.mbx"), Mailbox("other"));
        CEKViewApp::Options options;
        options.profilePath = m_dir.File("EKView.conf");
        options.panes.createContent = [this](CMainFrame& frame, wxWindow* parent) {
            m_content = new CEKContentView(frame, parent);
            return m_content;
        };
        options.panes.createThread = [this](CMainFrame& frame, wxWindow* parent) {
            m_thread = new CEKThreadView(frame, parent);
            return m_thread;
        };
        m_app = std::make_unique<CEKViewApp>(std::move(options));
        ASSERT_TRUE(m_app->InitInstance(ParseCommandLine({m_dir.File("a.mbx")})));
        RunPending();
        ASSERT_EQ(Doc().GetMessageCount(), kMessages);
    }
    void TearDown() override {
        if (m_app != nullptr) {
            Frame().Close();
            RunPending();
            m_app->ExitInstance();
        }
    }

    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CEKViewDoc& Doc() { return m_app->GetDocManager().GetDocument(); }
    CSearchDlg& Dlg() { return *Frame().GetSearchDlg(); }
    CSearchResultsCtrl& Results() { return *Dlg().ResultsCtrl(); }

    void OpenWindow() {
        ASSERT_TRUE(Frame().ExecuteCommand(ID_MAIL_SEARCH));
        ASSERT_NE(Frame().GetSearchDlg(), nullptr);
        ASSERT_TRUE(Dlg().IsShown());
    }
    // Types the query and presses Enter in it.
    void Search(const std::string& utf8, int fieldChoice = 0) {
        Dlg().FieldCtrl()->SetSelection(fieldChoice);
        Dlg().QueryCtrl()->ChangeValue(wxString::FromUTF8(utf8));
        wxCommandEvent enter(wxEVT_TEXT_ENTER, Dlg().QueryCtrl()->GetId());
        enter.SetEventObject(Dlg().QueryCtrl());
        Dlg().QueryCtrl()->GetEventHandler()->ProcessEvent(enter);
    }
    // Lets the window's idle work run until its search has finished.
    void Finish() {
        // The workers' results arrive through the event queue.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Dlg().Run().Running() && std::chrono::steady_clock::now() < end) {
            RunPending();
            wxMilliSleep(2);
        }
        RunPending();
        ASSERT_FALSE(Dlg().Run().Running());
    }
    std::vector<int> ShownResults() {
        std::vector<int> shown;
        for (long row = 0; row < Results().GetItemCount(); ++row) {
            shown.push_back(Results().MessageOfRow(row));
        }
        return shown;
    }
    void ChooseResult(long row) {
        Results().SetItemState(row, kSelectedFocused, kSelectedFocused);
        RunPending();
    }
    // Enter in the results, into the window that holds their rows.
    void ResultsEnter() {
        wxWindow* rows = &Results();
        for (wxWindow* child : Results().GetChildren()) {
            if (rows == &Results() || child->GetSize().y > rows->GetSize().y) {
                rows = child;
            }
        }
        for (wxEventType type : {wxEVT_KEY_DOWN, wxEVT_CHAR}) {
            wxKeyEvent key(type);
            key.m_keyCode = WXK_RETURN;
            key.SetEventObject(rows);
            rows->GetEventHandler()->ProcessEvent(key);
        }
        RunPending();
    }
    long SelectedRow(wxListCtrl& list) {
        return list.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    }

    TempDir m_dir;
    std::unique_ptr<CEKViewApp> m_app;
    CEKContentView* m_content = nullptr;
    CEKThreadView* m_thread = nullptr;
};

const std::vector<int> kNeedles = {0, 5, 10, 15, 20, 25};

// Handles events until `done` holds or five seconds have passed.
template <typename Condition>
bool WaitFor(Condition done) {
    for (int round = 0; round < 1000; ++round) {
        if (done()) {
            return true;
        }
        RunPending();
        wxMilliSleep(5);
    }
    return done();
}

TEST_F(SearchRunFixture, TheMailMenuAndCtrlShiftFOpenTheWindow) {
    wxMenu* mail = Frame().GetMenuBar()->GetMenu(3);
    ASSERT_EQ(mail->GetMenuItemCount(), 4u);
    EXPECT_EQ(mail->FindItemByPosition(0)->GetId(), WxId(ID_MAIL_NEXT));
    EXPECT_EQ(mail->FindItemByPosition(1)->GetId(), WxId(ID_MAIL_PREV));
    EXPECT_TRUE(mail->FindItemByPosition(2)->IsSeparator());
    wxMenuItem* item = mail->FindItemByPosition(3);
    EXPECT_EQ(item->GetId(), WxId(ID_MAIL_SEARCH));
    EXPECT_EQ(item->GetItemLabel(), wxString::FromUTF8("メールを検索(&S)...\tCtrl+Shift+F"));

    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = 'F';
    key.m_controlDown = true;
    key.m_shiftDown = true;
    int command = Frame().GetAcceleratorTable()->GetCommand(key);
    ASSERT_EQ(command, WxId(ID_MAIL_SEARCH));
    wxCommandEvent event(wxEVT_MENU, command);
    Frame().HandleWindowEvent(event);
    RunPending();
    ASSERT_NE(Frame().GetSearchDlg(), nullptr);
    EXPECT_TRUE(Dlg().IsShown());
}

TEST_F(SearchRunFixture, TypedTextRunsAfterAPauseWithoutEnter) {
    OpenWindow();
    wxTextCtrl* query = Dlg().QueryCtrl();
    Dlg().Raise();
    query->SetFocus();
    if (!WaitFor([&] { return wxWindow::FindFocus() == query; })) {
        GTEST_SKIP() << "the X server gives the window no keyboard focus";
    }
    wxUIActionSimulator sim;
    sim.Text("needle");
    ASSERT_TRUE(WaitFor([&] { return Dlg().Run().Finished() && ShownResults() == kNeedles; }))
        << Dlg().StatusText();
    EXPECT_EQ(query->GetValue(), "needle");
}

TEST_F(SearchRunFixture, FindsTheMessagesInListOrderWithTheirCount) {
    OpenWindow();
    Search("NEEDLE here");
    Finish();
    EXPECT_EQ(ShownResults(), kNeedles);
    EXPECT_EQ(Dlg().StatusText(), wxString::FromUTF8("6 件"));
    EXPECT_EQ(Frame().GetSearchResults(), kNeedles);
    EXPECT_EQ(Results().GetItemText(1, 0), "item 6");
    EXPECT_EQ(Results().GetItemText(1, 1), "Sender 6");
    EXPECT_EQ(Results().GetItemText(1, 2), "2000/01/06 10:00:00");

    // The field choice narrows the search: "item" is in every subject, no body.
    Search("item", 1);
    Finish();
    EXPECT_EQ(ShownResults().size(), static_cast<std::size_t>(kMessages));
    Search("item", 5);
    Finish();
    EXPECT_TRUE(ShownResults().empty());
    EXPECT_EQ(Dlg().StatusText(), wxString::FromUTF8("0 件"));
}

TEST_F(SearchRunFixture, ANewQueryReplacesTheOneUnderWay) {
    OpenWindow();
    Search("needle");
    ASSERT_TRUE(Dlg().Run().Running())
        << "nothing is collected before the window handles its events";
    Search("\"item 3\"", 1);
    Finish();
    // "item 3" and the items 30 to 39 that begin with it; no needle result stays.
    EXPECT_EQ(ShownResults(), (std::vector<int>{2, 29}));
}

TEST_F(SearchRunFixture, RefusedQueriesSayWhyAndFindNothing) {
    OpenWindow();
    struct Case {
        const char* query;
        const char* status;
    };
    const Case cases[] = {
        {"", "検索する文字を入力してください"},
        {" \"\" ", "検索する文字を入力してください"},
        {"회의", "Shift-JIS で書けない文字があるため、見つかりません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        Search(c.query);
        Finish();
        EXPECT_TRUE(ShownResults().empty());
        EXPECT_EQ(Dlg().StatusText(), wxString::FromUTF8(c.status));
    }
}

TEST_F(SearchRunFixture, AResultBecomesCurrentInTheCurrentListAndEnterShowsIt) {
    OpenWindow();
    Search("needle");
    Finish();
    ChooseResult(2);
    EXPECT_EQ(Doc().m_nCurrent, 10);
    CEKTitleView& title = *Frame().GetTitleView();
    EXPECT_EQ(SelectedRow(title), 10);

    // In thread mode the thread list follows, on the message's own row.
    ASSERT_TRUE(Frame().ExecuteCommand(ID_VIEW_THREAD));
    RunPending();
    ChooseResult(3);
    EXPECT_EQ(Doc().m_nCurrent, 15);
    EXPECT_EQ(SelectedRow(*m_thread), m_thread->RowOfMessage(15));
    EXPECT_TRUE(Frame().IsListShown());

    ResultsEnter();
    EXPECT_FALSE(Frame().IsListShown());
    EXPECT_EQ(Doc().m_nCurrent, 15);
    EXPECT_TRUE(m_content->GetTextCtrl()->GetValue().Contains("item 16"));
    // With the text shown, choosing another result shows that one.
    ChooseResult(0);
    EXPECT_EQ(Doc().m_nCurrent, 0);
    EXPECT_TRUE(m_content->GetTextCtrl()->GetValue().Contains("item 1\n"));
}

TEST_F(SearchRunFixture, ClosingLeavesTheListsAndANewMailboxDropsTheResults) {
    CEKTitleView& title = *Frame().GetTitleView();
    title.SetItemState(7, kSelectedFocused, kSelectedFocused);
    RunPending();
    ASSERT_EQ(Doc().m_nCurrent, 7);
    OpenWindow();
    Search("needle");
    Finish();
    Dlg().Close();
    RunPending();
    EXPECT_FALSE(Dlg().IsShown());
    EXPECT_EQ(Doc().m_nCurrent, 7);
    EXPECT_EQ(title.GetItemCount(), kMessages);
    EXPECT_EQ(SelectedRow(title), 7);
    EXPECT_EQ(m_thread->GetItemCount(), kMessages);
    EXPECT_TRUE(Frame().IsListShown());
    EXPECT_EQ(Frame().GetSearchResults(), kNeedles) << "the finished results stay";

    // Opening it again keeps the query; another mailbox runs it on the new messages.
    OpenWindow();
    EXPECT_EQ(Dlg().QueryCtrl()->GetValue(), "needle");
    ASSERT_TRUE(m_app->OpenDocumentFile(m_dir.File("b.mbx")));
    RunPending();
    Finish();
    EXPECT_TRUE(ShownResults().empty());
    EXPECT_TRUE(Frame().GetSearchResults().empty());
    Search("other");
    Finish();
    EXPECT_EQ(ShownResults(), kNeedles);
}

}  // namespace
}  // namespace ek::test
