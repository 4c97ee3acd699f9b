#include "core/platform/Cp932Decode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "core/platform/Cp932.h"

namespace ek::cp932 {

namespace {

#include "core/platform/Cp932Table.inc"

constexpr int LeadRow(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// Decodes the character at `pos` (< size) and advances `pos` past it.
inline char32_t DecodeAt(const unsigned char* p, std::size_t size, std::size_t& pos) {
    const unsigned char b = p[pos];
    if (b < 0x80) {
        ++pos;
        return b;
    }
    if (IsLeadByte(b) && pos + 1 < size && IsTrailByte(p[pos + 1])) {
        const std::uint16_t cp = kPairTable[LeadRow(b)][p[pos + 1] - kTrailFirst];
        pos += 2;
        return cp != 0 ? cp : kReplacementChar;
    }
    ++pos;
    if (b >= 0xA1 && b <= 0xDF) {
        return 0xFF61 + (b - 0xA1);
    }
    return kReplacementChar;  // a lone lead byte, 0x80, 0xA0 or 0xFD-0xFF
}

inline const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Writes the UTF-8 form of `cp` at `out` and returns the end; invalid code points
// (surrogates, beyond U+10FFFF) become U+FFFD so the output is always valid UTF-8.
inline char* PutUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacementChar;
        }
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out = PutUtf8(out, kReplacementChar);
    }
    return out;
}

// The UTF-8 of every pair and of every single byte, so that the display conversion
// copies bytes instead of encoding code points.
struct Utf8Char {
    std::uint8_t length = 0;
    char bytes[3] = {};
};

struct DisplayTables {
    Utf8Char single[256];
    Utf8Char pair[kLeadCount][kTrailCount];

    DisplayTables() {
        auto fill = [](Utf8Char& c, char32_t cp) {
            char buffer[4];
            c.length = static_cast<std::uint8_t>(PutUtf8(buffer, cp) - buffer);
            std::copy(buffer, buffer + c.length, c.bytes);
        };
        for (unsigned b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            std::size_t pos = 0;
            const char32_t cp = DecodeAt(&byte, 1, pos);
            fill(single[b], cp == 0 ? kReplacementChar : cp);
        }
        for (int row = 0; row < kLeadCount; ++row) {
            for (int trail = 0; trail < kTrailCount; ++trail) {
                const std::uint16_t cp = kPairTable[row][trail];
                fill(pair[row][trail], cp != 0 ? cp : kReplacementChar);
            }
        }
    }
};

const DisplayTables& Tables() {
    static const DisplayTables tables;
    return tables;
}

// True when none of the eight bytes is NUL or above 0x7F.
inline bool PlainAscii(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    return ((word | (word - kOnes)) & kHighs) == 0;
}

struct Range {
    char32_t first;
    char32_t last;
};

// Combining marks and other zero-width code points, sorted.
constexpr std::array kZeroWidth{
    Range{0x0300, 0x036F}, Range{0x0483, 0x0489}, Range{0x0591, 0x05BD}, Range{0x05BF, 0x05BF},
    Range{0x05C1, 0x05C2}, Range{0x05C4, 0x05C5}, Range{0x05C7, 0x05C7}, Range{0x0610, 0x061A},
    Range{0x064B, 0x065F}, Range{0x0670, 0x0670}, Range{0x06D6, 0x06DC}, Range{0x06DF, 0x06E4},
    Range{0x0E31, 0x0E31}, Range{0x0E34, 0x0E3A}, Range{0x0E47, 0x0E4E}, Range{0x1AB0, 0x1AFF},
    Range{0x1DC0, 0x1DFF}, Range{0x200B, 0x200F}, Range{0x20D0, 0x20FF}, Range{0x302A, 0x302D},
    Range{0x3099, 0x309A}, Range{0xFE00, 0xFE0F}, Range{0xFE20, 0xFE2F}, Range{0xE0100, 0xE01EF},
};

// East Asian Wide and Fullwidth code points, sorted.
constexpr std::array kWide{
    Range{0x1100, 0x115F},   Range{0x2329, 0x232A},   Range{0x2E80, 0x3029},
    Range{0x302E, 0x303E},   Range{0x3041, 0x3098},   Range{0x309B, 0x33FF},
    Range{0x3400, 0x4DBF},   Range{0x4E00, 0x9FFF},   Range{0xA000, 0xA4CF},
    Range{0xA960, 0xA97F},   Range{0xAC00, 0xD7A3},   Range{0xF900, 0xFAFF},
    Range{0xFE10, 0xFE19},   Range{0xFE30, 0xFE6F},   Range{0xFF00, 0xFF60},
    Range{0xFFE0, 0xFFE6},   Range{0x1B000, 0x1B2FF}, Range{0x1F300, 0x1F64F},
    Range{0x1F900, 0x1F9FF}, Range{0x20000, 0x2FFFD}, Range{0x30000, 0x3FFFD},
};

template <std::size_t N>
bool InRanges(const std::array<Range, N>& ranges, char32_t cp) {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), cp,
                               [](char32_t c, const Range& r) { return c < r.first; });
    return it != ranges.begin() && cp <= std::prev(it)->last;
}

}  // namespace

char32_t DecodeChar(std::string_view bytes, std::size_t pos, std::size_t* length) {
    std::size_t next = pos;
    const char32_t cp = DecodeAt(Bytes(bytes), bytes.size(), next);
    if (length != nullptr) {
        *length = next - pos;
    }
    return cp;
}

std::string ToUtf8(std::string_view bytes) {
    // No character takes more than three UTF-8 bytes per input byte; write into a
    // buffer of that size and trim, rather than growing per character.
    std::string out(bytes.size() * 3, '\0');
    char* w = out.data();
    const unsigned char* p = Bytes(bytes);
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    while (pos < size) {
        w = PutUtf8(w, DecodeAt(p, size, pos));
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return out;
}

std::wstring ToWide(std::string_view bytes) {
    std::wstring out(bytes.size(), L'\0');
    const unsigned char* p = Bytes(bytes);
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    std::size_t count = 0;
    while (pos < size) {
        out[count++] = static_cast<wchar_t>(DecodeAt(p, size, pos));
    }
    out.resize(count);
    return out;
}

DecodedText DecodeWithPositions(std::string_view bytes) {
    DecodedText result;
    const std::size_t size = bytes.size();
    result.text.resize(size);
    result.charPos.resize(size + 1);
    const unsigned char* p = Bytes(bytes);
    std::size_t pos = 0;
    std::size_t count = 0;
    while (pos < size) {
        const std::size_t start = pos;
        result.text[count] = static_cast<wchar_t>(DecodeAt(p, size, pos));
        for (std::size_t b = start; b < pos; ++b) {
            result.charPos[b] = count;
        }
        ++count;
    }
    result.charPos[size] = count;
    result.text.resize(count);
    return result;
}

char* WriteDisplayUtf8(std::string_view bytes, char* out) {
    const DisplayTables& tables = Tables();
    const unsigned char* p = Bytes(bytes);
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    while (pos < size) {
        if (pos + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, p + pos, sizeof word);
            if (PlainAscii(word)) {
                std::memcpy(out, &word, sizeof word);
                out += 8;
                pos += 8;
                continue;
            }
        }
        const unsigned char b = p[pos];
        const Utf8Char* c = &tables.single[b];
        if (b >= 0x81 && IsLeadByte(b) && pos + 1 < size && IsTrailByte(p[pos + 1])) {
            c = &tables.pair[LeadRow(b)][p[pos + 1] - kTrailFirst];
            ++pos;
        }
        ++pos;
        out[0] = c->bytes[0];
        out[1] = c->bytes[1];
        out[2] = c->bytes[2];
        out += c->length;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    char buffer[4];
    out.append(buffer, static_cast<std::size_t>(PutUtf8(buffer, codePoint) - buffer));
}

int TerminalWidth(char32_t codePoint) {
    if (codePoint < 0x0300) {
        return 1;
    }
    if (InRanges(kZeroWidth, codePoint)) {
        return 0;
    }
    return InRanges(kWide, codePoint) ? 2 : 1;
}

}  // namespace ek::cp932
