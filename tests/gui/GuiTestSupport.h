// Running the real windows in a test: the program's application object on a
// temporary profile, message boxes answered by the test, the real or stand-in panes
// for the text pane and the thread list, and event dispatch without fixed sleeps.
#pragma once

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/app/EKViewApp.h"
#include "gui/frame/SearchDlg.h"
#include "gui/frame/SearchResultsCtrl.h"
#include "gui/platform/MessageBox.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "shell/Panes.h"
#include "tests/support/TestSupport.h"

namespace ek::test {

// Whether the tests run with a display; set by the test main.
bool HaveDisplay();

#define EKVIEW_REQUIRE_DISPLAY()                          \
    do {                                                  \
        if (!::ek::test::HaveDisplay()) {                 \
            GTEST_SKIP() << "no DISPLAY: run under Xvfb"; \
        }                                                 \
    } while (false)

std::string SamplePath();

// Answers every message box with OK and keeps its text.
class MessageBoxRecorder : public MessageBoxUi {
  public:
    void Show(wxWindow* parent, const std::string& text, const std::string& caption,
              MessageIcon icon) override;
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
};

// Handles the pending events, posted commands and idle work until none is left.
void RunPending();

// Serves ID_VIEW_ALLHEADER, ID_FILE_SAVE and ID_FILE_PRINT, counting what reaches it,
// so that a test sees which commands pass the gate.
class StubContentPane : public wxPanel, public CContentPane {
  public:
    explicit StubContentPane(wxWindow* parent);
    void OnInitialUpdate() override { ++initialUpdates; }
    wxWindow* GetPaneWindow() override { return this; }
    void ShowMessage(int index) override { shown.push_back(index); }
    void SetQuoteSettings(const QuoteSettings& settings) override { quote = settings; }

    int initialUpdates = 0;
    std::vector<int> shown;
    std::vector<int> commands;
    QuoteSettings quote;
};

class StubThreadPane : public wxPanel, public CListPane {
  public:
    explicit StubThreadPane(wxWindow* parent) : wxPanel(parent) {}
    void OnInitialUpdate() override { ++initialUpdates; }
    wxWindow* GetPaneWindow() override { return this; }
    bool CanGoNext() const override { return false; }
    bool CanGoPrev() const override { return false; }
    void GoNext() override {}
    void GoPrev() override {}

    int initialUpdates = 0;
};

// One message of a mailbox, written in UTF-8 and stored in CP932: the start pair and
// Date of 09:`minute` on one day, then `header`, a blank line and `body`.
std::string MinuteMessage(int minute, const std::string& header, const std::string& body);

// The progress dialog while it is shown.
wxDialog* FindProgressDialog();

// Handles events until `done` holds or `patience` has passed; whether it held.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds patience = std::chrono::seconds(5));

// Enter in a list, into the window that holds its rows: the key, then its character.
void PressEnterInRows(wxListCtrl& list);

// Which pane the program gets: none, a stand-in that records what reaches it, or the
// program's own.
enum class Pane { None, Stub, Real };

// One run of the program: start-up on a profile in a temporary folder of its own,
// then closing as the user closes the window.
class ProgramRun {
  public:
    struct Setup {
        std::string profilePath;  // empty: EKView.conf in the run's folder
        std::string profileText;  // written to the profile before the start when not empty
        std::string mailbox;      // written to MailboxPath() and opened when not empty
        std::vector<std::string> args;
        Pane content = Pane::Stub;
        Pane thread = Pane::Stub;
        std::function<std::optional<std::string>(wxWindow*)> chooseFile;
    };

    explicit ProgramRun(Setup setup);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return m_started; }
    CEKViewApp& App() { return *m_app; }
    CMainFrame& Frame();
    CEKViewDoc& Doc() { return m_app->GetDocManager().GetDocument(); }
    int Current() { return Doc().m_nCurrent; }
    const TempDir& Dir() const { return m_dir; }
    const std::string& ProfilePath() const { return m_profilePath; }
    std::string MailboxPath() const { return m_dir.File("box.mbx"); }
    MessageBoxRecorder& Boxes() { return m_boxes; }
    // The stand-in panes (Pane::Stub), null otherwise.
    StubContentPane* Content() const { return m_stubContent; }
    StubThreadPane* Thread() const { return m_stubThread; }
    // The program's own panes (Pane::Real).
    CEKContentView& ContentView();
    CEKThreadView& ThreadView();

    // Runs a command of the frame, expecting it to be enabled, and what it posted.
    void Command(int id);

    // Closes the main window and ends the run as the program does at exit.
    void Close();

  private:
    TempDir m_dir;
    std::string m_profilePath;
    MessageBoxRecorder m_boxes;
    ScopedMessageBoxUi m_boxScope{m_boxes};
    std::unique_ptr<CEKViewApp> m_app;
    StubContentPane* m_stubContent = nullptr;
    StubThreadPane* m_stubThread = nullptr;
    CEKContentView* m_content = nullptr;
    CEKThreadView* m_thread = nullptr;
    bool m_started = false;
    bool m_closed = false;
};

// A run on `mailbox`, written to the run's MailboxPath(), with these panes and profile.
ProgramRun::Setup MailboxSetup(std::string mailbox, Pane content, Pane thread,
                               std::string profileText = {});

// A test that starts the program, once or more, on a profile in a folder of its own.
class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }

    // The program on `args` with these panes, the test's profile, and `chosenFile` as
    // the user's answer to the open dialog.
    std::unique_ptr<ProgramRun> Start(std::vector<std::string> args = {}, Pane content = Pane::Stub,
                                      Pane thread = Pane::Stub);
    virtual std::string Profile() const { return dir.File("EKView.conf"); }

    TempDir dir;
    std::optional<std::string> chosenFile;
};

// A test of the search window on a run of the program: opening it, typing a query
// with Enter, letting its search finish, and the messages of its rows.
class SearchWindowTest : public ::testing::Test {
  protected:
    // Starts the run (from SetUp, once a display is known to be there).
    void Start(ProgramRun::Setup setup);
    void TearDown() override { run.reset(); }

    CMainFrame& Frame() { return run->Frame(); }
    CEKViewDoc& Doc() { return run->Doc(); }
    CSearchDlg& Dlg();
    CSearchResultsCtrl& Results();
    void Command(int id) { run->Command(id); }
    void OpenWindow();
    void Search(const std::string& utf8, int fieldChoice = 0);
    // Lets the window's idle work run until its search has finished.
    void Finish();
    std::vector<int> ShownResults();

    std::unique_ptr<ProgramRun> run;
};

}  // namespace ek::test
