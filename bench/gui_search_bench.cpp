// The search window on a real window (under Xvfb), the mailbox already open: from
// Enter to the last result shown, with the window's events handled and its results
// repainted between slices, against the same search by the logic alone in one go;
// the stored text first, then the decoded text with the decoded view on.
// Usage: gui_search_bench MAILBOX   (DISPLAY must be set)
#include <wx/choice.h>
#include <wx/evtloop.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/GuiBench.h"
#include "core/document/MailSearch.h"
#include "gui/app/EKViewApp.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/frame/SearchDlg.h"
#include "gui/views/ContentView.h"
#include "shell/DecodedView.h"
#include "shell/Resource.h"

namespace {

using ek::bench::SecondsSince;
using Clock = std::chrono::steady_clock;

// The process's CPU seconds: on a machine shared with other work the wall time
// includes waits for a core, the CPU time does not.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Word {
    const char* query;  // UTF-8
    ek::search::SearchField field;
    const char* label;
    bool decoded = false;
};

constexpr Word kWords[] = {
    {"meeting", ek::search::SearchField::All, "meeting, all fields"},
    {"zebra", ek::search::SearchField::All, "zebra (absent), all fields"},
    {"神戸", ek::search::SearchField::All, "神戸, all fields"},
    {"神戸", ek::search::SearchField::Subject, "神戸, subject"},
    {"meeting", ek::search::SearchField::Body, "decoded: meeting, body", true},
    {"神戸", ek::search::SearchField::Body, "decoded: 神戸, body", true},
    {"神戸", ek::search::SearchField::Subject, "decoded: 神戸, subject", true},
    {"神戸", ek::search::SearchField::All, "decoded: 神戸, all fields", true},
};

double LogicAlone(const ek::CEKViewDoc& doc, const Word& word, std::size_t& found, double& cpu) {
    ek::search::RawFieldText raw(doc);
    std::unique_ptr<ek::search::FieldTextProvider> decoded;
    if (word.decoded) {
        decoded = ek::MakeDecodedFieldText(doc);
    }
    ek::search::FieldTextProvider& text = decoded ? *decoded : raw;
    auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    ek::search::MailSearch search(ek::search::CompileQuery(word.query, text.Encoding()), word.field,
                                  text, 0, doc.GetMessageCount());
    search.RunSlice(SIZE_MAX);
    found = search.Results().size();
    cpu = CpuSeconds() - cpuStart;
    return SecondsSince(start);
}

struct WindowFigures {
    double seconds = 1e9;
    double cpu = 0;
    double longestTurn = 0;
    int turns = 0;
    std::size_t found = 0;
};

void InWindow(ek::CSearchDlg& dlg, const Word& word, WindowFigures& figures) {
    dlg.FieldCtrl()->SetSelection(static_cast<int>(word.field));
    dlg.QueryCtrl()->ChangeValue(wxString::FromUTF8(word.query));
    // The window's own event loop runs, waiting for input or the workers' results as
    // the program does. Each idle event is a turn of it, where input and painting are
    // handled; the longest gap between two is how long it was deaf.
    wxGUIEventLoop loop;
    double longest = 0;
    int turns = 0;
    auto lastTurn = Clock::now();
    auto onIdle = [&](wxIdleEvent& event) {
        longest = std::max(longest, SecondsSince(lastTurn));
        lastTurn = Clock::now();
        ++turns;
        event.Skip();
        if (!dlg.Run().Running()) {
            loop.ScheduleExit();
        }
    };
    // Keeps the loop turning while the workers are quiet, as a repaint or a key would.
    wxTimer pulse;
    pulse.Bind(wxEVT_TIMER, [](wxTimerEvent&) {});
    dlg.Bind(wxEVT_IDLE, onIdle);
    auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    lastTurn = start;
    dlg.StartSearch();
    pulse.Start(20);
    loop.Run();
    pulse.Stop();
    dlg.Unbind(wxEVT_IDLE, onIdle);
    dlg.Update();
    double seconds = SecondsSince(start);
    if (seconds < figures.seconds) {
        figures = {seconds, CpuSeconds() - cpuStart, longest, turns, dlg.Run().Results().size()};
    }
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ek::bench::BenchApp);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_search_bench MAILBOX\n");
        return 2;
    }
    auto profileDir = std::filesystem::temp_directory_path() / "ekview-search-bench";
    std::filesystem::create_directories(profileDir);
    wxApp::SetInstance(new ek::bench::BenchApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "gui_search_bench: no display\n");
        return 1;
    }
    ek::CEKViewApp::Options options;
    options.profilePath = (profileDir / "EKView.conf").string();
    // The text pane holds the decoded view's switch.
    options.panes.createContent = ek::CreateContentView;
    ek::CEKViewApp app(options);
    ek::CommandLineInfo info;
    info.fileName = argv[1];
    bool ok = app.InitInstance(info);
    ek::CMainFrame* frame = ok ? app.GetMainFrame() : nullptr;
    if (frame != nullptr) {
        ek::DispatchPendingEvents();
        frame->ExecuteCommand(ek::ID_MAIL_SEARCH);
        ek::CSearchDlg* dlg = frame->GetSearchDlg();
        const ek::CEKViewDoc& doc = app.GetDocManager().GetDocument();
        std::printf("%d messages; best of 3 runs each\n", doc.GetMessageCount());
        std::printf("%-28s %9s %9s %9s %9s %7s %7s %11s %8s\n", "query", "logic", "cpu", "window",
                    "cpu", "ratio", "turns", "longest", "found");
        for (const Word& word : kWords) {
            if (word.decoded != frame->IsDecodedView()) {
                frame->ExecuteCommand(ek::ID_VIEW_DECODE);
                ek::DispatchPendingEvents();
                if (word.decoded != dlg->SearchesDecoded()) {
                    std::fprintf(stderr, "gui_search_bench: no decoded view\n");
                    ok = false;
                    break;
                }
            }
            double alone = 1e9;
            double aloneCpu = 1e9;
            std::size_t found = 0;
            WindowFigures figures;
            for (int round = 0; round < 3; ++round) {
                double cpu = 0;
                alone = std::min(alone, LogicAlone(doc, word, found, cpu));
                aloneCpu = std::min(aloneCpu, cpu);
                InWindow(*dlg, word, figures);
            }
            ok = ok && found == figures.found;
            std::printf("%-28s %8.3fs %8.3fs %8.3fs %8.3fs %7.2f %7d %10.3fs %8zu\n", word.label,
                        alone, aloneCpu, figures.seconds, figures.cpu, figures.seconds / alone,
                        figures.turns, figures.longestTurn, figures.found);
        }
        ek::bench::CloseProgram(*frame, app);
    }
    wxEntryCleanup();
    std::filesystem::remove_all(profileDir);
    return ok ? 0 : 1;
}
