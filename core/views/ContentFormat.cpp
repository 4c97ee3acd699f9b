#include "core/views/ContentFormat.h"

#include <algorithm>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Utf8.h"
#include "core/views/Highlight.h"

namespace ek {

namespace {

void AppendWide(std::wstring& text, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (cp >> 10));
            text += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(cp);
}

// Byte-position runs moved to character positions of the shown text. A span that
// starts on the second byte of a character takes the whole character; one that ends
// inside a character stops before it.
void AppendRunsAtCharacters(std::vector<StyleRun>& out, const std::vector<StyleRun>& runs,
                            const std::vector<std::size_t>& charPos) {
    out.reserve(out.size() + runs.size());
    for (StyleRun mapped : runs) {
        mapped.start = charPos[mapped.start];
        mapped.end = charPos[mapped.end];
        if (mapped.start < mapped.end) {
            out.push_back(mapped);
        }
    }
}

}  // namespace

std::size_t DecodeUtf8At(std::string_view bytes, std::size_t pos, char32_t& cp) {
    const std::size_t length = ek::utf8::Decode(bytes, pos, cp);
    if (length == 0 || cp == 0) {
        cp = cp932::kReplacementChar;
        return 1;
    }
    return length;
}

ContentDisplay PrepareDecodedContentDisplay(const std::vector<std::string>& lines,
                                            std::string_view joined, bool lastLineIsNote,
                                            std::string_view quoteMarks) {
    ContentDisplay display;
    std::vector<std::size_t> charPos(joined.size() + 1, 0);
    display.text.reserve(joined.size());
    for (std::size_t pos = 0; pos < joined.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(joined, pos, cp);
        for (std::size_t k = 0; k < length; ++k) {
            charPos[pos + k] = display.text.size();
        }
        AppendWide(display.text, cp);
        pos += length;
    }
    charPos[joined.size()] = display.text.size();
    AppendRunsAtCharacters(
        display.runs,
        ResolveStyleRuns(BuildHighlightSteps(lines, lastLineIsNote, quoteMarks, TextCoding::Utf8),
                         joined.size()),
        charPos);
    return display;
}

ContentDisplay PrepareContentDisplay(const std::vector<std::string>& lines, std::string_view joined,
                                     bool lastLineIsNote, std::string_view quoteMarks) {
    cp932::DecodedText decoded = cp932::DecodeWithPositions(joined);
    std::replace(decoded.text.begin(), decoded.text.end(), L'\0',
                 static_cast<wchar_t>(cp932::kReplacementChar));

    ContentDisplay display;
    display.text = std::move(decoded.text);
    const std::vector<std::size_t>& charPos = decoded.charPos;
    AppendRunsAtCharacters(
        display.runs,
        ResolveStyleRuns(BuildHighlightSteps(lines, lastLineIsNote, quoteMarks), joined.size()),
        charPos);
    return display;
}

int ChosenSizeToTwips(int tenthsOfPoint) {
    return tenthsOfPoint / 10 * 20;
}

}  // namespace ek
