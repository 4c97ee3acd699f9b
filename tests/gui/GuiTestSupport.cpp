#include "GuiTestSupport.h"

#include <wx/app.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/frame/ProgressWindow.h"
#include "shell/Resource.h"

namespace ek::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ekview-gui-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

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

ProgramRun::ProgramRun(Setup setup) {
    CEKViewApp::Options options;
    options.profilePath = setup.profilePath;
    options.chooseFile = setup.chooseFile;
    if (setup.stubPanes) {
        options.panes.createContent = [this](PaneHost&, wxWindow* parent) {
            m_content = new StubContentPane(parent);
            return m_content;
        };
        options.panes.createThread = [this](PaneHost&, wxWindow* parent) {
            m_thread = new StubThreadPane(parent);
            return m_thread;
        };
    }
    m_app = std::make_unique<CEKViewApp>(std::move(options));
    CommandLineInfo info = ParseCommandLine(setup.args);
    m_started = m_app->InitInstance(info);
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

void ProgramRun::Close() {
    m_closed = true;
    if (CMainFrame* frame = m_app->GetMainFrame()) {
        frame->Close();
    }
    RunPending();
    EXPECT_EQ(m_app->GetMainFrame(), nullptr) << "the main frame outlived its closing";
    m_app->ExitInstance();
    m_content = nullptr;
    m_thread = nullptr;
}

}  // namespace ek::test
