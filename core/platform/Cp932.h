// Code page 932 (Shift-JIS) character rules, defined once for the whole program.
//
// A character is a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte
// (0x40-0x7E, 0x80-0xFC), or else any single byte. A lead byte before a line
// feed or another non-trail byte stands alone and never swallows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ek::cp932 {

constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length in bytes (1 or 2) of the character that starts at `pos`; 0 at or past the end.
constexpr std::size_t CharLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
        return 2;
    }
    return 1;
}

// Offset of the first occurrence of `marker` in `text` at or after `from` that starts
// on a character boundary (never at the second byte of a double-byte character);
// std::string_view::npos when there is none. `from` must be a character boundary.
std::size_t FindMarker(std::string_view text, std::string_view marker, std::size_t from = 0);

// True when `pos` is a character boundary of `text` (counting from its start).
bool IsCharBoundary(std::string_view text, std::size_t pos);

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a character
// boundary.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace ek::cp932
