#include <wx/aui/auibar.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "GuiTestSupport.h"
#include "gui/app/AboutDlg.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

wxMenuItem* MenuItem(CMainFrame& frame, int id) {
    wxMenu* menu = nullptr;
    wxMenuItem* item = frame.GetMenuBar()->FindItem(WxId(id), &menu);
    if (item != nullptr) {
        menu->UpdateUI(&frame);
    }
    return item;
}

class FrameTest : public ProgramTest {
  protected:
    std::string Profile() const override { return dir.File("Ubrik/EKView.conf"); }
};

TEST_F(FrameTest, StartsUntitledWithAnEmptyList) {
    auto run = Start();
    ASSERT_TRUE(run->Started());
    CMainFrame& frame = run->Frame();
    EXPECT_TRUE(frame.IsShown());
    EXPECT_EQ(frame.GetTitle(), wxString::FromUTF8("無題 - EKView"));
    EXPECT_EQ(frame.GetTitleView()->GetItemCount(), 0);
    EXPECT_EQ(frame.GetActiveView(), frame.GetTitleView());
    EXPECT_TRUE(run->Boxes().texts.empty());

    wxMenuItem* content = MenuItem(frame, ID_VIEW_CONTENT);
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->GetItemLabel(), wxString::FromUTF8("内容表示(&V)"));
    EXPECT_FALSE(content->IsEnabled());
    EXPECT_FALSE(MenuItem(frame, ID_VIEW_THREAD)->IsChecked());
    EXPECT_TRUE(MenuItem(frame, ID_VIEW_THREAD)->IsEnabled());
    EXPECT_FALSE(MenuItem(frame, ID_FILE_MRU_FILE1)->IsEnabled());
    EXPECT_EQ(MenuItem(frame, ID_FILE_MRU_FILE1)->GetItemLabel(),
              wxString::FromUTF8("最近使ったﾌｧｲﾙ"));
    EXPECT_EQ(frame.GetIndicatorText(ID_INDICATOR_POSITION), " 0 / 0 ");
    EXPECT_EQ(frame.GetStatusBar()->GetFieldsCount(), 6);
    EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), wxString::FromUTF8("ﾚﾃﾞｨ"));

    // The tool bar's buttons, in order, with their separators.
    wxAuiToolBar* bar = frame.GetToolBarWindow();
    const int expected[] = {ID_FILE_OPEN,
                            ID_FILE_SAVE,
                            0,
                            ID_EDIT_COPY,
                            0,
                            ID_VIEW_CONTENT,
                            ID_VIEW_THREAD,
                            ID_VIEW_ALLHEADER,
                            ID_VIEW_DECODE,
                            0,
                            ID_MAIL_PREV,
                            ID_MAIL_NEXT,
                            0,
                            ID_FILE_PRINT,
                            0,
                            ID_APP_ABOUT};
    ASSERT_EQ(static_cast<std::size_t>(bar->GetToolCount()), std::size(expected));
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        SCOPED_TRACE(i);
        wxAuiToolBarItem* tool = bar->FindToolByIndex(i);
        if (expected[i] == 0) {
            EXPECT_EQ(tool->GetKind(), wxITEM_SEPARATOR);
        } else {
            EXPECT_EQ(CommandId(tool->GetId()), expected[i]);
            EXPECT_TRUE(tool->GetBitmapBundle().IsOk());
        }
    }
}

TEST_F(FrameTest, SaveAndPrintStayDisabledFromMenuToolBarKeysAndPosts) {
    auto run = Start({SamplePath()});
    CMainFrame& frame = run->Frame();
    // With the text pane visible, the pane that serves Save and Print is asked first.
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
    ASSERT_FALSE(frame.IsListShown());
    RunPending();

    const int alwaysDisabled[] = {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT,
                                  ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP};
    for (int id : alwaysDisabled) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(frame.QueryCommand(id).IsEnabled());
        ASSERT_NE(MenuItem(frame, id), nullptr);
        EXPECT_FALSE(MenuItem(frame, id)->IsEnabled());
        EXPECT_FALSE(frame.ExecuteCommand(id));
        frame.PostCommand(id);
    }
    EXPECT_FALSE(frame.GetToolBarWindow()->GetToolEnabled(WxId(ID_FILE_SAVE)));
    EXPECT_FALSE(frame.GetToolBarWindow()->GetToolEnabled(WxId(ID_FILE_PRINT)));
    EXPECT_TRUE(frame.GetToolBarWindow()->GetToolEnabled(WxId(ID_FILE_OPEN)));
    // The idle updates ask for the bar's own window too; it must stay enabled, or the
    // toolkit gives none of its buttons a click or a hover.
    EXPECT_TRUE(frame.GetToolBarWindow()->IsEnabled());

    // Ctrl+S and Ctrl+P are in the accelerator table; what they send is dropped too.
    wxKeyEvent ctrlS(wxEVT_KEY_DOWN);
    ctrlS.m_keyCode = 'S';
    ctrlS.m_controlDown = true;
    wxKeyEvent ctrlP = ctrlS;
    ctrlP.m_keyCode = 'P';
    EXPECT_EQ(frame.GetAcceleratorTable()->GetCommand(ctrlS), WxId(ID_FILE_SAVE));
    EXPECT_EQ(frame.GetAcceleratorTable()->GetCommand(ctrlP), WxId(ID_FILE_PRINT));
    for (int id : {WxId(ID_FILE_SAVE), WxId(ID_FILE_PRINT)}) {
        wxCommandEvent fromKey(wxEVT_MENU, id);
        frame.GetEventHandler()->ProcessEvent(fromKey);
    }
    // The tool-bar buttons send the same events.
    wxCommandEvent fromTool(wxEVT_TOOL, WxId(ID_FILE_SAVE));
    fromTool.SetEventObject(frame.GetToolBarWindow());
    frame.GetToolBarWindow()->GetEventHandler()->ProcessEvent(fromTool);
    RunPending();
    ASSERT_NE(run->Content(), nullptr);
    EXPECT_TRUE(run->Content()->commands.empty());

    // A command the pane serves with no handler saying otherwise passes.
    frame.PostCommand(ID_VIEW_ALLHEADER);
    RunPending();
    EXPECT_EQ(run->Content()->commands, std::vector<int>{ID_VIEW_ALLHEADER});
}

TEST_F(FrameTest, PlainLetterKeysAndDisabledEditKeysAreInTheAcceleratorTable) {
    auto run = Start();
    CMainFrame& frame = run->Frame();
    struct Key {
        int code;
        bool ctrl;
        bool shift;
        bool alt;
        int command;
    } keys[] = {
        {'N', false, false, false, ID_MAIL_NEXT},
        {'P', false, false, false, ID_MAIL_PREV},
        {'T', false, false, false, ID_VIEW_THREAD},
        {'N', true, false, false, ID_FILE_NEW},
        {'O', true, false, false, ID_FILE_OPEN},
        {'C', true, false, false, ID_EDIT_COPY},
        {WXK_INSERT, true, false, false, ID_EDIT_COPY},
        {'V', true, false, false, ID_EDIT_PASTE},
        {WXK_INSERT, false, true, false, ID_EDIT_PASTE},
        {'X', true, false, false, ID_EDIT_CUT},
        {WXK_DELETE, false, true, false, ID_EDIT_CUT},
        {'Z', true, false, false, ID_EDIT_UNDO},
        {WXK_BACK, false, false, true, ID_EDIT_UNDO},
        {WXK_F6, false, false, false, ID_NEXT_PANE},
        {WXK_F6, false, true, false, ID_PREV_PANE},
    };
    for (const Key& key : keys) {
        SCOPED_TRACE(key.command);
        wxKeyEvent event(wxEVT_KEY_DOWN);
        event.m_keyCode = key.code;
        event.m_controlDown = key.ctrl;
        event.m_shiftDown = key.shift;
        event.m_altDown = key.alt;
        EXPECT_EQ(frame.GetAcceleratorTable()->GetCommand(event), WxId(key.command));
    }
    for (int id : {ID_EDIT_PASTE, ID_EDIT_CUT, ID_EDIT_UNDO, ID_NEXT_PANE, ID_PREV_PANE,
                   ID_EDIT_COPY, ID_MAIL_NEXT, ID_MAIL_PREV}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(frame.QueryCommand(id).IsEnabled());
    }
    EXPECT_TRUE(frame.QueryCommand(ID_FILE_NEW).IsEnabled());
}

// Exactly one pane visible, carrying 59648; the three identifiers stay distinct.
void ExpectOnePane(ProgramRun& run) {
    CMainFrame& frame = run.Frame();
    CPane* panes[] = {frame.GetTitleView(), run.Content(), run.Thread()};
    int visible = 0;
    std::set<int> ids;
    for (CPane* pane : panes) {
        ids.insert(pane->GetDlgCtrlID());
        if (pane->GetPaneWindow()->IsShown()) {
            ++visible;
            EXPECT_EQ(pane->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
            EXPECT_EQ(frame.GetActiveView(), pane);
            wxSize client = pane->GetPaneWindow()->GetParent()->GetClientSize();
            EXPECT_EQ(pane->GetPaneWindow()->GetSize(), client)
                << "the visible pane fills the area";
        }
    }
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(ids,
              (std::set<int>{AFX_IDW_PANE_FIRST, kContentPaneInitialId, kThreadPaneInitialId}));
    CPane* expectedList = frame.IsThreadMode() ? static_cast<CPane*>(run.Thread())
                                               : static_cast<CPane*>(frame.GetTitleView());
    EXPECT_EQ(static_cast<CPane*>(frame.GetListView()), expectedList);
    CPane* expectedVisible = frame.IsListShown() ? expectedList : run.Content();
    EXPECT_TRUE(expectedVisible->GetPaneWindow()->IsShown());
}

TEST_F(FrameTest, TogglesKeepExactlyOnePaneVisible) {
    auto run = Start({SamplePath()});
    CMainFrame& frame = run->Frame();
    ASSERT_NE(run->Content(), nullptr);
    ASSERT_NE(run->Thread(), nullptr);
    EXPECT_EQ(run->Content()->initialUpdates, 1);
    EXPECT_EQ(run->Thread()->initialUpdates, 1);
    ExpectOnePane(*run);

    const int sequence[] = {ID_VIEW_CONTENT, ID_VIEW_THREAD,  ID_VIEW_CONTENT, ID_VIEW_THREAD,
                            ID_VIEW_THREAD,  ID_VIEW_CONTENT, ID_VIEW_THREAD,  ID_VIEW_CONTENT,
                            ID_VIEW_CONTENT, ID_VIEW_THREAD};
    for (std::size_t step = 0; step < std::size(sequence); ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(frame.ExecuteCommand(sequence[step]));
        RunPending();
        ExpectOnePane(*run);
        EXPECT_EQ(MenuItem(frame, ID_VIEW_CONTENT)->GetItemLabel(),
                  wxString::FromUTF8(frame.IsListShown() ? "内容表示(&V)" : "タイトル表示(&V)"));
        EXPECT_EQ(MenuItem(frame, ID_VIEW_THREAD)->IsChecked(), frame.IsThreadMode());
    }
    // Each of the three switches to the text pane showed the current message.
    EXPECT_EQ(run->Content()->shown, (std::vector<int>(3, 0)));
}

TEST_F(FrameTest, TogglesAreSafeWithoutTheTextPaneAndThreadList) {
    auto run = Start({SamplePath()}, Pane::None, Pane::None);
    CMainFrame& frame = run->Frame();
    EXPECT_EQ(frame.GetContentView(), nullptr);
    EXPECT_FALSE(frame.ExecuteCommand(ID_VIEW_CONTENT));
    EXPECT_FALSE(frame.ExecuteCommand(ID_VIEW_THREAD));
    frame.OnToggleContent();
    frame.OnToggleThread();
    frame.PostCommand(ID_VIEW_CONTENT);
    frame.PostCommand(ID_MAIL_NEXT);
    RunPending();
    EXPECT_TRUE(frame.IsListShown());
    EXPECT_FALSE(frame.IsThreadMode());
    EXPECT_TRUE(frame.GetTitleView()->IsShown());
    EXPECT_EQ(frame.GetTitleView()->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
}

TEST_F(FrameTest, CommandsPostedDuringALongOperationWaitForItsEnd) {
    auto run = Start({SamplePath()});
    CMainFrame& frame = run->Frame();
    {
        CProgressDlg progress(run->Doc().GetProgressUi());
        ASSERT_TRUE(progress.Create());
        EXPECT_FALSE(frame.IsEnabled());
        frame.PostCommand(ID_VIEW_CONTENT);
        DispatchPendingEvents();
        EXPECT_TRUE(frame.IsListShown());
    }
    EXPECT_TRUE(frame.IsEnabled());
    RunPending();
    EXPECT_FALSE(frame.IsListShown());
}

TEST_F(FrameTest, RecentFilesCarryOverToTheNextRun) {
    {
        auto run = Start({SamplePath()});
        ASSERT_TRUE(run->Started());
        EXPECT_EQ(run->Frame().GetTitle(), "sample.mbx - EKView");
        run->Close();
    }
    std::string canonical = std::filesystem::weakly_canonical(SamplePath()).string();
    auto run = Start();
    ASSERT_EQ(run->App().GetRecentFileList()[0], canonical);
    wxMenuItem* first = MenuItem(run->Frame(), ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->GetItemLabel().StartsWith("&1 ")) << first->GetItemLabel();
    EXPECT_TRUE(first->GetItemLabel().EndsWith("sample.mbx")) << first->GetItemLabel();
    EXPECT_TRUE(first->IsEnabled());
    EXPECT_EQ(MenuItem(run->Frame(), ID_FILE_MRU_FILE1 + 1), nullptr);

    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_MRU_FILE1));
    EXPECT_GT(run->Frame().GetTitleView()->GetItemCount(), 0);
    EXPECT_EQ(run->Frame().GetTitle(), "sample.mbx - EKView");
    EXPECT_TRUE(run->Boxes().texts.empty());
}

TEST_F(FrameTest, ARecentFileThatIsGoneIsReportedAndDropped) {
    std::string gone = dir.File("gone.mbx");
    std::filesystem::create_directories(dir.File("Ubrik"));
    WriteFile(Profile(), "[Recent File List]\nFile1=" + gone + "\nFile2=" + SamplePath() + "\n");
    auto run = Start();
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_MRU_FILE1));
    ASSERT_EQ(run->Boxes().texts.size(), 1u);
    EXPECT_NE(run->Boxes().texts[0].find(gone), std::string::npos) << run->Boxes().texts[0];
    EXPECT_EQ(run->App().GetRecentFileList()[0], SamplePath());
    EXPECT_EQ(run->Frame().GetTitle(), wxString::FromUTF8("無題 - EKView"));
}

TEST_F(FrameTest, OpenAndNewFollowTheFrameworkSequence) {
    auto run = Start();
    CMainFrame& frame = run->Frame();
    chosenFile = std::nullopt;
    ASSERT_TRUE(frame.ExecuteCommand(ID_FILE_OPEN));
    EXPECT_EQ(frame.GetTitleView()->GetItemCount(), 0);
    chosenFile = SamplePath();
    ASSERT_TRUE(frame.ExecuteCommand(ID_FILE_OPEN));
    int count = run->Doc().GetMessageCount();
    EXPECT_GT(count, 0);
    EXPECT_EQ(frame.GetTitleView()->GetItemCount(), count);
    EXPECT_TRUE(frame.QueryCommand(ID_VIEW_CONTENT).IsEnabled());

    // Ctrl+N empties the path; the messages stay in memory and stay listed.
    ASSERT_TRUE(frame.ExecuteCommand(ID_FILE_NEW));
    EXPECT_TRUE(run->Doc().GetPathName().empty());
    EXPECT_EQ(run->Doc().GetMessageCount(), count);
    EXPECT_EQ(frame.GetTitleView()->GetItemCount(), count);
    EXPECT_EQ(run->App().GetRecentFileList()[0], SamplePath());
    EXPECT_EQ(frame.GetTitle(), wxString::FromUTF8("無題 - EKView"));
}

TEST_F(FrameTest, ACommandLineFileThatCannotBeOpenedEndsTheProgram) {
    std::string missing = dir.File("missing.mbx");
    auto run = Start({missing});
    EXPECT_FALSE(run->Started());
    EXPECT_EQ(run->App().GetMainFrame(), nullptr);
    ASSERT_EQ(run->Boxes().texts.size(), 1u);
    EXPECT_NE(run->Boxes().texts[0].find(missing), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Profile())) << "nothing is saved";
}

TEST_F(FrameTest, PlacementAndBarStateAreStoredAtCloseAndRestored) {
    {
        auto run = Start();
        CMainFrame& frame = run->Frame();
        frame.SetSize(40, 50, 700, 500);
        RunPending();
        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_TOOLBAR));
        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_STATUS_BAR));
        run->Close();
    }
    std::string conf = ReadFile(Profile());
    EXPECT_NE(conf.find("WindowPos=0:1:-1:-1:-1:-1:40:50:740:550"), std::string::npos) << conf;
    EXPECT_NE(conf.find("[ControlBars/State]"), std::string::npos) << conf;

    auto run = Start();
    CMainFrame& frame = run->Frame();
    EXPECT_EQ(frame.GetRect(), wxRect(40, 50, 700, 500));
    EXPECT_FALSE(frame.GetToolBarWindow()->IsShown());
    EXPECT_FALSE(frame.GetStatusBar()->IsShown());
    EXPECT_FALSE(MenuItem(frame, ID_VIEW_TOOLBAR)->IsChecked());
    EXPECT_FALSE(MenuItem(frame, ID_VIEW_STATUS_BAR)->IsChecked());
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(frame.GetToolBarWindow()->IsShown());
    EXPECT_TRUE(MenuItem(frame, ID_VIEW_TOOLBAR)->IsChecked());
}

TEST_F(FrameTest, AWindowStoredOffEveryScreenComesBackOnOne) {
    const struct {
        const char* windowPos;
        std::optional<wxSize> size;  // none: as large as the screen allows
    } cases[] = {
        {"0:3:-1:-1:-1:-1:0x1388:5000:5600:5400", wxSize(600, 400)},
        // Larger than any screen: its status bar would be out of sight wherever it stood.
        {"0:1:-1:-1:-1:-1:0:0:99999:99999", std::nullopt},
    };
    std::filesystem::create_directories(dir.File("Ubrik"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windowPos);
        WriteFile(Profile(), std::string("[Settings]\nWindowPos=") + c.windowPos + "\n");
        auto run = Start();
        wxRect rect = run->Frame().GetRect();
        wxRect screen = wxDisplay(0u).GetClientArea();
        if (c.size) {
            EXPECT_EQ(rect.GetSize(), *c.size);
        }
        EXPECT_TRUE(screen.Contains(rect))
            << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
        EXPECT_FALSE(run->Frame().IsMaximized()) << "the start-up show command wins";
    }
}

TEST_F(FrameTest, ClosingWritesEveryValueInItsFormat) {
    {
        auto run = Start({SamplePath()});
        run->Close();
    }
    std::string conf = ReadFile(Profile());
    for (const char* expected :
         {"[Settings]", "TFont=100:ＭＳ 明朝", "LVH=300:150:120", "[Recent\\ File\\ List]",
          "File1=/", "File5=", "[ControlBars/State]", "Layout=", "StatusBar=1"}) {
        EXPECT_NE(conf.find(expected), std::string::npos) << expected << "\n" << conf;
    }
    EXPECT_EQ(conf.find("PreviewPages"), std::string::npos) << "written only when not 0";
    // "WindowPos": ten integers joined by ':'.
    std::size_t at = conf.find("WindowPos=");
    ASSERT_NE(at, std::string::npos);
    std::string value = conf.substr(at + 10, conf.find('\n', at) - at - 10);
    EXPECT_EQ(std::count(value.begin(), value.end(), ':'), 9) << value;
}

TEST_F(FrameTest, TheAboutBoxShowsIconVersionAndOk) {
    auto run = Start();
    CAboutDlg about(&run->Frame());
    EXPECT_EQ(about.GetTitle(), wxString::FromUTF8("EKViewのﾊﾞｰｼﾞｮﾝ情報"));
    int statics = 0;
    int bitmaps = 0;
    int buttons = 0;
    for (wxWindow* child : about.GetChildren()) {
        if (auto* text = wxDynamicCast(child, wxStaticText)) {
            EXPECT_EQ(text->GetLabel(), "EKView Version 1.51");
            ++statics;
        } else if (wxDynamicCast(child, wxStaticBitmap) != nullptr) {
            ++bitmaps;
        } else if (auto* button = wxDynamicCast(child, wxButton)) {
            EXPECT_EQ(button->GetLabel(), "OK");
            EXPECT_EQ(button->GetId(), wxID_OK);
            ++buttons;
        }
    }
    EXPECT_EQ(statics + bitmaps + buttons, static_cast<int>(about.GetChildren().size()));
    EXPECT_EQ(statics, 1);
    EXPECT_EQ(bitmaps, 1);
    EXPECT_EQ(buttons, 1);
}

}  // namespace
}  // namespace ek::test

namespace ek::test {
namespace {

TEST_F(FrameTest, RealKeysRunTheirCommandOnceWhileTheListHasTheFocus) {
    int chooserCalls = 0;
    ProgramRun::Setup setup;
    setup.profilePath = Profile();
    setup.args = {SamplePath()};
    setup.chooseFile = [&chooserCalls](wxWindow*) {
        ++chooserCalls;
        return std::optional<std::string>();
    };
    ProgramRun run(std::move(setup));
    CMainFrame& frame = run.Frame();
    CEKTitleView* list = frame.GetTitleView();
    frame.Raise();
    wxUIActionSimulator sim;
    sim.MouseMove(list->GetScreenRect().GetPosition() + wxPoint(100, 100));
    list->SetFocus();
    if (!WaitFor([&] { return wxWindow::FindFocus() == list; })) {
        GTEST_SKIP() << "the X server gives the window no keyboard focus";
    }

    // A plain letter reaches the frame's accelerator table, not the list.
    sim.Char('T');
    ASSERT_TRUE(WaitFor([&] { return frame.IsThreadMode(); }));
    RunPending();
    EXPECT_TRUE(frame.IsThreadMode()) << "T ran twice";
    sim.Char('T');
    ASSERT_TRUE(WaitFor([&] { return !frame.IsThreadMode(); }));

    // A key both in a menu label and in the table still runs once.
    list->SetFocus();
    sim.Char('O', wxMOD_CONTROL);
    ASSERT_TRUE(WaitFor([&] { return chooserCalls > 0; }));
    RunPending();
    EXPECT_EQ(chooserCalls, 1);

    // Ctrl+S reaches the gate, which drops it.
    sim.Char('S', wxMOD_CONTROL);
    RunPending();
    EXPECT_TRUE(run.Content()->commands.empty());

    // Enter on the current row opens the message.
    list->SetFocus();
    sim.Char(WXK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !frame.IsListShown(); }));
    EXPECT_EQ(run.Content()->shown, std::vector<int>{0});
}

}  // namespace
}  // namespace ek::test
