// Find in the message on the real text pane: the menu item, the find window's
// next and previous, wrapping at either end, nothing found, and that finding
// changes neither the text, its styles nor the current message.
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

#include <cstdio>

#include "GuiTestSupport.h"
#include "core/platform/Cp932Encode.h"
#include "gui/views/ContentView.h"
#include "gui/views/FindDlg.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek::test {
namespace {

std::string Message(int minute, const std::string& subject, const std::string& body) {
    return MinuteMessage(minute, "Subject: " + subject + "\n", body);
}

// The program with the real text pane on a mailbox of the test's own.
class FindRun : public ProgramRun {
  public:
    explicit FindRun(const std::string& mailbox)
        : ProgramRun(MailboxSetup(mailbox, Pane::Real, Pane::Stub)) {}

    wxStyledTextCtrl& Text() { return *ContentView().GetTextCtrl(); }
    wxString Status() { return Frame().GetStatusBar()->GetStatusText(0); }
    wxString Selected() { return Text().GetSelectedText(); }

    // Opens the find window with `what` in it.
    CFindDlg& OpenFind(const char* what) {
        Command(ID_EDIT_FIND);
        CFindDlg& dialog = *ContentView().GetFindDialog();
        dialog.SetFindWhat(what);
        return dialog;
    }
    // A click on one of the find window's buttons.
    void Click(CFindDlg& dialog, int id) {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(dialog.FindWindow(id));
        dialog.FindWindow(id)->GetEventHandler()->ProcessEvent(click);
        RunPending();
    }
};

TEST(FindInMessageTest, MenuItemFollowsCopyAndIsEnabledOnlyWithTheTextPane) {
    EKVIEW_REQUIRE_DISPLAY();
    FindRun run(Message(0, "s", "body\n"));
    ASSERT_TRUE(run.Started());
    wxMenu* edit = run.Frame().GetMenuBar()->GetMenu(1);
    ASSERT_EQ(edit->GetMenuItemCount(), 2u);
    EXPECT_EQ(edit->FindItemByPosition(0)->GetId(), WxId(ID_EDIT_COPY));
    EXPECT_EQ(edit->FindItemByPosition(1)->GetId(), WxId(ID_EDIT_FIND));
    EXPECT_EQ(edit->FindItemByPosition(1)->GetItemLabel(),
              wxString::FromUTF8("検索(&F)...\tCtrl+F"));
    EXPECT_FALSE(run.Frame().QueryCommand(ID_EDIT_FIND).IsEnabled());
    EXPECT_FALSE(run.Frame().QueryCommand(ID_EDIT_REPEAT).IsEnabled());
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_CONTENT));
    RunPending();
    EXPECT_TRUE(run.Frame().QueryCommand(ID_EDIT_FIND).IsEnabled());
    EXPECT_TRUE(run.Frame().QueryCommand(ID_EDIT_FIND_PREVIOUS).IsEnabled());
}

TEST(FindInMessageTest, NextPreviousWrapAndNotFoundLeaveTextAndMessageAlone) {
    EKVIEW_REQUIRE_DISPLAY();
    std::string body;
    for (int i = 0; i < 300; ++i) {
        body += "行 " + std::to_string(i) + (i == 20 || i == 250 ? " 注文番号 Ab-12\n" : "\n");
    }
    body += "> 引用 ab-12 http://example.jp/\n";
    FindRun run(Message(0, "first", body) + Message(1, "second", "other\n"));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_CONTENT));
    RunPending();
    wxStyledTextCtrl& text = run.Text();
    const wxString shown = text.GetValue();
    const int current = run.Frame().GetDocManager().GetDocument().m_nCurrent;
    text.Refresh();
    text.Update();
    std::vector<int> styles;
    for (int p = 0; p < text.GetEndStyled(); ++p) {
        styles.push_back(text.GetStyleAt(p));
    }

    CFindDlg& dialog = run.OpenFind("AB-12");
    ASSERT_TRUE(dialog.IsShown());
    auto lineOfMatch = [&] { return text.LineFromPosition(text.GetSelectionStart()); };
    auto inView = [&] {
        const int line = lineOfMatch();
        return line >= text.GetFirstVisibleLine() &&
               line < text.GetFirstVisibleLine() + text.LinesOnScreen();
    };

    run.Click(dialog, IDC_FIND_NEXT);
    EXPECT_EQ(run.Selected(), "Ab-12");
    // After the start and status lines, Date, Subject and the blank line.
    EXPECT_EQ(lineOfMatch(), 25);
    // Enter in the field is 次を検索; the match far down is scrolled into view.
    wxCommandEvent enter(wxEVT_TEXT_ENTER, IDC_FIND_WHAT);
    dialog.GetFindWhatCtrl()->GetEventHandler()->ProcessEvent(enter);
    RunPending();
    EXPECT_EQ(lineOfMatch(), 255);
    EXPECT_TRUE(inView());
    EXPECT_EQ(run.Status(), wxString::FromUTF8(str::kIdleMessage));
    run.Click(dialog, IDC_FIND_NEXT);
    EXPECT_EQ(run.Selected(), "ab-12");
    // Past the last match: back to the first, and the status bar says so.
    run.Click(dialog, IDC_FIND_NEXT);
    EXPECT_EQ(lineOfMatch(), 25);
    EXPECT_TRUE(inView());
    EXPECT_EQ(run.Status(), wxString::FromUTF8(str::kFindWrappedToTop));
    // 前を検索 from the first wraps to the last; then steps back.
    run.Click(dialog, IDC_FIND_PREVIOUS);
    EXPECT_EQ(run.Selected(), "ab-12");
    EXPECT_EQ(run.Status(), wxString::FromUTF8(str::kFindWrappedToEnd));
    run.Click(dialog, IDC_FIND_PREVIOUS);
    EXPECT_EQ(lineOfMatch(), 255);
    // F3 and Shift+F3 reach the frame's commands with the same text.
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_EDIT_REPEAT));
    EXPECT_EQ(run.Selected(), "ab-12");
    ASSERT_TRUE(run.Frame().ExecuteCommand(ID_EDIT_FIND_PREVIOUS));
    EXPECT_EQ(lineOfMatch(), 255);

    const int selectedFrom = text.GetSelectionStart();
    dialog.SetFindWhat("注文番号X");
    run.Click(dialog, IDC_FIND_NEXT);
    EXPECT_EQ(run.Status(), wxString::FromUTF8(str::kFindNotFound));
    EXPECT_EQ(text.GetSelectionStart(), selectedFrom);
    dialog.SetFindWhat("注文番号");
    run.Click(dialog, IDC_FIND_NEXT);
    EXPECT_EQ(run.Selected(), wxString::FromUTF8("注文番号"));

    EXPECT_EQ(text.GetValue(), shown);
    EXPECT_EQ(run.Frame().GetDocManager().GetDocument().m_nCurrent, current);
    for (std::size_t p = 0; p < styles.size(); ++p) {
        ASSERT_EQ(text.GetStyleAt(static_cast<int>(p)), styles[p]) << "at " << p;
    }

    // Back to the list: the find window goes with the text pane.
    run.Frame().OnToggleContent();
    RunPending();
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_FALSE(run.Frame().QueryCommand(ID_EDIT_REPEAT).IsEnabled());
}

}  // namespace
}  // namespace ek::test
