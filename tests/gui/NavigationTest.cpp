// Stepping through the messages with N, P and Space on the real frame and panes:
// the ends of both lists, the order of each list, the text pane following, and the
// position indicator.
#include <wx/aui/auibar.h>
#include <wx/evtloop.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stc/stc.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>

#include "GuiTestSupport.h"
#include "gui/platform/WxText.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

constexpr long kSelectedFocused = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
constexpr int kSampleCount = 12;

// The program with all three real panes.
class NavigationRun : public ProgramRun {
  public:
    explicit NavigationRun(std::vector<std::string> args,
                           std::optional<std::string> chosenFile = std::nullopt,
                           bool withPanes = true)
        : ProgramRun(MakeSetup(std::move(args), std::move(chosenFile), withPanes)) {}

    CEKTitleView& Title() { return *Frame().GetTitleView(); }
    wxString Text() { return ContentView().GetTextCtrl()->GetValue(); }
    wxListCtrl& ShownList() {
        return Frame().IsThreadMode() ? static_cast<wxListCtrl&>(ThreadView()) : Title();
    }
    long RowOf(int message) {
        return Frame().IsThreadMode() ? ThreadView().RowOfMessage(message) : message;
    }
    wxString Indicator() { return Frame().GetIndicatorText(ID_INDICATOR_POSITION); }

    // A key of the frame's accelerator table, delivered as the toolkit delivers it.
    void Accelerator(int keyCode, bool ctrl = false) {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = keyCode;
        key.m_controlDown = ctrl;
        int command = Frame().GetAcceleratorTable()->GetCommand(key);
        ASSERT_NE(command, -1) << "no accelerator for " << keyCode;
        wxCommandEvent event(wxEVT_MENU, command);
        Frame().HandleWindowEvent(event);
        RunPending();
    }

    // A key pressed in the text pane.
    void TextKey(int keyCode) {
        wxStyledTextCtrl& text = *ContentView().GetTextCtrl();
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = keyCode;
        key.m_uniChar = static_cast<wxChar>(keyCode < 0x80 ? keyCode : 0);
        key.SetEventObject(&text);
        text.GetEventHandler()->ProcessEvent(key);
        RunPending();
    }

    // Enter on the list that is shown.
    void ListEnter() { PressEnterInRows(ShownList()); }

    // Makes a message current as a click on its row of the shown list does.
    void SelectMessage(int message) {
        ShownList().SetItemState(RowOf(message), kSelectedFocused, kSelectedFocused);
        RunPending();
        ASSERT_EQ(Current(), message);
    }

    // Whether the text pane shows message `index`: its text begins with that
    // message's short header.
    bool Shows(int index) {
        std::vector<std::string> lines;
        if (!Doc().GetMessageLines(index, lines, ContentView().IsAllHeaders())) {
            return false;
        }
        std::string header;
        for (const std::string& line : lines) {
            if (line == "\n") {
                break;
            }
            header += line;
        }
        return !header.empty() && Text().StartsWith(FromCp932(header));
    }

  private:
    static Setup MakeSetup(std::vector<std::string> args, std::optional<std::string> chosenFile,
                           bool withPanes) {
        Setup setup;
        setup.args = std::move(args);
        setup.content = withPanes ? Pane::Real : Pane::None;
        setup.thread = withPanes ? Pane::Real : Pane::None;
        setup.chooseFile = [chosenFile](wxWindow*) { return chosenFile; };
        return setup;
    }
};

// GTK sizes a control that was just shown at its next frame, on a timer; until then
// the control scrolls by the page of a control not yet laid out. Waits until it
// covers its pane but for the margin.
void AwaitLayout(wxStyledTextCtrl& text) {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    for (int wait = 0; wait < 100; ++wait) {
        RunPending();
        const wxSize pane = text.GetParent()->GetClientSize();
        if (text.IsShownOnScreen() && pane.y > 0 &&
            text.GetSize().y == pane.y - 2 * CEKContentView::kMargin) {
            return;
        }
        loop.DispatchTimeout(10);
    }
    ADD_FAILURE() << "the text control was never laid out";
}

wxString Position(unsigned position, unsigned count) {
    char text[48];
    std::snprintf(text, sizeof text, " %u / %u ", position, count);
    return text;
}

// The four ways a step reaches the frame.
enum class Way { Menu, ToolBar, Key, Post };
const char* WayName(Way way) {
    switch (way) {
        case Way::Menu:
            return "menu";
        case Way::ToolBar:
            return "tool bar";
        case Way::Key:
            return "key";
        case Way::Post:
            return "posted command";
    }
    return "";
}
constexpr Way kWays[] = {Way::Menu, Way::ToolBar, Way::Key, Way::Post};

void Send(NavigationRun& run, int id, Way way) {
    CMainFrame& frame = run.Frame();
    switch (way) {
        case Way::Menu: {
            wxCommandEvent event(wxEVT_MENU, WxId(id));
            event.SetEventObject(frame.GetMenuBar());
            frame.HandleWindowEvent(event);
            break;
        }
        case Way::ToolBar: {
            wxAuiToolBar* bar = frame.GetToolBarWindow();
            wxCommandEvent event(wxEVT_TOOL, WxId(id));
            event.SetEventObject(bar);
            bar->GetEventHandler()->ProcessEvent(event);
            break;
        }
        case Way::Key:
            run.Accelerator(id == ID_MAIL_NEXT ? 'N' : 'P');
            break;
        case Way::Post:
            frame.PostCommand(id);
            break;
    }
    RunPending();
}

// What the menu item and the tool-bar button show for a command.
bool MenuEnabled(CMainFrame& frame, int id) {
    wxMenu* menu = nullptr;
    wxMenuItem* item = frame.GetMenuBar()->FindItem(WxId(id), &menu);
    EXPECT_NE(item, nullptr);
    menu->UpdateUI(&frame);
    return item->IsEnabled();
}
bool ToolEnabled(CMainFrame& frame, int id) {
    return frame.GetToolBarWindow()->GetToolEnabled(WxId(id));
}

// The command is disabled everywhere and whatever way it comes changes nothing.
void ExpectDisabled(NavigationRun& run, int id) {
    SCOPED_TRACE(id == ID_MAIL_NEXT ? "next" : "previous");
    EXPECT_FALSE(MenuEnabled(run.Frame(), id));
    EXPECT_FALSE(ToolEnabled(run.Frame(), id));
    const int current = run.Current();
    const wxString indicator = run.Indicator();
    for (Way way : kWays) {
        SCOPED_TRACE(WayName(way));
        Send(run, id, way);
        EXPECT_EQ(run.Current(), current);
        EXPECT_EQ(run.Indicator(), indicator);
        EXPECT_EQ(run.ShownList().GetItemState(run.RowOf(current), kSelectedFocused),
                  kSelectedFocused);
    }
}

class NavigationTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }
};

// Both lists: the subject list (false) and the thread list (true).
TEST_P(NavigationTest, NextAndPrevStopAtBothEndsAndFollowTheListsOrder) {
    const bool threadMode = GetParam();
    NavigationRun run({SamplePath()});
    ASSERT_TRUE(run.Started());
    CMainFrame& frame = run.Frame();
    ASSERT_EQ(run.Doc().GetMessageCount(), kSampleCount);
    if (threadMode) {
        run.Accelerator('T');
        ASSERT_TRUE(frame.IsThreadMode());
        ASSERT_TRUE(run.ThreadView().IsShown());
    }
    std::vector<int> order(kSampleCount);
    std::iota(order.begin(), order.end(), 0);
    if (threadMode) {
        order.clear();
        for (const ThreadRow& row : run.ThreadView().GetThreadRows()) {
            order.push_back(row.index);
        }
        ASSERT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 10, 8, 9, 11}));
    }

    ASSERT_EQ(run.Current(), order.front());
    EXPECT_EQ(run.Indicator(), Position(1, kSampleCount));
    EXPECT_TRUE(MenuEnabled(frame, ID_MAIL_NEXT));
    EXPECT_TRUE(ToolEnabled(frame, ID_MAIL_NEXT));
    ExpectDisabled(run, ID_MAIL_PREV);

    // Every way steps one row down; the shown row follows and so does the indicator.
    std::vector<int> visited = {run.Current()};
    for (std::size_t step = 1; step < order.size(); ++step) {
        Way way = kWays[step % std::size(kWays)];
        SCOPED_TRACE(WayName(way));
        Send(run, ID_MAIL_NEXT, way);
        visited.push_back(run.Current());
        EXPECT_EQ(run.ShownList().GetItemState(static_cast<long>(step), kSelectedFocused),
                  kSelectedFocused);
        EXPECT_EQ(run.Indicator(), Position(run.Current() + 1, kSampleCount));
    }
    EXPECT_EQ(visited, order);
    EXPECT_TRUE(MenuEnabled(frame, ID_MAIL_PREV));
    EXPECT_TRUE(ToolEnabled(frame, ID_MAIL_PREV));
    ExpectDisabled(run, ID_MAIL_NEXT);

    std::vector<int> back = {run.Current()};
    for (std::size_t step = 1; step < order.size(); ++step) {
        Send(run, ID_MAIL_PREV, kWays[step % std::size(kWays)]);
        back.push_back(run.Current());
    }
    EXPECT_EQ(back, std::vector<int>(order.rbegin(), order.rend()));
    ExpectDisabled(run, ID_MAIL_PREV);
}

INSTANTIATE_TEST_SUITE_P(Lists, NavigationTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "ThreadList" : "SubjectList";
                         });

class NavigationFrameTest : public ::testing::Test {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }
};

TEST_F(NavigationFrameTest, WithTheTextShownNShowsTheNextMessageAtOnceAndEnterReturnsToIt) {
    NavigationRun run({SamplePath()});
    ASSERT_TRUE(run.Started());
    CMainFrame& frame = run.Frame();
    for (bool threadMode : {false, true}) {
        SCOPED_TRACE(threadMode ? "thread list" : "subject list");
        if (frame.IsThreadMode() != threadMode) {
            run.Accelerator('T');
        }
        run.SelectMessage(6);
        run.ListEnter();
        ASSERT_FALSE(frame.IsListShown());
        EXPECT_TRUE(run.Shows(6));

        // The handler shows the message itself, before any idle time.
        wxCommandEvent next(wxEVT_MENU, WxId(ID_MAIL_NEXT));
        frame.HandleWindowEvent(next);
        const int expected = 7;
        EXPECT_EQ(run.Current(), expected);
        EXPECT_TRUE(run.Shows(expected));
        RunPending();
        EXPECT_EQ(run.Indicator(), Position(expected + 1, kSampleCount));

        // From message 7 the subject list goes on to 8, the thread list to its reply 10.
        run.Accelerator('N');
        const int after = threadMode ? 10 : 8;
        EXPECT_EQ(run.Current(), after);
        EXPECT_TRUE(run.Shows(after));

        run.TextKey(WXK_RETURN);
        ASSERT_TRUE(frame.IsListShown());
        wxListCtrl& list = run.ShownList();
        EXPECT_TRUE(list.IsShown());
        EXPECT_EQ(run.Current(), after);
        const long row = run.RowOf(after);
        EXPECT_EQ(list.GetItemState(row, kSelectedFocused), kSelectedFocused);
        EXPECT_EQ(list.GetSelectedItemCount(), 1);
        EXPECT_GE(row, list.GetTopItem());
        EXPECT_LT(row, list.GetTopItem() + list.GetCountPerPage());
    }
}

TEST_F(NavigationFrameTest, TWhileAMessageIsShownKeepsItAndNFollowsTheNewList) {
    NavigationRun run({SamplePath()});
    ASSERT_TRUE(run.Started());
    CMainFrame& frame = run.Frame();
    run.SelectMessage(7);
    run.ListEnter();
    ASSERT_FALSE(frame.IsListShown());
    const wxString shown = run.Text();

    run.Accelerator('T');
    EXPECT_TRUE(frame.IsThreadMode());
    EXPECT_FALSE(frame.IsListShown());
    EXPECT_TRUE(run.ContentView().IsShown());
    EXPECT_EQ(run.Current(), 7);
    EXPECT_EQ(run.Text(), shown);
    EXPECT_EQ(run.Indicator(), Position(8, kSampleCount));

    // The thread list puts reply 10 right after 7.
    run.Accelerator('N');
    EXPECT_EQ(run.Current(), 10);
    EXPECT_TRUE(run.Shows(10));

    // Back in document order, 11 follows 10 and is the last.
    run.Accelerator('T');
    EXPECT_FALSE(frame.IsThreadMode());
    EXPECT_EQ(run.Current(), 10);
    run.Accelerator('N');
    EXPECT_EQ(run.Current(), 11);
    EXPECT_TRUE(run.Shows(11));
    ExpectDisabled(run, ID_MAIL_NEXT);

    // The thread list's previous row before 11 is 9; Enter shows it in that list.
    run.Accelerator('T');
    run.Accelerator('P');
    EXPECT_EQ(run.Current(), 9);
    EXPECT_TRUE(run.Shows(9));
    run.TextKey(WXK_RETURN);
    ASSERT_TRUE(run.ThreadView().IsShown());
    EXPECT_EQ(run.ThreadView().GetItemState(run.ThreadView().RowOfMessage(9), kSelectedFocused),
              kSelectedFocused);
    EXPECT_EQ(run.ThreadView().GetSelectedItemCount(), 1);
}

TEST_F(NavigationFrameTest, SpaceAtTheEndOfAShortMessageMovesOnAndAfterTheLastDoesNothing) {
    NavigationRun run({SamplePath()});
    ASSERT_TRUE(run.Started());
    run.SelectMessage(9);
    run.ListEnter();
    ASSERT_TRUE(run.Shows(9));
    wxStyledTextCtrl& text = *run.ContentView().GetTextCtrl();
    AwaitLayout(text);
    ASSERT_LT(text.PointFromPosition(text.GetLastPosition()).y, text.GetClientSize().y)
        << "message 9 fits the pane";

    run.TextKey(WXK_SPACE);
    EXPECT_EQ(run.Current(), 10);
    EXPECT_TRUE(run.Shows(10));
    EXPECT_EQ(run.Indicator(), Position(11, kSampleCount));

    run.TextKey(WXK_RETURN);
    run.SelectMessage(11);
    run.ListEnter();
    ASSERT_TRUE(run.Shows(11));
    AwaitLayout(text);
    const wxString last = run.Text();
    for (int press = 0; press < 3; ++press) {
        run.TextKey(WXK_SPACE);
    }
    EXPECT_EQ(run.Current(), 11);
    EXPECT_EQ(run.Text(), last);
    EXPECT_FALSE(run.Frame().IsListShown());
    EXPECT_EQ(run.Indicator(), Position(kSampleCount, kSampleCount));
}

TEST_F(NavigationFrameTest, TheIndicatorShowsPositionAndCountAndFitsItsText) {
    NavigationRun run({}, SamplePath());
    ASSERT_TRUE(run.Started());
    CMainFrame& frame = run.Frame();
    wxStatusBar* bar = frame.GetStatusBar();
    int pane = -1;
    for (int i = 0; i < bar->GetFieldsCount(); ++i) {
        if (bar->GetStatusText(i) == run.Indicator()) {
            pane = i;
        }
    }
    ASSERT_NE(pane, -1);
    EXPECT_EQ(run.Indicator(), " 0 / 0 ");
    EXPECT_EQ(run.Current(), -1);
    EXPECT_FALSE(frame.QueryCommand(ID_MAIL_NEXT).IsEnabled());
    EXPECT_FALSE(frame.QueryCommand(ID_MAIL_PREV).IsEnabled());
    const int emptyWidth = bar->GetStatusWidth(pane);

    // Opened from the keyboard: Ctrl+O, the chooser answers with the sample.
    run.Accelerator('O', true);
    ASSERT_EQ(run.Doc().GetMessageCount(), kSampleCount);
    EXPECT_EQ(run.Indicator(), " 1 / 12 ");
    EXPECT_GT(bar->GetStatusWidth(pane), emptyWidth);
    run.Accelerator('N');
    EXPECT_EQ(run.Indicator(), " 2 / 12 ");
    run.Accelerator('N');
    EXPECT_EQ(run.Indicator(), " 3 / 12 ");
    run.Accelerator('P');
    EXPECT_EQ(run.Indicator(), " 2 / 12 ");
    run.SelectMessage(8);
    EXPECT_EQ(run.Indicator(), " 9 / 12 ");
    const int width = bar->GetStatusWidth(pane);
    run.Accelerator('N');
    EXPECT_EQ(run.Indicator(), " 10 / 12 ");
    EXPECT_GT(bar->GetStatusWidth(pane), width);
}

TEST_F(NavigationFrameTest, WithoutTheThreadListNeitherStepIsEnabled) {
    NavigationRun run({SamplePath()}, std::nullopt, false);
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(run.Doc().GetMessageCount(), kSampleCount);
    EXPECT_EQ(run.Current(), 0);
    EXPECT_FALSE(run.Frame().QueryCommand(ID_MAIL_NEXT).IsEnabled());
    EXPECT_FALSE(run.Frame().QueryCommand(ID_MAIL_PREV).IsEnabled());
    EXPECT_FALSE(MenuEnabled(run.Frame(), ID_MAIL_NEXT));
    run.Frame().PostCommand(ID_MAIL_NEXT);
    RunPending();
    EXPECT_EQ(run.Current(), 0);
}

// File > New keeps the messages in memory; both lists are built from them again,
// so the lists, the indicator, the steps and the text pane all tell the same story,
// whichever list was current and whichever pane was up.
TEST_F(NavigationFrameTest, AfterNewTheListsTheIndicatorAndTheCommandsAgree) {
    for (bool threadMode : {false, true}) {
        for (bool textShown : {false, true}) {
            SCOPED_TRACE(std::string(threadMode ? "thread list" : "subject list") +
                         (textShown ? ", text shown" : ", list shown"));
            NavigationRun run({SamplePath()});
            ASSERT_TRUE(run.Started());
            if (threadMode) {
                run.Accelerator('T');
            }
            run.Accelerator('N');
            run.Accelerator('N');
            ASSERT_EQ(run.Indicator(), Position(3, kSampleCount));
            if (textShown) {
                run.ListEnter();
                ASSERT_FALSE(run.Frame().IsListShown());
            }

            run.Accelerator('N', true);
            ASSERT_TRUE(run.Doc().GetPathName().empty());
            ASSERT_EQ(run.Doc().GetMessageCount(), kSampleCount);
            EXPECT_TRUE(run.Frame().IsListShown());
            EXPECT_EQ(run.Title().GetItemCount(), kSampleCount);
            EXPECT_EQ(run.ThreadView().GetItemCount(), kSampleCount);
            EXPECT_EQ(run.Current(), 0);
            EXPECT_EQ(run.ShownList().GetItemState(0, kSelectedFocused), kSelectedFocused);
            EXPECT_EQ(run.Indicator(), Position(1, kSampleCount));
            EXPECT_TRUE(run.Frame().QueryCommand(ID_MAIL_NEXT).IsEnabled());
            EXPECT_FALSE(run.Frame().QueryCommand(ID_MAIL_PREV).IsEnabled());

            run.Accelerator('N');
            EXPECT_EQ(run.Current(),
                      run.Frame().IsThreadMode() ? run.ThreadView().MessageOfRow(1) : 1);
            EXPECT_EQ(run.Indicator(), Position(run.Current() + 1, kSampleCount));
            ASSERT_TRUE(run.Frame().QueryCommand(ID_VIEW_CONTENT).IsEnabled());
            run.ListEnter();
            ASSERT_FALSE(run.Frame().IsListShown());
            EXPECT_TRUE(run.Shows(run.Current()));
        }
    }
}

// A new user reads the whole sample with the keyboard alone.
TEST_F(NavigationFrameTest, TheWholeSampleCanBeReadWithTheKeyboardAlone) {
    NavigationRun run({}, SamplePath());
    ASSERT_TRUE(run.Started());
    CMainFrame& frame = run.Frame();
    run.Accelerator('O', true);
    ASSERT_EQ(run.Doc().GetMessageCount(), kSampleCount);

    run.ListEnter();
    ASSERT_FALSE(frame.IsListShown());
    std::vector<int> read = {run.Current()};
    EXPECT_TRUE(run.Shows(0));
    for (int press = 0; press < 200 && run.Current() < kSampleCount - 1; ++press) {
        run.TextKey(WXK_SPACE);
        if (run.Current() != read.back()) {
            read.push_back(run.Current());
            EXPECT_TRUE(run.Shows(run.Current())) << "message " << run.Current();
        }
    }
    std::vector<int> all(kSampleCount);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(read, all);
    for (int press = 0; press < 3; ++press) {
        run.TextKey(WXK_SPACE);
    }
    EXPECT_EQ(run.Current(), kSampleCount - 1);

    // Enter back, T to the thread list, which shows the last message's row.
    run.TextKey(WXK_RETURN);
    ASSERT_TRUE(frame.IsListShown());
    run.Accelerator('T');
    ASSERT_TRUE(run.ThreadView().IsShown());
    CEKThreadView& thread = run.ThreadView();
    EXPECT_EQ(thread.GetItemState(thread.RowOfMessage(kSampleCount - 1), kSelectedFocused),
              kSelectedFocused);

    // Up the thread rows and down again: 11, 9, 8, 10, then 8.
    std::vector<int> stepped;
    for (int key : {'P', 'P', 'P', 'N'}) {
        run.Accelerator(key);
        stepped.push_back(run.Current());
    }
    EXPECT_EQ(stepped, (std::vector<int>{9, 8, 10, 8}));
    run.ListEnter();
    ASSERT_FALSE(frame.IsListShown());
    EXPECT_TRUE(run.Shows(8));
    run.TextKey(WXK_RETURN);
    ASSERT_TRUE(thread.IsShown());
    EXPECT_EQ(thread.GetItemState(thread.RowOfMessage(8), kSelectedFocused), kSelectedFocused);
    EXPECT_EQ(run.Indicator(), Position(9, kSampleCount));
}

}  // namespace
}  // namespace ek::test
