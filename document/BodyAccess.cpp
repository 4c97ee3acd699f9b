// Display lines and the multipart delimiter of a message.
#include <array>

#include "document/EKViewDoc.h"
#include "document/TextRules.h"
#include "platform/Cp932.h"

namespace ek {

namespace {

constexpr std::array<std::string_view, 4> kShortHeaderPrefixes = {
    "Date: ", "From: ", "Subject: ", "To: "};
constexpr std::string_view kContentType = "Content-Type: ";
constexpr std::string_view kBoundaryParameter = "boundary=";

bool IsShortHeaderLine(std::string_view line) {
    for (std::string_view prefix : kShortHeaderPrefixes) {
        if (line.substr(0, prefix.size()) == prefix) {
            return true;
        }
    }
    return false;
}

// Lower case of the single-byte letters; double-byte characters stay as they are.
std::string LowerCaseCopy(std::string_view line) {
    std::string lower(line);
    for (std::size_t i = 0; i < lower.size();) {
        std::size_t length = cp932::CharLength(lower, i);
        if (length == 1) {
            lower[i] = AsciiLower(lower[i]);
        }
        i += length;
    }
    return lower;
}

bool HasBoundaryParameter(std::string_view line) {
    return cp932::FindMarker(LowerCaseCopy(line), kBoundaryParameter) != std::string_view::npos;
}

}  // namespace

bool CEKViewDoc::GetMessageLineViews(int index, std::vector<std::string_view>& lines,
                                     bool showAll) const {
    if (index < 0 || index >= GetMessageCount()) {
        return false;
    }
    lines.clear();
    bool inBody = showAll;
    for (std::string_view line : MessageLines(index)) {
        if (!inBody && line == "\n") {
            inBody = true;
        }
        if (inBody || IsShortHeaderLine(line)) {
            lines.push_back(line);
        }
    }
    return true;
}

bool CEKViewDoc::GetMessageLines(int index, std::vector<std::string>& lines, bool showAll) const {
    std::vector<std::string_view> views;
    if (!GetMessageLineViews(index, views, showAll)) {
        return false;
    }
    lines.assign(views.begin(), views.end());
    return true;
}

std::string CEKViewDoc::GetBoundary(int index) const {
    LineRange range = MessageLines(index);
    auto it = range.begin();
    for (; it != range.end(); ++it) {
        if (*it == "\n") {
            return {};
        }
        if (StartsWithIgnoringAsciiCase(*it, kContentType)) {
            break;
        }
    }
    if (it == range.end()) {
        return {};
    }
    std::string_view source = *it;
    if (!HasBoundaryParameter(source)) {
        ++it;
        if (it == range.end() || !HasBoundaryParameter(*it)) {
            return {};
        }
        source = *it;
    }
    std::size_t first = source.find('"');
    std::size_t last = source.rfind('"');
    if (first == std::string_view::npos || last == first) {
        return {};
    }
    std::string delimiter = "--";
    delimiter.append(source.substr(first + 1, last - first - 1));
    return delimiter;
}

}  // namespace ek
