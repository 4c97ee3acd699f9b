#include "views/FirstPart.h"

#include <algorithm>

namespace ek {

namespace {

bool BeginsWith(const std::string& line, std::string_view prefix) {
    return line.size() >= prefix.size() &&
           std::string_view(line).substr(0, prefix.size()) == prefix;
}

}  // namespace

std::size_t FindHeaderEnd(const std::vector<std::string>& lines) {
    auto blank = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& line) { return BeginsWith(line, "\n"); });
    return static_cast<std::size_t>(blank - lines.begin());
}

bool CutToFirstPart(std::vector<std::string>& lines, std::string_view delimiter) {
    if (delimiter.empty()) {
        return false;
    }
    auto isDelimiter = [delimiter](const std::string& line) { return BeginsWith(line, delimiter); };

    const std::size_t s = FindHeaderEnd(lines);
    if (s < lines.size()) {
        auto bodyStart = lines.begin() + static_cast<std::ptrdiff_t>(s) + 1;
        auto b = std::find_if(bodyStart, lines.end(), isDelimiter);
        if (b != lines.end()) {
            auto e = std::find(b, lines.end(), "\n");
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
