// GetBoundary and the display lines of messages whose header and body are arbitrary
// bytes, against plain transcriptions of the two walks.
#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/platform/Cp932.h"
#include "fuzz/FuzzSupport.h"

namespace {

using Lines = std::vector<std::string>;

// "boundary=" in a copy whose single-byte letters are lowered, found only where a
// character starts.
bool HasBoundary(const std::string& line) {
    std::string lower = line;
    std::vector<bool> starts(lower.size() + 1, false);
    for (std::size_t i = 0; i < lower.size();) {
        starts[i] = true;
        std::size_t length = ek::cp932::CharLength(lower, i);
        if (length == 1) {
            lower[i] = ek::AsciiLower(lower[i]);
        }
        i += length;
    }
    for (std::size_t at = lower.find("boundary="); at != std::string::npos;
         at = lower.find("boundary=", at + 1)) {
        if (starts[at]) {
            return true;
        }
    }
    return false;
}

std::string ReferenceBoundary(const Lines& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "\n") {
            return {};
        }
        if (!ek::StartsWithIgnoringAsciiCase(lines[i], "Content-Type: ")) {
            continue;
        }
        std::string source = lines[i];
        if (!HasBoundary(source)) {
            if (i + 1 == lines.size() || !HasBoundary(lines[i + 1])) {
                return {};
            }
            source = lines[i + 1];
        }
        const std::size_t first = source.find('"');
        const std::size_t last = source.rfind('"');
        if (first == std::string::npos || first == last) {
            return {};
        }
        return "--" + source.substr(first + 1, last - first - 1);
    }
    return {};
}

Lines ReferenceShortLines(const Lines& lines) {
    Lines shown;
    bool body = false;
    for (const std::string& line : lines) {
        body = body || line == "\n";
        bool shortHeader = false;
        for (std::string_view prefix : {"Date: ", "From: ", "Subject: ", "To: "}) {
            shortHeader = shortHeader || std::string_view(line).substr(0, prefix.size()) == prefix;
        }
        if (body || shortHeader) {
            shown.push_back(line);
        }
    }
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ek::CEKViewDoc doc;
    doc.SetPathName("fuzz.mbx");
    const std::string mailbox = "From - Sun Jan 02 15:04:05 2000\nX-EKMail-Status: 0001\n" +
                                std::string(ek::fuzz::AsText(data, size));
    EK_FUZZ_CHECK(doc.ReadMailBytes(mailbox).ok());
    const int count = doc.GetMessageCount();
    EK_FUZZ_CHECK(count >= 1);
    Lines all;
    Lines shown = {"untouched"};
    EK_FUZZ_CHECK(!doc.GetMessageLines(count, shown, true) && shown == Lines{"untouched"});
    EK_FUZZ_CHECK(!doc.GetMessageLines(-1, shown, false) && shown == Lines{"untouched"});
    EK_FUZZ_CHECK(doc.GetBoundary(count).empty() && doc.GetBoundary(-1).empty());
    for (int i = 0; i < count; ++i) {
        EK_FUZZ_CHECK(doc.GetMessageLines(i, all, true));
        for (const std::string& line : all) {
            EK_FUZZ_CHECK(ek::fuzz::IsStoredLine(line));
        }
        EK_FUZZ_CHECK(doc.GetMessageLines(i, shown, false));
        EK_FUZZ_CHECK(shown == ReferenceShortLines(all));
        const std::string boundary = doc.GetBoundary(i);
        EK_FUZZ_CHECK(boundary == ReferenceBoundary(all));
        EK_FUZZ_CHECK(boundary.empty() ||
                      (boundary.starts_with("--") && boundary.find('\n') == std::string::npos));
    }
    return 0;
}
