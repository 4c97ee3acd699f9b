#include "core/document/SplitPoint.h"

#include <cstring>

#include "core/document/EKViewDoc.h"

namespace ek {

namespace {

// Ends the text where it stands, even inside a line: a start line cut by one is no
// start line for the whole read, whose last message takes the cut line. (A status
// line cut after its prefix still opens the message in both reads.)
constexpr char kTextEnd = '\x1a';

// The line at `at` without its CR LF, and where the next line begins (npos when the
// line has no LF).
std::string_view LineAt(const char* data, std::size_t size, std::size_t at, std::size_t& next) {
    const void* lf = std::memchr(data + at, '\n', size - at);
    if (lf == nullptr) {
        next = std::string_view::npos;
        return std::string_view(data + at, size - at);
    }
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
    next = end + 1;
    return std::string_view(data + at, end > at && data[end - 1] == '\r' ? end - 1 - at : end - at);
}

// Whether the line ended by the LF at `lf` is a message-start line.
bool EndsStartLine(const char* data, std::size_t lf) {
    const std::size_t end = lf > 0 && data[lf - 1] == '\r' ? lf - 1 : lf;
    if (end < kStartLineLength) {
        return false;
    }
    const std::size_t begin = end - kStartLineLength;
    return (begin == 0 || data[begin - 1] == '\n') &&
           CEKViewDoc::IsMessageStart(std::string_view(data + begin, kStartLineLength));
}

}  // namespace

std::size_t FindSplitPoint(std::string_view text) {
    static constexpr std::string_view kStartAfterLf = "\nFrom - ";
    const char* data = text.data();
    const std::size_t size = text.size();
    for (std::size_t hit = text.find(kStartAfterLf, size / 2); hit != std::string_view::npos;
         hit = text.find(kStartAfterLf, hit + 1)) {
        const std::size_t start = hit + 1;
        if (EndsStartLine(data, hit)) {
            continue;
        }
        std::size_t statusAt = 0;
        const std::string_view startLine = LineAt(data, size, start, statusAt);
        if (!CEKViewDoc::IsMessageStart(startLine) || statusAt == std::string_view::npos ||
            startLine.find(kTextEnd) != std::string_view::npos) {
            continue;
        }
        std::size_t after = 0;
        if (CEKViewDoc::IsStatusLine(LineAt(data, size, statusAt, after))) {
            return start;
        }
    }
    return 0;
}

}  // namespace ek
