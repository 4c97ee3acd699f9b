// The thread list's build on a real window (under Xvfb): from its update to the
// rows set, row 0 selected and the list painted, against the thread order alone
// on the same document.
// Usage: thread_view_bench MAILBOX   (DISPLAY must be set)
#include "bench/GuiBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "gui/app/EKViewApp.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/views/ThreadView.h"
#include "shell/Resource.h"

namespace {

using ek::bench::SecondsSince;

struct Figures {
    double order = 1e9;
    double build = 1e9;
    double shown = 1e9;
    long rows = 0;
};

bool Measure(const std::string& path, const std::string& profile, Figures& figures) {
    ek::CEKViewApp::Options options;
    options.profilePath = profile;
    ek::CEKThreadView* thread = nullptr;
    options.panes.createThread = [&thread](ek::PaneHost& frame, wxWindow* parent) {
        thread = new ek::CEKThreadView(frame, parent);
        return thread;
    };
    ek::CEKViewApp app(options);
    ek::CommandLineInfo info;
    info.fileName = path;
    if (!app.InitInstance(info) || thread == nullptr) {
        return false;
    }
    ek::DispatchPendingEvents();
    ek::CMainFrame* frame = app.GetMainFrame();
    const ek::CEKViewDoc& doc = app.GetDocManager().GetDocument();
    for (int round = 0; round < 3; ++round) {
        auto start = std::chrono::steady_clock::now();
        auto order = ek::BuildThreadOrder(doc, nullptr);
        figures.order = std::min(figures.order, SecondsSince(start));

        start = std::chrono::steady_clock::now();
        thread->OnInitialUpdate();
        figures.build = std::min(figures.build, SecondsSince(start));

        start = std::chrono::steady_clock::now();
        frame->ExecuteCommand(ek::ID_VIEW_THREAD);
        frame->Update();
        ek::DispatchPendingEvents();
        figures.shown = std::min(figures.shown, SecondsSince(start));
        frame->ExecuteCommand(ek::ID_VIEW_THREAD);
        figures.rows = thread->GetItemCount();
        if (static_cast<long>(order.size()) != figures.rows) {
            return false;
        }
    }
    ek::bench::CloseProgram(*frame, app);
    return true;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ek::bench::BenchApp);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: thread_view_bench MAILBOX\n");
        return 2;
    }
    auto profileDir = std::filesystem::temp_directory_path() / "ekview-thread-bench";
    std::filesystem::create_directories(profileDir);
    std::string profile = (profileDir / "EKView.conf").string();

    wxApp::SetInstance(new ek::bench::BenchApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "thread_view_bench: no display\n");
        return 1;
    }
    Figures figures;
    bool ok = Measure(argv[1], profile, figures);
    if (ok) {
        std::printf("thread order alone:            %8.3f s\n", figures.order);
        std::printf("thread list build:             %8.3f s  (%ld rows)\n", figures.build,
                    figures.rows);
        std::printf("T to the list shown, painted:  %8.3f s\n", figures.shown);
        std::printf("build ratio to the order:      %8.2f\n", figures.build / figures.order);
    }
    wxEntryCleanup();
    std::filesystem::remove_all(profileDir);
    return ok ? 0 : 1;
}
