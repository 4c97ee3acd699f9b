#include "cli/StyledText.h"

#include <cstdio>

#include "cli/TextOut.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/Utf8.h"

namespace ek::cli {

namespace {

constexpr int kTabWidth = 8;

std::string ColorEscape(settings::ColorRef color) {
    char escape[32];
    std::snprintf(escape, sizeof escape, "\x1b[38;2;%u;%u;%um", settings::RedOf(color),
                  settings::GreenOf(color), settings::BlueOf(color));
    return escape;
}

std::string StyleEscape(const StyleRun* run, const Palette& palette) {
    std::string escape = "\x1b[0m";
    if (run == nullptr) {
        return escape;
    }
    if (run->bold) {
        escape += "\x1b[1m";
    }
    switch (run->colour) {
        case RunColour::Url:
            escape += ColorEscape(palette.url);
            break;
        case RunColour::Mail:
            escape += ColorEscape(palette.mail);
            break;
        case RunColour::Quote:
            escape += ColorEscape(palette.quote);
            break;
        case RunColour::Note:
            escape += ColorEscape(palette.note);
            break;
        case RunColour::None:
            break;
    }
    return escape;
}

void AppendVisible(std::string& out, char32_t c, int& column) {
    if (c == '\n') {
        out += '\n';
        column = 0;
    } else if (c == '\t') {
        int spaces = kTabWidth - column % kTabWidth;
        out.append(static_cast<std::size_t>(spaces), ' ');
        column += spaces;
    } else if (c < 0x20 || c == 0x7F) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
        out += escape;
        column += 4;
    } else {
        cp932::AppendUtf8(out, c);
        column += cp932::TerminalWidth(c);
    }
}

}  // namespace

std::string StyledText(std::string_view cp932, const std::vector<StyleRun>& runs,
                       const Palette& palette, bool color, bool utf8) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    std::size_t next = 0;  // the first run that has not ended yet
    const StyleRun* active = nullptr;
    int column = 0;
    for (std::size_t pos = 0; pos < cp932.size();) {
        if (color) {
            // A character takes the style of its first byte.
            while (next < runs.size() && runs[next].end <= pos) {
                ++next;
            }
            const StyleRun* wanted =
                (next < runs.size() && runs[next].start <= pos) ? &runs[next] : nullptr;
            if (wanted != active) {
                out += StyleEscape(wanted, palette);
                active = wanted;
            }
        }
        char32_t c = 0;
        if (utf8) {
            c = ek::utf8::Next(cp932, pos);
        } else {
            std::size_t length = 0;
            c = cp932::DecodeChar(cp932, pos, &length);
            pos += length;
        }
        AppendVisible(out, c, column);
    }
    if (active != nullptr) {
        out += "\x1b[0m";
    }
    return out;
}

}  // namespace ek::cli
