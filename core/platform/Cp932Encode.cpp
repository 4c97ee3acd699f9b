#include "core/platform/Cp932Encode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "core/platform/Utf8.h"

namespace ek::cp932 {

namespace {

#include "core/platform/Cp932ReverseTable.inc"

constexpr char kUnmappable = '?';

constexpr bool IsTag(char32_t cp) {
    return cp >= 0xE0000 && cp <= 0xE007F;
}

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Writes the CP932 form of `cp` at `out` and returns the end; where there is none, writes
// "?" and sets `lost`.
inline char* Put(char* out, char32_t cp, bool& lost) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
        return out;
    }
    if (cp <= 0xFFFF) {
        const auto* end = std::end(kReverseTable);
        const auto* it = std::lower_bound(
            std::begin(kReverseTable), end, cp,
            [](const ReversePair& pair, char32_t c) { return pair.codePoint < c; });
        if (it != end && it->codePoint == cp) {
            if (it->code > 0xFF) {
                *out++ = static_cast<char>(it->code >> 8);
            }
            *out++ = static_cast<char>(it->code & 0xFF);
            return out;
        }
    } else if (IsTag(cp)) {
        return out;
    }
    lost = true;
    *out++ = kUnmappable;
    return out;
}

}  // namespace

bool EncodeChar(char32_t codePoint, std::string& out) {
    char buffer[2];
    bool lost = false;
    const char* end = Put(buffer, codePoint, lost);
    if (lost) {
        return false;
    }
    out.append(buffer, static_cast<std::size_t>(end - buffer));
    return true;
}

std::string FromUtf8(std::string_view utf8, bool* lossless) {
    // No CP932 form is longer than the UTF-8 sequence it comes from, and an invalid byte
    // becomes one "?": the output fits in the input's size.
    std::string out(utf8.size(), '\0');
    char* w = out.data();
    const std::size_t size = utf8.size();
    bool lost = false;
    std::size_t pos = 0;
    while (pos < size) {
        char32_t cp = 0;
        const std::size_t length = ek::utf8::Decode(utf8, pos, cp);
        if (length == 0) {
            *w++ = kUnmappable;
            lost = true;
            ++pos;
            continue;
        }
        w = Put(w, cp, lost);
        pos += length;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    if (lossless != nullptr) {
        *lossless = !lost;
    }
    return out;
}

std::string FromWide(std::wstring_view text, bool* lossless) {
    std::string out(text.size() * 2, '\0');
    char* w = out.data();
    const std::size_t size = text.size();
    bool lost = false;
    std::size_t pos = 0;
    while (pos < size) {
        // A negative wchar_t (signed on Linux) turns into a value beyond U+10FFFF: a "?".
        char32_t cp = static_cast<char32_t>(text[pos++]);
        if (IsHighSurrogate(cp) && pos < size && IsLowSurrogate(static_cast<char32_t>(text[pos]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[pos++]) - 0xDC00);
        }
        w = Put(w, cp, lost);
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    if (lossless != nullptr) {
        *lossless = !lost;
    }
    return out;
}

}  // namespace ek::cp932
