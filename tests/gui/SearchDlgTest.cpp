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

#include "GuiTestSupport.h"
#include "gui/frame/SearchDlg.h"
#include "gui/frame/SearchResultsCtrl.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"
#include "tests/support/TestSupport.h"

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

// The program with its real panes on a mailbox; b.mbx beside it.
class SearchRunFixture : public SearchWindowTest {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        Start(MailboxSetup(Mailbox("needle"), Pane::Real, Pane::Real));
        WriteFile(run->Dir().File("b.mbx"), Mailbox("other"));
        ASSERT_EQ(Doc().GetMessageCount(), kMessages);
    }

    void ChooseResult(long row) {
        Results().SetItemState(row, kSelectedFocused, kSelectedFocused);
        RunPending();
    }
    // Enter in the results.
    void ResultsEnter() { PressEnterInRows(Results()); }
    long SelectedRow(wxListCtrl& list) {
        return list.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    }
};

const std::vector<int> kNeedles = {0, 5, 10, 15, 20, 25};

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
    EXPECT_EQ(SelectedRow(run->ThreadView()), run->ThreadView().RowOfMessage(15));
    EXPECT_TRUE(Frame().IsListShown());

    ResultsEnter();
    EXPECT_FALSE(Frame().IsListShown());
    EXPECT_EQ(Doc().m_nCurrent, 15);
    EXPECT_TRUE(run->ContentView().GetTextCtrl()->GetValue().Contains("item 16"));
    // With the text shown, choosing another result shows that one.
    ChooseResult(0);
    EXPECT_EQ(Doc().m_nCurrent, 0);
    EXPECT_TRUE(run->ContentView().GetTextCtrl()->GetValue().Contains("item 1\n"));
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
    EXPECT_EQ(run->ThreadView().GetItemCount(), kMessages);
    EXPECT_TRUE(Frame().IsListShown());
    EXPECT_EQ(Frame().GetSearchResults(), kNeedles) << "the finished results stay";

    // Opening it again keeps the query; another mailbox runs it on the new messages.
    OpenWindow();
    EXPECT_EQ(Dlg().QueryCtrl()->GetValue(), "needle");
    ASSERT_TRUE(run->App().OpenDocumentFile(run->Dir().File("b.mbx")));
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
