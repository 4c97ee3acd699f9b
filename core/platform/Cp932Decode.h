// Decoding CP932 bytes to Unicode, one character at a time.
//
// Pairs map by Microsoft's CP932 table. A pair with no mapping, a lead byte that
// stands alone, and the single bytes 0x80, 0xA0 and 0xFD-0xFF each become one
// U+FFFD; one bad byte never fails a whole string. Every CP932 character maps to
// one code point of the Basic Multilingual Plane, so one character is one wchar_t
// on every platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Utf8.h"

namespace ek::cp932 {

using utf8::kReplacementChar;

// The code point of the character at `pos` (which must be < bytes.size());
// `*length` receives its length in bytes (1 or 2).
char32_t DecodeChar(std::string_view bytes, std::size_t pos, std::size_t* length);

std::string ToUtf8(std::string_view bytes);
std::wstring ToWide(std::string_view bytes);

// Decoded text with the character position of every byte position.
struct DecodedText {
    std::wstring text;
    // charPos[b] for b in [0, bytes.size()]: index in `text` of the character that
    // byte b belongs to; charPos[bytes.size()] == text.size(). Never decreasing.
    std::vector<std::size_t> charPos;
};
DecodedText DecodeWithPositions(std::string_view bytes);

// The UTF-8 a text control shows for `bytes`, written at `out` (room for three bytes
// per input byte): ToUtf8's text, but NUL becomes U+FFFD, as a control would end the
// text there. Returns the end of what was written. One table-driven pass.
char* WriteDisplayUtf8(std::string_view bytes, char* out);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Columns the code point takes on a terminal: 2 for East Asian wide and
// full-width characters, 0 for combining marks, else 1.
int TerminalWidth(char32_t codePoint);

}  // namespace ek::cp932
