#include "cli/TextOut.h"

#include <charconv>
#include <cstdio>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Utf8.h"

namespace ek::cli {

namespace {

void AppendEscapedControl(std::string& out, char32_t c) {
    switch (c) {
        case '\t':
            out += "\\t";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\n':
            out += "\\n";
            return;
        default: {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
            out += escape;
        }
    }
}

bool IsControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

void AppendJsonEscaped(std::string& out, char32_t c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                cp932::AppendUtf8(out, c);
            }
    }
}

}  // namespace

std::string TerminalText(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    for (std::size_t pos = 0; pos < cp932.size();) {
        std::size_t length = 0;
        char32_t c = cp932::DecodeChar(cp932, pos, &length);
        pos += length;
        if (IsControl(c)) {
            AppendEscapedControl(out, c);
        } else {
            cp932::AppendUtf8(out, c);
        }
    }
    return out;
}

std::string TerminalUtf8Text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = ek::utf8::Next(utf8, pos);
        if (IsControl(c)) {
            AppendEscapedControl(out, c);
        } else {
            cp932::AppendUtf8(out, c);
        }
    }
    return out;
}

std::size_t TerminalColumns(std::string_view utf8) {
    std::size_t columns = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        columns += static_cast<std::size_t>(cp932::TerminalWidth(ek::utf8::Next(utf8, pos)));
    }
    return columns;
}

std::string FitColumns(const std::string& utf8, std::size_t columns) {
    std::size_t used = TerminalColumns(utf8);
    if (used <= columns) {
        return utf8 + std::string(columns - used, ' ');
    }
    std::string out;
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t start = pos;
        char32_t c = ek::utf8::Next(utf8, pos);
        auto w = static_cast<std::size_t>(cp932::TerminalWidth(c));
        if (width + w + 1 > columns) {
            break;
        }
        out.append(utf8, start, pos - start);
        width += w;
    }
    out += "…";
    ++width;
    return out + std::string(columns - width, ' ');
}

int IndexWidth(int count) {
    return static_cast<int>(std::to_string(count > 0 ? count - 1 : 0).size());
}

std::string TerminalRow(int index, int indexWidth, const std::vector<std::string>& fields,
                        bool multipart, std::size_t senderColumns, std::string_view subjectPrefix,
                        bool utf8Fields) {
    auto text = [utf8Fields](std::string_view field) {
        return utf8Fields ? TerminalUtf8Text(field) : TerminalText(field);
    };
    std::string number = std::to_string(index);
    std::string line(static_cast<std::size_t>(indexWidth) - number.size(), ' ');
    line += number;
    line += "  ";
    line += FitColumns(TerminalText(fields[0]), 19);
    line += multipart ? "  + " : "    ";
    line += FitColumns(text(fields[1]), senderColumns);
    line += "  ";
    line += TerminalText(subjectPrefix) + text(fields[2]);
    line += '\n';
    return line;
}

// Printable ASCII other than the two that JSON escapes: such a byte is its own
// character in CP932 and in UTF-8.
constexpr bool IsPlainJsonByte(char c) {
    return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
}

void AppendJsonString(std::string& out, std::string_view cp932) {
    out += '"';
    for (std::size_t pos = 0; pos < cp932.size();) {
        // A run of plain bytes goes out in one piece.
        std::size_t plain = pos;
        while (plain < cp932.size() && IsPlainJsonByte(cp932[plain])) {
            ++plain;
        }
        if (plain != pos) {
            out.append(cp932.substr(pos, plain - pos));
            pos = plain;
            continue;
        }
        std::size_t length = 0;
        char32_t c = cp932::DecodeChar(cp932, pos, &length);
        pos += length;
        AppendJsonEscaped(out, c);
    }
    out += '"';
}

void AppendJsonUtf8String(std::string& out, std::string_view utf8) {
    out += '"';
    for (std::size_t pos = 0; pos < utf8.size();) {
        AppendJsonEscaped(out, ek::utf8::Next(utf8, pos));
    }
    out += '"';
}

void AppendJsonField(std::string& out, std::string_view text, bool utf8) {
    if (utf8) {
        AppendJsonUtf8String(out, text);
    } else {
        AppendJsonString(out, text);
    }
}

void AppendJsonRowFields(std::string& out, const std::vector<std::string>& fields, bool decoded) {
    out += ",\"date\":";
    AppendJsonString(out, fields[0]);
    out += ",\"sender\":";
    AppendJsonField(out, fields[1], decoded);
    out += ",\"subject\":";
    AppendJsonField(out, fields[2], decoded);
}

void AppendDecimal(std::string& out, long long value) {
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

std::string JsonString(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2 + 2);
    AppendJsonString(out, cp932);
    return out;
}

std::string JsonField(std::string_view text, bool utf8) {
    std::string out;
    AppendJsonField(out, text, utf8);
    return out;
}

std::string JsonUtf8String(std::string_view utf8) {
    std::string out;
    AppendJsonUtf8String(out, utf8);
    return out;
}

}  // namespace ek::cli
