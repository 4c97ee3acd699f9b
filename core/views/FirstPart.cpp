#include "core/views/FirstPart.h"

#include <algorithm>

namespace ek {

namespace {

bool BeginsWith(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && line.substr(0, prefix.size()) == prefix;
}

template <typename Line>
std::size_t HeaderEnd(const std::vector<Line>& lines) {
    auto blank = std::find_if(lines.begin(), lines.end(),
                              [](const Line& line) { return BeginsWith(line, "\n"); });
    return static_cast<std::size_t>(blank - lines.begin());
}

template <typename Line>
bool CutLines(std::vector<Line>& lines, std::string_view delimiter) {
    if (delimiter.empty()) {
        return false;
    }
    auto isDelimiter = [delimiter](const Line& line) { return BeginsWith(line, delimiter); };

    const std::size_t s = HeaderEnd(lines);
    if (s < lines.size()) {
        auto bodyStart = lines.begin() + static_cast<std::ptrdiff_t>(s) + 1;
        auto b = std::find_if(bodyStart, lines.end(), isDelimiter);
        if (b != lines.end()) {
            auto e = std::find_if(b, lines.end(), [](const Line& line) { return line == "\n"; });
            // A part header that never ends keeps its lines on display: only the
            // preamble and the delimiter line go.
            auto last = e != lines.end() ? e : b;
            lines.erase(bodyStart, last + 1);
        }
    }

    auto k = std::find_if(lines.begin(), lines.end(), isDelimiter);
    if (k == lines.end()) {
        return false;
    }
    lines.erase(k, lines.end());
    lines.emplace_back(kAttachmentNote);
    return true;
}

}  // namespace

std::size_t FindHeaderEnd(const std::vector<std::string>& lines) {
    return HeaderEnd(lines);
}

std::size_t FindHeaderEndOfViews(const std::vector<std::string_view>& lines) {
    return HeaderEnd(lines);
}

bool CutToFirstPart(std::vector<std::string>& lines, std::string_view delimiter) {
    return CutLines(lines, delimiter);
}

bool CutToFirstPart(std::vector<std::string_view>& lines, std::string_view delimiter) {
    return CutLines(lines, delimiter);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size();
    }
    std::string text;
    text.reserve(total);
    for (const std::string& line : lines) {
        text += line;
    }
    return text;
}

}  // namespace ek
