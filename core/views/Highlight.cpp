#include "core/views/Highlight.h"

#include "core/platform/Cp932.h"
#include "core/views/FirstPart.h"

namespace ek {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr std::string_view kUrlMarker = "http://";

// The classes judge one byte by itself; bytes 0x80 to 0xFF belong to none.
bool IsGraphic(unsigned char b) {
    return b >= 0x21 && b <= 0x7E;
}

bool IsLetterOrDigit(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
}

bool IsAddressChar(unsigned char b) {
    return IsLetterOrDigit(b) || b == '_' || b == '.' || b == '-';
}

// In UTF-8 an ASCII marker cannot match inside a character, so a plain search is
// already on character boundaries.
std::size_t FindMarker(std::string_view text, std::string_view marker, TextCoding coding) {
    return coding == TextCoding::Utf8 ? text.find(marker) : cp932::FindMarker(text, marker);
}

unsigned char ByteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

void AddAddressSteps(std::string_view line, std::size_t lineStart, TextCoding coding,
                     std::vector<HighlightStep>& steps) {
    const std::size_t url = FindMarker(line, kUrlMarker, coding);
    if (url != std::string_view::npos) {
        std::size_t end = url + 1;
        while (end < line.size() && IsGraphic(ByteAt(line, end))) {
            ++end;
        }
        steps.push_back({lineStart + url, lineStart + end, HighlightKind::Url});
    }
    const std::size_t at = FindMarker(line, "@", coding);
    if (at != std::string_view::npos) {
        std::size_t start = at;
        while (start > 0 && IsAddressChar(ByteAt(line, start - 1))) {
            --start;
        }
        std::size_t end = at + 1;
        while (end < line.size() && IsAddressChar(ByteAt(line, end))) {
            ++end;
        }
        steps.push_back({lineStart + start, lineStart + end, HighlightKind::Mail});
    }
}

void AddQuoteSteps(std::string_view line, std::size_t lineStart,
                   const std::vector<std::string>& marks, std::vector<HighlightStep>& steps) {
    for (const std::string& mark : marks) {
        if (line.starts_with(mark)) {
            steps.push_back({lineStart, lineStart + line.size(), HighlightKind::Quote});
        }
    }
}

void AddBoldStep(std::string_view line, std::size_t lineStart, TextCoding coding,
                 std::vector<HighlightStep>& steps) {
    if (line.empty() || !IsLetterOrDigit(ByteAt(line, 0))) {
        return;
    }
    const std::size_t colon = FindMarker(line, ":", coding);
    if (colon != std::string_view::npos) {
        steps.push_back({lineStart, lineStart + colon + 1, HighlightKind::Bold});
    }
}

}  // namespace

std::vector<std::string> SplitQuoteMarks(std::string_view quoteMarks) {
    std::vector<std::string> marks;
    const std::size_t first = quoteMarks.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) {
        return marks;
    }
    std::string_view rest =
        quoteMarks.substr(first, quoteMarks.find_last_not_of(kWhiteSpace) - first + 1);
    std::size_t space = rest.find(' ');
    while (space != std::string_view::npos) {
        marks.emplace_back(rest.substr(0, space));
        rest.remove_prefix(rest.find_first_not_of(kWhiteSpace, space));
        space = rest.find(' ');
    }
    marks.emplace_back(rest);
    return marks;
}

std::vector<HighlightStep> BuildHighlightSteps(const std::vector<std::string>& lines,
                                               bool lastLineIsNote, std::string_view quoteMarks,
                                               TextCoding coding) {
    return BuildHighlightStepsOfViews(std::vector<std::string_view>(lines.begin(), lines.end()),
                                      lastLineIsNote, quoteMarks, coding);
}

std::vector<HighlightStep> BuildHighlightStepsOfViews(const std::vector<std::string_view>& lines,
                                                      bool lastLineIsNote,
                                                      std::string_view quoteMarks,
                                                      TextCoding coding) {
    const std::size_t n = lines.size();
    const std::size_t s = FindHeaderEndOfViews(lines);
    // starts[i] is the position of line i's first byte; starts[n] the text length.
    std::vector<std::size_t> starts(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        starts[i + 1] = starts[i] + lines[i].size();
    }

    std::vector<HighlightStep> steps;
    for (std::size_t i = s; i < n; ++i) {
        AddAddressSteps(lines[i], starts[i], coding, steps);
    }

    const std::vector<std::string> marks = SplitQuoteMarks(quoteMarks);
    for (std::size_t i = s; i < n && !marks.empty(); ++i) {
        AddQuoteSteps(lines[i], starts[i], marks, steps);
    }

    if (lastLineIsNote && n > 0) {
        steps.push_back({starts[n - 1], starts[n], HighlightKind::Note});
    }

    for (std::size_t i = 0; i < s; ++i) {
        AddBoldStep(lines[i], starts[i], coding, steps);
    }
    return steps;
}

void AppendLineSteps(std::string_view line, const LinePlace& place,
                     const std::vector<std::string>& marks, TextCoding coding,
                     std::vector<HighlightStep>& steps) {
    if (place.inBody) {
        AddAddressSteps(line, place.start, coding, steps);
        AddQuoteSteps(line, place.start, marks, steps);
    }
    if (place.isNote) {
        steps.push_back({place.start, place.start + line.size(), HighlightKind::Note});
    }
    if (!place.inBody) {
        AddBoldStep(line, place.start, coding, steps);
    }
}

}  // namespace ek
