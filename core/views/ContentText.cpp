#include "core/views/ContentText.h"

#include <algorithm>
#include <cstring>

#include "core/platform/Cp932Decode.h"
#include "core/views/ContentFormat.h"
#include "core/views/StyleRuns.h"

namespace ek {

namespace {

// Lines between two remembered starts in the shown text: a stretch is found by a
// binary search and a walk over at most this many lines.
constexpr std::size_t kStride = 64;

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

std::size_t Utf8Length(char32_t cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

// UTF-8 text as the control shows it, written at `out` (room for three bytes per input
// byte): well-formed sequences as they are, NUL and each malformed byte as U+FFFD.
char* WriteCheckedUtf8(std::string_view bytes, char* out) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if (b != 0 && b < 0x80) {
            *out++ = static_cast<char>(b);
            ++pos;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(bytes, pos, cp);
        if (cp == cp932::kReplacementChar && length == 1) {
            std::memcpy(out, kReplacementUtf8, 3);
            out += 3;
        } else {
            std::memcpy(out, bytes.data() + pos, length);
            out += length;
        }
        pos += length;
    }
    return out;
}

char* WriteShown(TextCoding coding, std::string_view line, char* out) {
    return coding == TextCoding::Cp932 ? cp932::WriteDisplayUtf8(line, out)
                                       : WriteCheckedUtf8(line, out);
}

// shownAt[b]: where the character that byte b of `line` belongs to starts in the shown
// line; shownAt[line.size()] is the shown line's length.
std::vector<std::size_t> ShownPositions(std::string_view line, TextCoding coding) {
    std::vector<std::size_t> shownAt(line.size() + 1, 0);
    std::size_t shown = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        char32_t cp = 0;
        std::size_t length = 0;
        if (coding == TextCoding::Cp932) {
            cp = cp932::DecodeChar(line, pos, &length);
        } else {
            length = DecodeUtf8At(line, pos, cp);
        }
        std::fill_n(shownAt.begin() + static_cast<std::ptrdiff_t>(pos), length, shown);
        shown += Utf8Length(cp == 0 ? cp932::kReplacementChar : cp);
        pos += length;
    }
    shownAt[line.size()] = shown;
    return shownAt;
}

void AddSpan(std::vector<StyleSpan>& spans, std::size_t start, std::size_t end, int style) {
    if (start >= end) {
        return;
    }
    if (!spans.empty() && spans.back().style == style && spans.back().end == start) {
        spans.back().end = end;
    } else {
        spans.push_back({start, end, style});
    }
}

}  // namespace

void ContentText::Begin(TextCoding coding, std::size_t sourceBytes, std::size_t lineCount) {
    m_coding = coding;
    m_source.clear();
    m_source.shrink_to_fit();
    m_source.reserve(sourceBytes);
    m_lineStarts.clear();
    m_lineStarts.shrink_to_fit();
    m_lineStarts.reserve(lineCount + 1);
    m_lineStarts.push_back(0);
    m_shownStarts.clear();
    m_shownStarts.reserve(lineCount / kStride + 1);
    m_headerEnd = 0;
    m_note = false;
    m_marks.clear();
    // Three bytes per input byte at most; pages never written are never touched.
    m_shownCapacity = 3 * sourceBytes;
    m_shown = std::make_unique_for_overwrite<char[]>(m_shownCapacity + 1);
    m_shownSize = 0;
}

void ContentText::AppendLine(std::string_view line) {
    const std::size_t index = m_lineStarts.size() - 1;
    if (index % kStride == 0) {
        m_shownStarts.push_back(m_shownSize);
    }
    if (m_headerEnd == index && !line.starts_with('\n')) {
        m_headerEnd = index + 1;
    }
    if (m_shownSize + 3 * line.size() > m_shownCapacity) {
        const std::size_t capacity = std::max(2 * m_shownCapacity, m_shownSize + 3 * line.size());
        auto grown = std::make_unique_for_overwrite<char[]>(capacity + 1);
        if (m_shownSize > 0) {
            std::memcpy(grown.get(), m_shown.get(), m_shownSize);
        }
        m_shown = std::move(grown);
        m_shownCapacity = capacity;
    }
    m_source.append(line);
    m_lineStarts.push_back(m_source.size());
    char* const begin = m_shown.get();
    m_shownSize = static_cast<std::size_t>(WriteShown(m_coding, line, begin + m_shownSize) - begin);
}

void ContentText::Finish(bool lastLineIsNote, std::string_view quoteMarks) {
    m_note = lastLineIsNote;
    m_marks = SplitQuoteMarks(quoteMarks);
    m_shown[m_shownSize] = '\0';
}

ContentText::ContentText() {
    Begin(TextCoding::Cp932, 0);
    Finish(false, {});
}

void ContentText::ReleaseShown() {
    m_shown.reset();
    m_shownSize = 0;
    m_shownCapacity = 0;
}

std::string_view ContentText::Line(std::size_t index) const {
    return std::string_view(m_source).substr(m_lineStarts[index],
                                             m_lineStarts[index + 1] - m_lineStarts[index]);
}

std::size_t ContentText::ShownLength(std::string_view line) const {
    std::string scratch(3 * line.size(), '\0');
    return static_cast<std::size_t>(WriteShown(m_coding, line, scratch.data()) - scratch.data());
}

std::size_t ContentText::AddLineStyles(std::size_t index, std::size_t shownStart, std::size_t from,
                                       std::size_t to, std::vector<StyleSpan>& spans) const {
    const std::string_view line = Line(index);
    const std::size_t count = m_lineStarts.size() - 1;
    std::vector<HighlightStep> steps;
    AppendLineSteps(line, {0, index >= m_headerEnd, m_note && index + 1 == count}, m_marks,
                    m_coding, steps);
    const std::vector<std::size_t> shownAt = ShownPositions(line, m_coding);
    // A run that starts on the second byte of a character takes the whole character;
    // one that ends inside a character stops before it.
    std::size_t at = shownStart;
    for (const StyleRun& run : ResolveStyleRuns(steps, line.size())) {
        const std::size_t start = std::max(shownStart + shownAt[run.start], from);
        const std::size_t end = std::min(shownStart + shownAt[run.end], to);
        if (start < end) {
            AddSpan(spans, std::max(at, from), start, 0);
            AddSpan(spans, start, end, StyleOfRun(run.colour, run.bold));
            at = end;
        }
    }
    AddSpan(spans, std::max(at, from), std::min(shownStart + shownAt.back(), to), 0);
    return shownAt.back();
}

std::vector<StyleSpan> ContentText::StylesInRange(std::size_t from, std::size_t to) const {
    std::vector<StyleSpan> spans;
    if (from >= to) {
        return spans;
    }
    const std::size_t count = m_lineStarts.size() - 1;
    auto stride = std::upper_bound(m_shownStarts.begin(), m_shownStarts.end(), from);
    std::size_t index = 0;
    std::size_t shown = 0;
    if (stride != m_shownStarts.begin()) {
        --stride;
        index = static_cast<std::size_t>(stride - m_shownStarts.begin()) * kStride;
        shown = *stride;
    }
    for (; index < count; ++index) {
        const std::size_t length = ShownLength(Line(index));
        if (shown + length > from) {
            break;
        }
        shown += length;
    }
    for (; index < count && shown < to; ++index) {
        shown += AddLineStyles(index, shown, from, to, spans);
    }
    AddSpan(spans, std::max(shown, from), to, 0);
    return spans;
}

}  // namespace ek
