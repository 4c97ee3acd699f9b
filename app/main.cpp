// The program's entry: --help and --version answer without a display; everything
// else starts the window.
#include <wx/app.h>
#include <wx/image.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/CloseOnRequest.h"
#include "app/CommandLine.h"
#include "app/EKViewApp.h"
#include "platform/WxFonts.h"
#include "platform/WxText.h"
#include "views/ContentView.h"
#include "views/ThreadView.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

class EKViewWxApp : public wxApp {
  public:
    bool OnInit() override {
        // wxWidgets has taken its own toolkit options out of argv by now.
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i) {
            args.push_back(ek::ToUtf8(argv[i]));
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

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(EKViewWxApp);

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
    return wxEntry(argc, argv) == 0 ? 0 : 1;
}
