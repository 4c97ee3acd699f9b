// The program's entry: --help and --version answer without a display; everything
// else starts the window.
#include <wx/app.h>
#include <wx/image.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gui/app/CloseOnRequest.h"
#include "gui/app/EKViewApp.h"
#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "shell/CommandLine.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// The arguments as given, for those the toolkit received as stand-ins.
ek::ArgumentShield g_arguments;

}  // namespace

namespace ek {

// Outside the unnamed namespace: the wxGetApp() that wxIMPLEMENT_APP_NO_MAIN defines
// for the class would be local there, and unused.
class EKViewWxApp : public wxApp {
  public:
    bool OnInit() override {
        // wxWidgets has taken its own toolkit options out of argv by now.
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i) {
            args.push_back(g_arguments.Restore(ek::ToUtf8(argv[i])));
        }
        ek::CommandLineInfo info = ek::ParseCommandLine(args);
        if (info.action == ek::CommandLineInfo::Action::Error) {
            std::fprintf(stderr, "ekview: %s\nTry 'ekview --help'.\n", info.error.c_str());
            return false;
        }
        SetAppName("EKView");
        SetVendorName("Ubrik");
        wxInitAllImageHandlers();
        ek::UseSlightHintingWhereUnset();
        ek::KeepMinchoStrokes();
        ek::CEKViewApp::Options options;
        options.panes.createContent = ek::CreateContentView;
        options.panes.createThread = ek::CreateThreadView;
        m_app = std::make_unique<ek::CEKViewApp>(std::move(options));
        // Log-out and stop signals close the window as the user does, settings and all.
        m_closeOnRequest = std::make_unique<ek::CloseOnRequest>(
            *this, [this]() -> wxWindow* { return m_app ? m_app->GetMainFrame() : nullptr; });
        return m_app->InitInstance(info);
    }

    int OnExit() override {
        m_closeOnRequest.reset();
        if (m_app) {
            m_app->ExitInstance();
            m_app.reset();
        }
        return wxApp::OnExit();
    }

  private:
    std::unique_ptr<ek::CEKViewApp> m_app;
    std::unique_ptr<ek::CloseOnRequest> m_closeOnRequest;
};

}  // namespace ek

wxIMPLEMENT_APP_NO_MAIN(ek::EKViewWxApp);

int main(int argc, char** argv) {
    ek::CommandLineInfo info = ek::ParseCommandLine(Arguments(argc, argv));
    if (info.action == ek::CommandLineInfo::Action::Help) {
        std::fputs(ek::UsageText("ekview").c_str(), stdout);
        return 0;
    }
    if (info.action == ek::CommandLineInfo::Action::Version) {
        std::fputs(ek::VersionText().c_str(), stdout);
        return 0;
    }
#ifdef _WIN32
    // wxWidgets reads the wide command line there; nothing is lost.
    return wxEntry(argc, argv) == 0 ? 0 : 1;
#else
    if (argc < 1) {
        return wxEntry(argc, argv) == 0 ? 0 : 1;
    }
    g_arguments = ek::ArgumentShield(Arguments(argc, argv));
    std::vector<std::string> shielded = g_arguments.ForToolkit();
    std::vector<char*> toolkitArgv = {argv[0]};
    for (std::string& arg : shielded) {
        toolkitArgv.push_back(arg.data());
    }
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArgv.size()) - 1;
    return wxEntry(toolkitArgc, toolkitArgv.data()) == 0 ? 0 : 1;
#endif
}
