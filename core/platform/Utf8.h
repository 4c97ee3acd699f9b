// Reading UTF-8: the one decoder every caller uses. A well-formed sequence is the
// shortest form of a code point up to U+10FFFF that is no surrogate.
#pragma once

#include <cstddef>
#include <string_view>

namespace ek::utf8 {

constexpr char32_t kReplacementChar = 0xFFFD;

// The length (1 to 4) of the well-formed sequence that starts at `pos` (< size), with
// its code point in `cp`; 0 when none starts there: a stray continuation byte, an
// overlong form, a surrogate, a code point beyond U+10FFFF or a cut sequence.
inline std::size_t Decode(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    // The second byte's range rules out overlong forms, surrogates and values beyond
    // U+10FFFF; later bytes are any continuation byte.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        cp = b & 0x0F;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        cp = b & 0x07;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - pos < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[pos + k]);
        if (c < low || c > high) {
            return 0;
        }
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (c & 0x3F);
    }
    return length;
}

// The code point at `pos` (< size), moving `pos` past it; a byte that starts no
// well-formed sequence reads as U+FFFD and moves `pos` one byte.
inline char32_t Next(std::string_view text, std::size_t& pos) {
    char32_t cp = 0;
    const std::size_t length = Decode(text, pos, cp);
    pos += length == 0 ? 1 : length;
    return length == 0 ? kReplacementChar : cp;
}

// True when `text` is well-formed UTF-8 from end to end.
bool IsValid(std::string_view text);

}  // namespace ek::utf8
