// Display lines and the multipart delimiter of a message.
#include <array>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/platform/Cp932.h"

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

// Whether "boundary=" stands in the line at a character boundary, letter case
// ignored (a double-byte character holds no ASCII letter to fold).
bool HasBoundaryParameter(std::string_view line) {
    for (std::size_t i = 0; i + kBoundaryParameter.size() <= line.size();
         i += cp932::CharLength(line, i)) {
        if (StartsWithIgnoringAsciiCase(line.substr(i), kBoundaryParameter)) {
            return true;
        }
    }
    return false;
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
    std::string_view value;
    if (!FindBoundary(index, value)) {
        return {};
    }
    std::string delimiter = "--";
    delimiter.append(value);
    return delimiter;
}

bool CEKViewDoc::IsMultipart(int index) const {
    std::string_view value;
    return FindBoundary(index, value);
}

// The first Content-Type line of the header, as the reader noted it; a walk of the
// header only when the message is too long for the note.
bool CEKViewDoc::FindBoundary(int index, std::string_view& value) const {
    LineRange range = MessageLines(index);
    if (range.text().empty()) {
        return false;
    }
    const MessageSpan& span = m_messages[static_cast<std::size_t>(index)];
    const std::uint32_t contentType = span.firstLine[kContentTypeSlot];
    auto it = range.begin();
    if (contentType == kPrefixAbsent) {
        return false;
    }
    if (contentType != kPrefixUnknown) {
        if (span.headerEnd < contentType) {
            return false;
        }
        range = LineRange(range.text().substr(contentType));
        it = range.begin();
    } else {
        for (; it != range.end(); ++it) {
            if (*it == "\n") {
                return false;
            }
            if (StartsWithIgnoringAsciiCase(*it, kContentType)) {
                break;
            }
        }
        if (it == range.end()) {
            return false;
        }
    }
    std::string_view source = *it;
    if (!HasBoundaryParameter(source)) {
        ++it;
        if (it == range.end() || !HasBoundaryParameter(*it)) {
            return false;
        }
        source = *it;
    }
    std::size_t first = source.find('"');
    std::size_t last = source.rfind('"');
    if (first == std::string_view::npos || last == first) {
        return false;
    }
    value = source.substr(first + 1, last - first - 1);
    return true;
}

}  // namespace ek
