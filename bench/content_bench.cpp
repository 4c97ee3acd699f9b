// The text pane on a real window (under Xvfb): showing one message of 20,000 lines
// full of web addresses, mail addresses, quoted lines and Japanese text, from
// ShowMessage to the control painted, against computing its style runs alone and
// against placing the same text without styles; then a jump to the end painted,
// and the memory the pane holds for the message against the size of its text; and the
// same message shown with the decoded view on, against the stored view's time.
// Usage: content_bench [LINES [ROUNDS]]   (DISPLAY must be set)
#include <malloc.h>
#include <wx/stc/stc.h>
#include "bench/GuiBench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "core/views/ContentFormat.h"
#include "core/views/FirstPart.h"
#include "gui/app/EKViewApp.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/views/ContentView.h"
#include "shell/Resource.h"

namespace {

using ek::bench::SecondsSince;

std::string LongMessage(int lines) {
    std::string text =
        "From - Mon Apr 03 09:15:00 2000\nX-EKMail-Status: 0001\n"
        "Date: Mon, 03 Apr 2000 09:15:00 +0900\nFrom: 山田 太郎 <taro@example.jp>\n"
        "To: 開発チーム <dev@example.jp>\nSubject: 長いメールの表示\n\n";
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 5) {
            case 0:
                text += "> 引用された行 " + n + " http://www.example.com/path/" + n + " 宛先 u" +
                        n + "@example.jp\n";
                break;
            case 1:
                text += "本文の行 " + n + " 資料は http://example.jp/doc/" + n + ".html です。\n";
                break;
            case 2:
                text += "連絡先は user." + n + "@example.co.jp までお願いします。\n";
                break;
            case 3:
                text += ">> 二重に引用された行 " + n + "\n";
                break;
            default:
                text += "打ち合わせの日程について、皆さんのご都合をお知らせください。" + n + "\n";
                break;
        }
    }
    return ek::cp932::FromUtf8(text);
}

struct Figures {
    double show = 0;
    double painted = 0;
    double textAlone = 0;
    double logicAlone = 0;
    double toEnd = 0;
    double decodedPainted = 0;
    long bytes = 0;
    long heap = 0;
    std::size_t runs = 0;
};

// The bytes the process holds from the heap, mapped blocks included: what the pane
// keeps is the growth from before ShowMessage to after it, its temporaries freed.
long HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

bool Measure(const std::string& mailbox, const std::string& profile, Figures& figures) {
    ek::CEKContentView* content = nullptr;
    ek::CEKViewApp::Options options;
    options.profilePath = profile;
    options.panes.createContent = [&content](ek::PaneHost& frame, wxWindow* parent) {
        content = new ek::CEKContentView(frame, parent);
        return content;
    };
    ek::CEKViewApp app(options);
    if (!app.InitInstance(ek::ParseCommandLine({mailbox}))) {
        return false;
    }
    ek::DispatchPendingEvents();
    ek::CMainFrame* frame = app.GetMainFrame();
    ek::CEKViewDoc& doc = app.GetDocManager().GetDocument();
    // Before the pane shows anything: bringing it up shows the message a first time.
    const long heapBefore = HeapBytes();
    if (content == nullptr || !frame->ExecuteCommand(ek::ID_VIEW_CONTENT)) {
        return false;
    }
    frame->Update();
    ek::DispatchPendingEvents();

    wxStyledTextCtrl* text = content->GetTextCtrl();
    auto start = std::chrono::steady_clock::now();
    content->ShowMessage(0);
    figures.show = SecondsSince(start);
    frame->Update();
    ek::DispatchPendingEvents();
    figures.painted = SecondsSince(start);
    figures.heap = HeapBytes() - heapBefore;
    figures.bytes = text->GetLength();

    // A jump to the last line, as Ctrl+End or the scroll bar's end does, painted.
    start = std::chrono::steady_clock::now();
    text->SetFirstVisibleLine(text->GetLineCount() - 1);
    text->Update();
    figures.toEnd = SecondsSince(start);

    // The same lines through the toolkit-free steps, then the same text placed
    // without any style.
    std::vector<std::string> lines;
    doc.GetMessageLines(0, lines, true);
    start = std::chrono::steady_clock::now();
    ek::ContentDisplay display =
        ek::PrepareContentDisplay(lines, ek::JoinLines(lines), false, ek::cp932::FromUtf8("> ＞"));
    figures.logicAlone = SecondsSince(start);
    figures.runs = display.runs.size();
    const std::string utf8 = ek::ToUtf8Display(display.text, {}).text;
    start = std::chrono::steady_clock::now();
    text->SetReadOnly(false);
    text->SetTextRaw(utf8.c_str());
    text->SetReadOnly(true);
    frame->Update();
    ek::DispatchPendingEvents();
    figures.textAlone = SecondsSince(start);

    // The decoded view goes through the MIME layer first; it is switched off again so
    // that the profile the next round reads keeps the stored view.
    content->SetDecoded(true);
    frame->Update();
    ek::DispatchPendingEvents();
    start = std::chrono::steady_clock::now();
    content->ShowMessage(0);
    frame->Update();
    ek::DispatchPendingEvents();
    figures.decodedPainted = SecondsSince(start);
    content->SetDecoded(false);

    ek::bench::CloseProgram(*frame, app);
    return true;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ek::bench::BenchApp);

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    auto dir = std::filesystem::temp_directory_path() / "ekview-content-bench";
    std::filesystem::create_directories(dir);
    const std::string mailbox = (dir / "long.mbx").string();
    const std::string profile = (dir / "EKView.conf").string();
    std::ofstream(mailbox, std::ios::binary) << LongMessage(lines);
    std::ofstream(profile) << "[Settings]\nQuote=> ＞\nQuoteClr=12582912\nMailClr=32768\n"
                              "HttpClr=255\n";

    wxApp::SetInstance(new ek::bench::BenchApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "content_bench: no display\n");
        return 1;
    }
    Figures best;
    best.show = best.painted = best.textAlone = best.logicAlone = best.toEnd = 1e9;
    best.decodedPainted = 1e9;
    for (int round = 0; round < rounds; ++round) {
        Figures figures;
        if (!Measure(mailbox, profile, figures)) {
            std::fprintf(stderr, "content_bench: the pane could not show the message\n");
            return 1;
        }
        best.show = std::min(best.show, figures.show);
        best.painted = std::min(best.painted, figures.painted);
        best.textAlone = std::min(best.textAlone, figures.textAlone);
        best.logicAlone = std::min(best.logicAlone, figures.logicAlone);
        best.toEnd = std::min(best.toEnd, figures.toEnd);
        best.decodedPainted = std::min(best.decodedPainted, figures.decodedPainted);
        best.bytes = figures.bytes;
        best.heap = std::max(best.heap, figures.heap);
        best.runs = figures.runs;
    }
    std::printf("message: %d body lines, %ld bytes of UTF-8 text, %zu style runs\n", lines,
                best.bytes, best.runs);
    std::printf("text placed alone, painted:       %8.3f s\n", best.textAlone);
    std::printf("lines to runs (no toolkit):       %8.3f s\n", best.logicAlone);
    std::printf("ShowMessage:                      %8.3f s\n", best.show);
    std::printf("ShowMessage to painted:           %8.3f s\n", best.painted);
    std::printf("jump to the end, painted:         %8.4f s\n", best.toEnd);
    std::printf("decoded view, shown and painted:  %8.3f s  (%+.3f s to the stored view)\n",
                best.decodedPainted, best.decodedPainted - best.painted);
    std::printf("ratio to the runs alone:          %8.2f\n", best.painted / best.logicAlone);
    std::printf("ratio to the text placed alone:   %8.2f\n", best.painted / best.textAlone);
    std::printf("pane memory / text bytes:         %8.2f (%ld of %ld bytes)\n",
                static_cast<double>(best.heap) / static_cast<double>(best.bytes), best.heap,
                best.bytes);
    wxEntryCleanup();
    std::filesystem::remove_all(dir);
    return 0;
}
