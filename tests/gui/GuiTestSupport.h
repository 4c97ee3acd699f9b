// Running the real windows in a test: the program's application object on a
// temporary profile, message boxes answered by the test, stand-in panes for the
// text pane and the thread list, and event dispatch without sleeps.
#pragma once

#include <gtest/gtest.h>
#include <wx/panel.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/app/EKViewApp.h"
#include "gui/platform/MessageBox.h"
#include "shell/Panes.h"

namespace ek::test {

// Whether the tests run with a display; set by the test main.
bool HaveDisplay();

#define EKVIEW_REQUIRE_DISPLAY()                          \
    do {                                                  \
        if (!::ek::test::HaveDisplay()) {                 \
            GTEST_SKIP() << "no DISPLAY: run under Xvfb"; \
        }                                                 \
    } while (false)

// A folder removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
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

// One run of the program: start-up on a profile file, then closing as the user
// closes the window.
class ProgramRun {
  public:
    struct Setup {
        std::string profilePath;
        std::vector<std::string> args;
        bool stubPanes = true;
        std::function<std::optional<std::string>(wxWindow*)> chooseFile;
    };

    explicit ProgramRun(Setup setup);
    ~ProgramRun();

    bool Started() const { return m_started; }
    CEKViewApp& App() { return *m_app; }
    CMainFrame& Frame();
    CEKViewDoc& Doc() { return m_app->GetDocManager().GetDocument(); }
    StubContentPane* Content() const { return m_content; }
    StubThreadPane* Thread() const { return m_thread; }
    MessageBoxRecorder& Boxes() { return m_boxes; }

    // Closes the main window and ends the run as the program does at exit.
    void Close();

  private:
    MessageBoxRecorder m_boxes;
    ScopedMessageBoxUi m_boxScope{m_boxes};
    std::unique_ptr<CEKViewApp> m_app;
    StubContentPane* m_content = nullptr;
    StubThreadPane* m_thread = nullptr;
    bool m_started = false;
    bool m_closed = false;
};

}  // namespace ek::test
