// The frame driven through the display's own input (XTest under X), as a user
// drives it: real input passes through the toolkit before any wx handler, which
// events injected into the windows skip. Clicks on every tool-bar button, with a
// file and without one, a drag on its gripper, the menus' Alt+letter and F10 from
// each pane, and a reading session on the keyboard.
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/stc/stc.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "GuiTestSupport.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/res/Menus.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

// A message of `lines` body lines, numbered, in the mailbox format.
std::string Message(int day, int lines) {
    char date[64];
    std::snprintf(date, sizeof date, "Mon Apr %02d 10:00:00 2000", day);
    std::string text = std::string("From - ") + date + "\nX-EKMail-Status: 0001\n";
    std::snprintf(date, sizeof date, "Date: Mon, %02d Apr 2000 10:00:00 +0900\n", day);
    text += date;
    text += "From: Sender <s@example.jp>\nSubject: day " + std::to_string(day) + "\n\n";
    for (int i = 0; i < lines; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    return text;
}

wxString ClipboardText() {
    wxString text;
    wxClipboardLocker lock;
    wxTextDataObject data;
    if (!!lock && wxTheClipboard->GetData(data)) {
        text = data.GetText();
    }
    return text;
}

void SetClipboardText(const wxString& text) {
    wxClipboardLocker lock;
    if (!!lock) {
        wxTheClipboard->SetData(new wxTextDataObject(text));
    }
}

// Ends every modal dialog as soon as it runs, keeping its title.
class DialogCloser : public wxModalDialogHook {
  public:
    DialogCloser() { Register(); }
    ~DialogCloser() override { Unregister(); }
    std::vector<wxString> titles;

  protected:
    int Enter(wxDialog* dialog) override {
        titles.push_back(dialog->GetTitle());
        dialog->CallAfter([dialog] { dialog->EndModal(wxID_OK); });
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

class RealInputTest : public ::testing::Test {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }

    // Three long messages.
    static std::string LongMailbox() {
        std::string mailbox;
        for (int day = 1; day <= 3; ++day) {
            mailbox += Message(day, 200);
        }
        return mailbox;
    }

    // Starts the program with its real panes on `setup` and puts the mouse over the
    // frame: without a window manager the keys go to the window under the pointer.
    void Start(ProgramRun::Setup setup) {
        setup.content = Pane::Real;
        setup.thread = Pane::Real;
        setup.chooseFile = [this](wxWindow*) {
            ++m_chooserCalls;
            return std::optional<std::string>();
        };
        m_run = std::make_unique<ProgramRun>(std::move(setup));
        ASSERT_TRUE(m_run->Started());
        Frame().Raise();
        RunPending();
        m_sim.MouseMove(Frame().GetScreenRect().GetPosition() + wxPoint(300, 300));
        ASSERT_TRUE(
            WaitFor([&] { return Frame().GetScreenRect().Contains(wxGetMousePosition()); }));
    }
    void StartOnSample() {
        ProgramRun::Setup setup;
        setup.args = {SamplePath()};
        Start(std::move(setup));
    }
    void StartOnLongMailbox() {
        ProgramRun::Setup setup;
        setup.mailbox = LongMailbox();
        Start(std::move(setup));
    }

    CMainFrame& Frame() { return m_run->Frame(); }
    int Current() { return m_run->Current(); }
    wxAuiToolBar& Bar() { return *Frame().GetToolBarWindow(); }
    wxStyledTextCtrl& Text() { return *m_run->ContentView().GetTextCtrl(); }
    wxString StatusText() { return Frame().GetStatusBar()->GetStatusText(0); }

    // The window that shows now: the focus goes there, and the mouse rests on it.
    bool FocusShownPane() {
        wxWindow* pane = Frame().GetActiveView() == &m_run->ContentView()
                             ? static_cast<wxWindow*>(&Text())
                             : dynamic_cast<CPane*>(Frame().GetActiveView())->GetPaneWindow();
        m_sim.MouseMove(pane->GetScreenRect().GetPosition() + wxPoint(200, 200));
        pane->SetFocus();
        return WaitFor([&] { return wxWindow::FindFocus() == pane; });
    }

    // Moves the mouse onto button `id`, waits until the bar shows its tool tip and the
    // status bar its prompt, and clicks it.
    void ClickTool(int id) {
        SCOPED_TRACE(id);
        wxRect rect = Bar().GetToolRect(WxId(id));
        ASSERT_FALSE(rect.IsEmpty());
        const wxPoint centre = Bar().ClientToScreen(rect.GetPosition() + rect.GetSize() / 2);
        // From off the bar, as a click hides the tip of the button clicked.
        m_sim.MouseMove(Frame().GetScreenRect().GetPosition() + wxPoint(300, 300));
        EXPECT_TRUE(WaitFor([&] { return StatusText() == wxString::FromUTF8("ﾚﾃﾞｨ"); }))
            << StatusText();
        m_sim.MouseMove(centre - wxPoint(0, 3));
        m_sim.MouseMove(centre);
        const wxAuiToolBarItem* item = Bar().FindTool(WxId(id));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(WaitFor([&] {
            return (item->GetState() & wxAUI_BUTTON_STATE_HOVER) != 0 &&
                   Bar().GetToolTipText() == wxString::FromUTF8(CommandToolTip(id)) &&
                   StatusText() == wxString::FromUTF8(CommandPrompt(id));
        })) << "hover "
            << ((item->GetState() & wxAUI_BUTTON_STATE_HOVER) != 0) << ", tool tip \""
            << Bar().GetToolTipText() << "\", status \"" << StatusText() << "\"";
        m_sim.MouseClick();
    }

    std::unique_ptr<ProgramRun> m_run;
    int m_chooserCalls = 0;
    wxUIActionSimulator m_sim;
};

TEST_F(RealInputTest, EveryEnabledToolBarButtonRunsItsCommandWhenClicked) {
    StartOnSample();
    DialogCloser dialogs;
    CMainFrame& frame = Frame();
    ASSERT_TRUE(Bar().IsEnabled());

    ClickTool(ID_FILE_OPEN);
    EXPECT_TRUE(WaitFor([&] { return m_chooserCalls == 1; }));

    ClickTool(ID_MAIL_NEXT);
    EXPECT_TRUE(WaitFor([&] { return Current() == 1; }));
    ClickTool(ID_MAIL_PREV);
    EXPECT_TRUE(WaitFor([&] { return Current() == 0; }));

    ClickTool(ID_VIEW_THREAD);
    EXPECT_TRUE(WaitFor([&] { return frame.IsThreadMode(); }));
    ClickTool(ID_VIEW_THREAD);
    EXPECT_TRUE(WaitFor([&] { return !frame.IsThreadMode(); }));

    ClickTool(ID_VIEW_CONTENT);
    ASSERT_TRUE(WaitFor([&] { return !frame.IsListShown(); }));
    EXPECT_TRUE(m_run->ContentView().IsShown());

    const bool allHeaders = m_run->ContentView().IsAllHeaders();
    ClickTool(ID_VIEW_ALLHEADER);
    EXPECT_TRUE(WaitFor([&] { return m_run->ContentView().IsAllHeaders() != allHeaders; }));

    if (frame.QueryCommand(ID_VIEW_DECODE).IsEnabled()) {
        const bool decoded = m_run->ContentView().IsDecoded();
        ClickTool(ID_VIEW_DECODE);
        EXPECT_TRUE(WaitFor([&] { return m_run->ContentView().IsDecoded() != decoded; }));
        ClickTool(ID_VIEW_DECODE);
        EXPECT_TRUE(WaitFor([&] { return m_run->ContentView().IsDecoded() == decoded; }));
    }

    Text().SelectAll();
    RunPending();
    ASSERT_TRUE(WaitFor([&] { return Bar().GetToolEnabled(WxId(ID_EDIT_COPY)); }));
    SetClipboardText("-");
    ClickTool(ID_EDIT_COPY);
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == Text().GetText(); }));

    ClickTool(ID_VIEW_CONTENT);
    EXPECT_TRUE(WaitFor([&] { return frame.IsListShown(); }));

    ClickTool(ID_APP_ABOUT);
    ASSERT_TRUE(WaitFor([&] { return !dialogs.titles.empty(); }));
    EXPECT_EQ(dialogs.titles.front(), wxString::FromUTF8("EKViewのﾊﾞｰｼﾞｮﾝ情報"));

    // Save and print stay grey; a click on them does nothing.
    for (int id : {ID_FILE_SAVE, ID_FILE_PRINT}) {
        EXPECT_FALSE(Bar().GetToolEnabled(WxId(id)));
    }
    // Off the bar the status bar shows its idle text again.
    m_sim.MouseMove(frame.GetScreenRect().GetPosition() + wxPoint(300, 300));
    EXPECT_TRUE(WaitFor([&] { return StatusText() == wxString::FromUTF8("ﾚﾃﾞｨ"); }))
        << StatusText();
}

TEST_F(RealInputTest, WithNoFileOpenTheButtonsThatAreEnabledRunTheirCommands) {
    Start(ProgramRun::Setup());
    DialogCloser dialogs;
    CMainFrame& frame = Frame();
    ASSERT_TRUE(Bar().IsEnabled());
    // Nothing to show, step to or copy yet.
    for (int id : {ID_VIEW_CONTENT, ID_MAIL_PREV, ID_MAIL_NEXT, ID_EDIT_COPY, ID_VIEW_ALLHEADER}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(WaitFor([&] { return !Bar().GetToolEnabled(WxId(id)); }));
    }

    ClickTool(ID_FILE_OPEN);
    EXPECT_TRUE(WaitFor([&] { return m_chooserCalls == 1; }));
    ClickTool(ID_VIEW_THREAD);
    EXPECT_TRUE(WaitFor([&] { return frame.IsThreadMode(); }));
    EXPECT_EQ(frame.GetActiveView(), &m_run->ThreadView());
    ClickTool(ID_VIEW_THREAD);
    EXPECT_TRUE(WaitFor([&] { return !frame.IsThreadMode(); }));
    ClickTool(ID_APP_ABOUT);
    ASSERT_TRUE(WaitFor([&] { return !dialogs.titles.empty(); }));
    EXPECT_EQ(dialogs.titles.front(), wxString::FromUTF8("EKViewのﾊﾞｰｼﾞｮﾝ情報"));
}

TEST_F(RealInputTest, TheGripperDragsTheToolBarOffTheFrame) {
    StartOnSample();
    wxAuiManager* manager = wxAuiManager::GetManager(&Bar());
    ASSERT_NE(manager, nullptr);
    ASSERT_FALSE(manager->GetPane(&Bar()).IsFloating());
    // The gripper is the strip at the bar's left end, before the first button.
    const wxRect first = Bar().GetToolRect(WxId(ID_FILE_OPEN));
    ASSERT_GT(first.x, 1);
    const wxPoint grip = Bar().ClientToScreen(wxPoint(first.x / 2, first.y + first.height / 2));
    m_sim.MouseMove(grip);
    RunPending();
    m_sim.MouseDown();
    for (int step = 1; step <= 10; ++step) {
        m_sim.MouseMove(grip + wxPoint(step * 30, step * 25));
        RunPending();
    }
    m_sim.MouseUp();
    EXPECT_TRUE(WaitFor([&] { return manager->GetPane(&Bar()).IsFloating(); }))
        << "the bar stayed docked";
}

// Each menu's mnemonic letter, in the menu bar's order.
constexpr char kMenuLetters[] = {'f', 'e', 'v', 'm', 'h'};

enum class ShownPane { Subjects, Threads, Text };

class AltLetterTest : public RealInputTest, public ::testing::WithParamInterface<ShownPane> {};

TEST_P(AltLetterTest, OpensEachMenuFromThePane) {
    StartOnLongMailbox();
    CMainFrame& frame = Frame();
    wxMenu* opened = nullptr;
    bool closed = false;
    frame.Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        opened = event.GetMenu();
        event.Skip();
    });
    frame.Bind(wxEVT_MENU_CLOSE, [&](wxMenuEvent& event) {
        closed = true;
        event.Skip();
    });
    if (GetParam() == ShownPane::Threads) {
        frame.ExecuteCommand(ID_VIEW_THREAD);
    } else if (GetParam() == ShownPane::Text) {
        frame.ExecuteCommand(ID_VIEW_CONTENT);
    }
    RunPending();
    if (!FocusShownPane()) {
        GTEST_SKIP() << "the X server gives the window no keyboard focus";
    }
    const wxString textBefore = GetParam() == ShownPane::Text ? Text().GetText() : wxString();

    for (std::size_t i = 0; i < std::size(kMenuLetters); ++i) {
        SCOPED_TRACE(std::string("Alt+") + kMenuLetters[i]);
        opened = nullptr;
        closed = false;
        m_sim.Char(kMenuLetters[i], wxMOD_ALT);
        EXPECT_TRUE(WaitFor([&] { return opened != nullptr; }));
        EXPECT_EQ(opened, frame.GetMenuBar()->GetMenu(i));
        m_sim.Char(WXK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return closed; }));
        // The menu gives the focus back to the pane it came from.
        WaitFor([&] { return wxWindow::FindFocus() != nullptr; });
    }

    // F10 opens the first menu, as the desktop's menu key.
    {
        SCOPED_TRACE("F10");
        opened = nullptr;
        closed = false;
        m_sim.Char(WXK_F10);
        EXPECT_TRUE(WaitFor([&] { return opened != nullptr; }));
        EXPECT_EQ(opened, frame.GetMenuBar()->GetMenu(0));
        m_sim.Char(WXK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return closed; }));
    }

    if (GetParam() == ShownPane::Text) {
        // Typed characters never change the text or move it.
        const int line = Text().GetFirstVisibleLine();
        m_sim.Text("xyz");
        RunPending();
        EXPECT_EQ(Text().GetText(), textBefore);
        EXPECT_EQ(Text().GetFirstVisibleLine(), line);
    }
}

INSTANTIATE_TEST_SUITE_P(Panes, AltLetterTest,
                         ::testing::Values(ShownPane::Subjects, ShownPane::Threads,
                                           ShownPane::Text),
                         [](const ::testing::TestParamInfo<ShownPane>& info) {
                             switch (info.param) {
                                 case ShownPane::Subjects:
                                     return "SubjectList";
                                 case ShownPane::Threads:
                                     return "ThreadList";
                                 case ShownPane::Text:
                                     return "TextPane";
                             }
                             return "";
                         });

TEST_F(RealInputTest, ReadingWithTheKeyboardGivesTheSameStatesAsTheInjectedKeys) {
    StartOnLongMailbox();
    CMainFrame& frame = Frame();
    if (!FocusShownPane()) {
        GTEST_SKIP() << "the X server gives the window no keyboard focus";
    }
    ASSERT_EQ(Current(), 0);

    m_sim.Char(WXK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !frame.IsListShown(); }));
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == &Text(); }));
    EXPECT_NE(Text().GetText().find("day 1"), wxString::npos);

    m_sim.Char('j');
    EXPECT_TRUE(WaitFor([&] { return Text().GetFirstVisibleLine() == 1; }));
    m_sim.Char('k');
    EXPECT_TRUE(WaitFor([&] { return Text().GetFirstVisibleLine() == 0; }));
    m_sim.Char(WXK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return Text().GetFirstVisibleLine() == Text().LinesOnScreen(); }))
        << Text().GetFirstVisibleLine();
    EXPECT_EQ(Current(), 0);

    m_sim.Char('n');
    EXPECT_TRUE(WaitFor([&] { return Current() == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Text().GetText().find("day 2") != wxString::npos; }));
    EXPECT_EQ(Text().GetFirstVisibleLine(), 0);
    m_sim.Char('p');
    EXPECT_TRUE(WaitFor([&] { return Current() == 0; }));

    // T while reading keeps the message; Enter returns to the other list.
    m_sim.Char('t');
    EXPECT_TRUE(WaitFor([&] { return frame.IsThreadMode(); }));
    EXPECT_FALSE(frame.IsListShown());
    m_sim.Char(WXK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return frame.IsListShown(); }));
    EXPECT_EQ(frame.GetActiveView(), &m_run->ThreadView());
    EXPECT_EQ(Current(), 0);

    m_sim.Char('t');
    EXPECT_TRUE(WaitFor([&] { return !frame.IsThreadMode(); }));
    EXPECT_EQ(frame.GetActiveView(), frame.GetTitleView());
}

}  // namespace
}  // namespace ek::test
