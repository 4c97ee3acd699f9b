#include "GuiTestSupport.h"

#include <wx/app.h>
#include <wx/choice.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "core/platform/Cp932Encode.h"
#include "gui/frame/ProgressWindow.h"
#include "shell/Resource.h"

namespace ek::test {

std::string SamplePath() {
    return std::string(EKVIEW_SAMPLES_DIR) + "/sample.mbx";
}

void MessageBoxRecorder::Show(wxWindow*, const std::string& text, const std::string& caption,
                              MessageIcon icon) {
    EXPECT_EQ(caption, "EKView");
    texts.push_back(text);
    icons.push_back(icon);
}

StubContentPane::StubContentPane(wxWindow* parent) : wxPanel(parent) {
    for (int id : {ID_VIEW_ALLHEADER, ID_FILE_SAVE, ID_FILE_PRINT}) {
        MapCommand(id, [this, id] { commands.push_back(id); });
    }
}

void RunPending() {
    for (int round = 0; round < 5; ++round) {
        DispatchPendingEvents();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

std::string MinuteMessage(int minute, const std::string& header, const std::string& body) {
    char start[160];
    std::snprintf(start, sizeof start,
                  "From - Mon Apr 03 09:%02d:00 2000\nX-EKMail-Status: 0001\n"
                  "Date: Mon, 03 Apr 2000 09:%02d:00 +0900\n",
                  minute, minute);
    return cp932::FromUtf8(start + header + "\n" + body);
}

wxDialog* FindProgressDialog() {
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = wxDynamicCast(window, wxDialog);
        if (dialog != nullptr && dialog->GetId() == IDD_PROGRESS && dialog->IsShown()) {
            return dialog;
        }
    }
    return nullptr;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() > patience.count()) {
            return false;
        }
        RunPending();
        wxMilliSleep(5);
    }
    return true;
}

void PressEnterInRows(wxListCtrl& list) {
    wxWindow* rows = &list;
    for (wxWindow* child : list.GetChildren()) {
        if (rows == &list || child->GetSize().y > rows->GetSize().y) {
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

ProgramRun::Setup MailboxSetup(std::string mailbox, Pane content, Pane thread,
                               std::string profileText) {
    ProgramRun::Setup setup;
    setup.mailbox = std::move(mailbox);
    setup.profileText = std::move(profileText);
    setup.content = content;
    setup.thread = thread;
    return setup;
}

ProgramRun::ProgramRun(Setup setup)
    : m_profilePath(setup.profilePath.empty() ? m_dir.File("EKView.conf") : setup.profilePath) {
    if (!setup.profileText.empty()) {
        std::filesystem::create_directories(std::filesystem::path(m_profilePath).parent_path());
        WriteFile(m_profilePath, setup.profileText);
    }
    if (!setup.mailbox.empty()) {
        WriteFile(MailboxPath(), setup.mailbox);
        setup.args.push_back(MailboxPath());
    }
    CEKViewApp::Options options;
    options.profilePath = m_profilePath;
    options.chooseFile = std::move(setup.chooseFile);
    if (setup.content == Pane::Stub) {
        options.panes.createContent = [this](PaneHost&, wxWindow* parent) {
            m_stubContent = new StubContentPane(parent);
            return m_stubContent;
        };
    } else if (setup.content == Pane::Real) {
        options.panes.createContent = [this](PaneHost& frame, wxWindow* parent) {
            m_content = new CEKContentView(frame, parent);
            return m_content;
        };
    }
    if (setup.thread == Pane::Stub) {
        options.panes.createThread = [this](PaneHost&, wxWindow* parent) {
            m_stubThread = new StubThreadPane(parent);
            return m_stubThread;
        };
    } else if (setup.thread == Pane::Real) {
        options.panes.createThread = [this](PaneHost& frame, wxWindow* parent) {
            m_thread = new CEKThreadView(frame, parent);
            return m_thread;
        };
    }
    m_app = std::make_unique<CEKViewApp>(std::move(options));
    m_started = m_app->InitInstance(ParseCommandLine(setup.args));
    if (m_started) {
        RunPending();
    }
}

ProgramRun::~ProgramRun() {
    if (m_started && !m_closed) {
        Close();
    }
}

CMainFrame& ProgramRun::Frame() {
    CMainFrame* frame = m_app->GetMainFrame();
    if (frame == nullptr) {
        throw std::logic_error("the program has no main frame");
    }
    return *frame;
}

CEKContentView& ProgramRun::ContentView() {
    if (m_content == nullptr) {
        throw std::logic_error("the run has no real text pane");
    }
    return *m_content;
}

CEKThreadView& ProgramRun::ThreadView() {
    if (m_thread == nullptr) {
        throw std::logic_error("the run has no real thread list");
    }
    return *m_thread;
}

void ProgramRun::Command(int id) {
    ASSERT_TRUE(Frame().ExecuteCommand(id)) << id;
    RunPending();
}

void ProgramRun::Close() {
    m_closed = true;
    if (CMainFrame* frame = m_app->GetMainFrame()) {
        frame->Close();
    }
    RunPending();
    EXPECT_EQ(m_app->GetMainFrame(), nullptr) << "the main frame outlived its closing";
    m_app->ExitInstance();
    m_stubContent = nullptr;
    m_stubThread = nullptr;
    m_content = nullptr;
    m_thread = nullptr;
}

std::unique_ptr<ProgramRun> ProgramTest::Start(std::vector<std::string> args, Pane content,
                                               Pane thread) {
    ProgramRun::Setup setup;
    setup.profilePath = Profile();
    setup.args = std::move(args);
    setup.content = content;
    setup.thread = thread;
    setup.chooseFile = [this](wxWindow*) { return chosenFile; };
    return std::make_unique<ProgramRun>(std::move(setup));
}

void SearchWindowTest::Start(ProgramRun::Setup setup) {
    run = std::make_unique<ProgramRun>(std::move(setup));
    ASSERT_TRUE(run->Started());
}

CSearchDlg& SearchWindowTest::Dlg() {
    CSearchDlg* dialog = Frame().GetSearchDlg();
    if (dialog == nullptr) {
        throw std::logic_error("the search window is not open");
    }
    return *dialog;
}

CSearchResultsCtrl& SearchWindowTest::Results() {
    return *Dlg().ResultsCtrl();
}

void SearchWindowTest::OpenWindow() {
    Command(ID_MAIL_SEARCH);
    ASSERT_NE(Frame().GetSearchDlg(), nullptr);
    ASSERT_TRUE(Dlg().IsShown());
}

void SearchWindowTest::Search(const std::string& utf8, int fieldChoice) {
    Dlg().FieldCtrl()->SetSelection(fieldChoice);
    Dlg().QueryCtrl()->ChangeValue(wxString::FromUTF8(utf8));
    wxCommandEvent enter(wxEVT_TEXT_ENTER, Dlg().QueryCtrl()->GetId());
    enter.SetEventObject(Dlg().QueryCtrl());
    Dlg().QueryCtrl()->GetEventHandler()->ProcessEvent(enter);
}

void SearchWindowTest::Finish() {
    // The workers' results arrive through the event queue.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Dlg().Run().Running() && std::chrono::steady_clock::now() < end) {
        RunPending();
        wxMilliSleep(2);
    }
    RunPending();
    ASSERT_FALSE(Dlg().Run().Running());
}

std::vector<int> SearchWindowTest::ShownResults() {
    std::vector<int> shown;
    for (long row = 0; row < Results().GetItemCount(); ++row) {
        shown.push_back(Results().MessageOfRow(row));
    }
    return shown;
}

}  // namespace ek::test
