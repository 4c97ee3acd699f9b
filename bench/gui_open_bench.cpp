// The viewer's open on a real window (under Xvfb): from the open command to the
// subject list ready (rows set, row 0 selected, the window painted), against the
// document's read alone on the same cached file.
// Usage: gui_open_bench MAILBOX   (DISPLAY must be set)
#include "bench/GuiBench.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/document/EKViewDoc.h"
#include "gui/app/EKViewApp.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace {

using ek::bench::SecondsSince;

double ReadAlone(const std::string& path) {
    ek::CEKViewDoc doc;
    auto start = std::chrono::steady_clock::now();
    return doc.OpenMailFile(path) ? SecondsSince(start) : -1;
}

double OpenInWindow(const std::string& path, const std::string& profile, long& rows) {
    ek::CEKViewApp::Options options;
    options.profilePath = profile;
    options.chooseFile = [&path](wxWindow*) { return std::optional<std::string>(path); };
    ek::CEKViewApp app(options);
    if (!app.InitInstance({})) {
        return -1;
    }
    ek::DispatchPendingEvents();
    ek::CMainFrame* frame = app.GetMainFrame();
    auto start = std::chrono::steady_clock::now();
    if (!frame->ExecuteCommand(ek::ID_FILE_OPEN)) {
        return -1;
    }
    frame->Update();
    ek::DispatchPendingEvents();
    double seconds = SecondsSince(start);
    rows = frame->GetTitleView()->GetItemCount();
    ek::bench::CloseProgram(*frame, app);
    return seconds;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ek::bench::BenchApp);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_open_bench MAILBOX\n");
        return 2;
    }
    std::string path = argv[1];
    auto profileDir = std::filesystem::temp_directory_path() / "ekview-gui-bench";
    std::filesystem::create_directories(profileDir);
    std::string profile = (profileDir / "EKView.conf").string();
    // The same open with the decoded view on: rows decode only as they are painted.
    std::string decodedProfile = (profileDir / "Decoded.conf").string();
    {
        std::FILE* file = std::fopen(decodedProfile.c_str(), "w");
        if (file != nullptr) {
            std::fputs("[Settings]\nDecode=1\n", file);
            std::fclose(file);
        }
    }

    wxApp::SetInstance(new ek::bench::BenchApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "gui_open_bench: no display\n");
        return 1;
    }
    // Warm the file cache, then measure each side four times and keep the best.
    ReadAlone(path);
    double read = 1e9;
    double open = 1e9;
    double decodedOpen = 1e9;
    long rows = 0;
    // The two opens take turns at going first: the second of a pair pays for the
    // pages the first one gave back, which made the later one look slower.
    for (int round = 0; round < 4; ++round) {
        read = std::min(read, ReadAlone(path));
        if (round % 2 == 0) {
            open = std::min(open, OpenInWindow(path, profile, rows));
            decodedOpen = std::min(decodedOpen, OpenInWindow(path, decodedProfile, rows));
        } else {
            decodedOpen = std::min(decodedOpen, OpenInWindow(path, decodedProfile, rows));
            open = std::min(open, OpenInWindow(path, profile, rows));
        }
    }
    std::printf("document read alone:          %8.3f s\n", read);
    std::printf("open command to list ready:   %8.3f s  (%ld rows)\n", open, rows);
    std::printf("ratio to the read alone:      %8.2f\n", open / read);
    std::printf("the same, decoded view on:    %8.3f s  (%.2f x the stored view)\n", decodedOpen,
                decodedOpen / open);
    wxEntryCleanup();
    std::filesystem::remove_all(profileDir);
    return read > 0 && open > 0 ? 0 : 1;
}
