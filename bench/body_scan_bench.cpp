// The body the decoded view shows, for every message of mailboxes: the boundary scan
// (with the MIME parse where the scan leaves a message to it) against the parse of
// every message, the baseline of the same run. Every scanned body is compared with the
// parsed one; a difference fails the run.
// Usage: body_scan_bench MAILBOX...
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/document/EKViewDoc.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/MimeMessage.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: body_scan_bench MAILBOX...\n");
        return 2;
    }
    int failures = 0;
    std::printf("%-40s %9s %9s %9s %9s %9s %7s\n", "mailbox", "messages", "scanned", "differ",
                "parse", "scan", "ratio");
    for (int arg = 1; arg < argc; ++arg) {
        ek::CEKViewDoc doc;
        doc.SetPathName(argv[arg]);
        doc.m_strMailFile = argv[arg];
        if (!doc.ReadMailFile().ok()) {
            std::fprintf(stderr, "body_scan_bench: cannot read %s\n", argv[arg]);
            return 1;
        }
        const int count = doc.GetMessageCount();
        std::size_t bytes = 0;
        auto start = Clock::now();
        for (int i = 0; i < count; ++i) {
            bytes += ek::mail::DecodeBody(doc.MessageLines(i).text()).size();
        }
        const double parse = SecondsSince(start);
        start = Clock::now();
        for (int i = 0; i < count; ++i) {
            bytes -= ek::mail::DecodeShownBody(doc.MessageLines(i).text()).size();
        }
        const double scan = SecondsSince(start);
        int scanned = 0;
        int differ = 0;
        for (int i = 0; i < count; ++i) {
            const std::string_view text = doc.MessageLines(i).text();
            std::string body;
            if (ek::mail::DecodeScannedBody(text, body)) {
                ++scanned;
                if (body != ek::mail::DecodeBody(text)) {
                    ++differ;
                    std::fprintf(stderr, "%s: message %d differs\n", argv[arg], i);
                }
            }
        }
        failures += differ + (bytes != 0 ? 1 : 0);
        std::string name = argv[arg];
        name = name.substr(name.find_last_of('/') + 1);
        std::printf("%-40s %9d %9d %9d %8.3fs %8.3fs %7.2f\n", name.c_str(), count, scanned, differ,
                    parse, scan, scan / (parse > 0 ? parse : 1e-9));
    }
    return failures == 0 ? 0 : 1;
}
