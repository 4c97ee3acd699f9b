#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Cp932.h"
#include "core/platform/Cp932Decode.h"
#include "tests/support/HexBytes.h"

namespace ek::cp932 {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t npos = std::string_view::npos;

using test::HexBytes;

std::string Utf8Of(std::u32string_view codePoints) {
    std::string out;
    for (char32_t cp : codePoints) {
        AppendUtf8(out, cp);
    }
    return out;
}

// Number of code points when `s` is well-formed UTF-8 (shortest forms, no surrogates),
// npos otherwise.
std::size_t CountValidUtf8(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || i + len > s.size()) {
            return npos;
        }
        char32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return npos;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return npos;
        }
        i += len;
    }
    return count;
}

// --- Character rules --------------------------------------------------------------

struct ByteClassCase {
    unsigned char byte;
    bool lead;
    bool trail;
};

TEST(Cp932Rules, LeadAndTrailRangesAtTheirEdges) {
    const ByteClassCase cases[] = {
        {0x00, false, false}, {0x3F, false, false}, {0x40, false, true},  {0x7E, false, true},
        {0x7F, false, false}, {0x80, false, true},  {0x81, true, true},   {0x9F, true, true},
        {0xA0, false, true},  {0xA1, false, true},  {0xDF, false, true},  {0xE0, true, true},
        {0xFC, true, true},   {0xFD, false, false}, {0xFF, false, false}, {0x0A, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(HexBytes(std::string(1, static_cast<char>(c.byte))));
        EXPECT_EQ(IsLeadByte(c.byte), c.lead);
        EXPECT_EQ(IsTrailByte(c.byte), c.trail);
    }
}

struct LengthCase {
    std::string_view text;
    std::size_t pos;
    std::size_t length;
};

TEST(Cp932Rules, CharLengthPairsOnlyLeadWithTrail) {
    const LengthCase cases[] = {
        {"A"sv, 0, 1},
        {"\x82\xA0"sv, 0, 2},
        {"\x82\xA0"sv, 1, 1},  // asked from the trail
                               // byte, it is a single
                               // byte
        {"\x82\n"sv, 0, 1},    // a lead byte before LF stands alone
        {"\x82 "sv, 0, 1},     // ... and before a blank
        {"\x82"sv, 0, 1},      // ... and at the end
        {"\x82\x3F"sv, 0, 1},  // below the trail range
        {"\x82\x40"sv, 0, 2},  // first trail byte
        {"\x82\x7E"sv, 0, 2},
        {"\x82\x7F"sv, 0, 1},  // the gap in the trail range
        {"\x82\x80"sv, 0, 2},
        {"\xFC\xFC"sv, 0, 2},  // last lead, last trail
        {"\xFC\xFD"sv, 0, 1},
        {"\x9F\x40"sv, 0, 2},
        {"\xA0\x40"sv, 0, 1},  // 0xA0 is not a lead
                               // byte
        {"\xDF\x40"sv, 0, 1},  // nor is half-width katakana
        {"\xE0\x40"sv, 0, 2},
        {"\x80\x40"sv, 0, 1},
        {"\x82\0"sv, 0, 1},
        {"ab"sv, 2, 0},
        {"ab"sv, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(HexBytes(c.text) + " at " + std::to_string(c.pos));
        EXPECT_EQ(CharLength(c.text, c.pos), c.length);
    }
}

struct MarkerCase {
    std::string_view text;
    std::string_view marker;
    std::size_t from;
    std::size_t expected;
};

TEST(Cp932Rules, FindMarkerSkipsMatchesInsideDoubleByteCharacters) {
    const MarkerCase cases[] = {
        {"abc"sv, "ab"sv, 0, 0},   // at the very start
        {"abc"sv, "bc"sv, 0, 1},   // at the very end
        {"--"sv, "--"sv, 0, 0},    // text exactly the marker
        {"-"sv, "--"sv, 0, npos},  // text shorter than the marker
        {""sv, "-"sv, 0, npos},
        {"a-b-"sv, "-"sv, 2, 3},  // search from the middle
        {"a-b-"sv, "-"sv, 4, npos},
        {"\x82\x40@"sv, "@"sv, 0, 2},  // 0x40 as a trail byte is not '@'
        {"\x82\x40"sv, "@"sv, 0, npos},
        {"\x82\x40\x40"sv, "@@"sv, 0, npos},
        {"\x82\x40\x40\x40"sv, "@@"sv, 0, 2},
        {"\x81\x40\x81\x40\x81\x40"sv, "\x40\x81\x40"sv, 0, npos},
        {"\x81\x40\x40\x81\x40"sv, "\x40\x81\x40"sv, 0, 2},
        {"\x83\x5C\x5C"sv, "\\"sv, 0, 2},  // a trail 0x5C then a real backslash
        {"\x83\x5C"sv, "\\"sv, 0, npos},
        {"\x82\n--"sv, "\n"sv, 0, 1},  // a lone lead byte keeps the LF
        {"\x82\n--"sv, "--"sv, 0, 2},
        {"\x82\x82\x82\xA0"sv, "\x82\xA0"sv, 0, 2},         // pairs 8282, 82A0
        {"\x82\x82\x82\x82\xA0"sv, "\x82\xA0"sv, 0, npos},  // pairs 8282, 8282, then A0
        {"\xA0\x40"sv, "@"sv, 0, 1},                        // 0xA0 is no lead byte
        {"abc"sv, ""sv, 0, 0},                              // the empty marker matches at once
        {"abc"sv, ""sv, 3, 3},
        {"abc"sv, ""sv, 4, npos},
        {""sv, ""sv, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text " + HexBytes(c.text) + ", marker " + HexBytes(c.marker) + ", from " +
                     std::to_string(c.from));
        EXPECT_EQ(FindMarker(c.text, c.marker, c.from), c.expected);
    }
}

TEST(Cp932Rules, IsCharBoundary) {
    const std::string_view text = "a\x82\xA0\x82\nb\x82"sv;
    const bool expected[] = {true, true, false, true, true, true, true, true, false};
    for (std::size_t pos = 0; pos < std::size(expected); ++pos) {
        SCOPED_TRACE(HexBytes(text) + " at " + std::to_string(pos));
        EXPECT_EQ(IsCharBoundary(text, pos), expected[pos]);
    }
}

TEST(Cp932Rules, CutAtCharBoundaryNeverCutsAPair) {
    const std::string_view text = "A\x93\xFA\xB1\x82\n\x87\x40\x82"sv;
    for (std::size_t max = 0; max <= text.size() + 2; ++max) {
        SCOPED_TRACE(HexBytes(text) + " cut at " + std::to_string(max));
        const std::string_view cut = CutAtCharBoundary(text, max);
        EXPECT_EQ(cut.data(), text.data());
        EXPECT_LE(cut.size(), max);
        EXPECT_TRUE(IsCharBoundary(text, cut.size()));
        // It gives up at most the first byte of a pair.
        EXPECT_GE(cut.size() + 1, std::min(max, text.size()));
    }
    EXPECT_EQ(CutAtCharBoundary("\x93\xFA\x96\x7B"sv, 3), "\x93\xFA"sv);
    EXPECT_EQ(CutAtCharBoundary("\x93\xFA\x96\x7B"sv, 1), ""sv);
    EXPECT_EQ(CutAtCharBoundary("ab"sv, 0), ""sv);
}

// --- Decoder ----------------------------------------------------------------------

struct DecodeCase {
    std::string_view bytes;
    std::u32string_view expected;
};

const DecodeCase kDecodeCases[] = {
    {""sv, U""sv},
    {"Hello, world\n"sv, U"Hello, world\n"sv},
    {"\x5C\x7E"sv, U"\\~"sv},                     // CP932 keeps ASCII here
    {"a\0b"sv, U"a\0b"sv},                        // NUL kept
    {"\xA1\xB1\xDF"sv, U"\uFF61\uFF71\uFF9F"sv},  // half-width katakana edges
    {"\x93\xFA\x96\x7B\x8C\xEA"sv, U"日本語"sv},
    {"\x82\xA0\x83\x41"sv, U"あア"sv},
    {"\x81\x40"sv, U"\u3000"sv},  // ideographic space
    {"\x81\x5F\x81\x60\x81\x61\x81\x7C"sv, U"\uFF3C\uFF5E\u2225\uFF0D"sv},
    {"\x81\x91\x81\x92\x81\xCA"sv, U"\uFFE0\uFFE1\uFFE2"sv},
    {"\x84\x9F"sv, U"\u2500"sv},  // box drawing
    {"\x87\x40"sv, U"\u2460"sv},  // NEC special: circled one
    {"\x87\x90"sv, U"\u2252"sv},
    {"\x81\xE6"sv, U"\u2235"sv},                // because
    {"\xED\x40"sv, U"\u7E8A"sv},                // NEC-selected IBM extension
    {"\xFA\x40"sv, U"\u2170"sv},                // IBM extension
    {"\xFB\xFC"sv, U"\u9AD9"sv},                // 髙, the last IBM kanji
    {"\xF0\x40\xF9\xFC"sv, U"\uE000\uE757"sv},  // user-defined area
    {"\x82\x82\xA0"sv, U"\uFF42\uFFFD"sv},      // 0x82 pairs as a trail byte
    {"\x85\x40"sv, U"\uFFFD"sv},                // unmapped pair: one U+FFFD
    {"\x81\xAD!"sv, U"\uFFFD!"sv},
    {"\xEF\xFC\xFC\xFC"sv, U"\uFFFD\uFFFD"sv},
    {"\x82\n"sv, U"\uFFFD\n"sv},  // a lone lead byte
    {"\x82 x"sv, U"\uFFFD x"sv},
    {"\x82\x7F"sv, U"\uFFFD\x7F"sv},
    {"\x82\0"sv, U"\uFFFD\0"sv},
    {"ab\x82"sv, U"ab\uFFFD"sv},
    {"\x80\xA0\xFD\xFE\xFF"sv, U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"sv},
    {"\xFC\xFD"sv, U"\uFFFD\uFFFD"sv},
};

TEST(Cp932Decode, DecodeCharToWideAndToUtf8Agree) {
    for (const auto& c : kDecodeCases) {
        SCOPED_TRACE(HexBytes(c.bytes));
        std::u32string chars;
        for (std::size_t pos = 0, length = 0; pos < c.bytes.size(); pos += length) {
            chars += DecodeChar(c.bytes, pos, &length);
            ASSERT_EQ(length, CharLength(c.bytes, pos));
        }
        EXPECT_EQ(chars, c.expected);
        EXPECT_EQ(ToWide(c.bytes), std::wstring(c.expected.begin(), c.expected.end()));
        EXPECT_EQ(ToUtf8(c.bytes), Utf8Of(c.expected));
        EXPECT_EQ(DecodeWithPositions(c.bytes).text, ToWide(c.bytes));
    }
}

TEST(Cp932Decode, EveryPairAgreesWithTheCharacterRules) {
    std::size_t mapped = 0;
    char bytes[2];
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            bytes[0] = static_cast<char>(lead);
            bytes[1] = static_cast<char>(trail);
            const std::string_view pair(bytes, 2);
            std::size_t length = 0;
            const char32_t cp = DecodeChar(pair, 0, &length);
            if (length != CharLength(pair, 0) || cp > 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                ADD_FAILURE() << HexBytes(pair) << " gives U+" << std::hex << unsigned(cp)
                              << ", length " << length;
            }
            if (length == 2 && cp != kReplacementChar) {
                ++mapped;
            }
        }
    }
    EXPECT_EQ(mapped, 9604u);  // what glibc's iconv "CP932" maps
}

TEST(Cp932Decode, PositionMapOnMixedText) {
    // A, 日, ｱ, lone lead, LF, ①, CR, lone lead at the end
    const std::string_view bytes = "A\x93\xFA\xB1\x82\n\x87\x40\r\x82"sv;
    const DecodedText decoded = DecodeWithPositions(bytes);
    EXPECT_EQ(decoded.text, L"A日\uFF71\uFFFD\n\u2460\r\uFFFD");
    const std::vector<std::size_t> expected = {0, 1, 1, 2, 3, 4, 5, 5, 6, 7, 8};
    EXPECT_EQ(decoded.charPos, expected);
}

TEST(Cp932Decode, PositionMapIsMonotonicAndEndsAtTheTextSize) {
    const std::string_view inputs[] = {
        ""sv,
        "\n"sv,
        "\x82"sv,
        "\x93\xFA\x96\x7B\r\n\x82\xA0\x82"sv,
        "\x81\x40\x81\xAD\x80\xFF\xB1\x82\x82\x82\n\x87\x40"sv,
    };
    for (std::string_view bytes : inputs) {
        SCOPED_TRACE(HexBytes(bytes));
        const DecodedText decoded = DecodeWithPositions(bytes);
        ASSERT_EQ(decoded.charPos.size(), bytes.size() + 1);
        EXPECT_EQ(decoded.charPos.front(), 0u);
        EXPECT_EQ(decoded.charPos.back(), decoded.text.size());
        for (std::size_t b = 0; b < bytes.size(); ++b) {
            const std::size_t step = decoded.charPos[b + 1] - decoded.charPos[b];
            // A new character begins exactly at each character boundary.
            EXPECT_EQ(step, IsCharBoundary(bytes, b + 1) ? 1u : 0u) << "at byte " << b;
            if (IsCharBoundary(bytes, b)) {
                EXPECT_EQ(static_cast<char32_t>(decoded.text[decoded.charPos[b]]),
                          DecodeChar(bytes, b, nullptr))
                    << "at byte " << b;
            }
        }
    }
}

TEST(Cp932Decode, EveryTruncatedPrefixGivesValidUtf8) {
    const std::string_view mixed =
        "Subject: \x93\xFA\x96\x7B\x8C\xEA \xB6\xC0\xB6\xC5 \x87\x40\xFB\xFC\x85\x40\x80\n\x82"sv;
    for (std::size_t n = 0; n <= mixed.size(); ++n) {
        const std::string_view prefix = mixed.substr(0, n);
        SCOPED_TRACE(HexBytes(prefix));
        const std::string utf8 = ToUtf8(prefix);
        EXPECT_EQ(CountValidUtf8(utf8), ToWide(prefix).size());
    }
}

TEST(Cp932Decode, AppendUtf8EncodesEveryLengthAndReplacesInvalidCodePoints) {
    struct Case {
        char32_t cp;
        std::string_view utf8;
    };
    const Case cases[] = {
        {0x00, "\0"sv},
        {0x7F, "\x7F"sv},
        {0x80, "\xC2\x80"sv},
        {0x7FF, "\xDF\xBF"sv},
        {0x800, "\xE0\xA0\x80"sv},
        {0xFFFF, "\xEF\xBF\xBF"sv},
        {0x10000, "\xF0\x90\x80\x80"sv},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"sv},
        {0xD800, "\xEF\xBF\xBD"sv},
        {0x110000, "\xEF\xBF\xBD"sv},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendUtf8(out, c.cp);
        std::string expected = "x";
        expected += c.utf8;
        EXPECT_EQ(out, expected) << "U+" << std::hex << unsigned(c.cp);
    }
}

TEST(Cp932Decode, TerminalWidth) {
    struct Case {
        char32_t cp;
        int width;
    };
    const Case cases[] = {
        {U'A', 1},   {0x00E9, 1}, {0x0301, 0},  {0x036F, 0}, {0x0370, 1}, {0x20DD, 0}, {0x2460, 1},
        {0x2500, 1}, {0x3000, 2}, {0x3001, 2},  {0x303E, 2}, {0x3042, 2}, {0x3099, 0}, {0x309B, 2},
        {0x30A2, 2}, {0x4E00, 2}, {0x9AD9, 2},  {0xAC00, 2}, {0xD7A3, 2}, {0xE000, 1}, {0xF929, 2},
        {0xFE20, 0}, {0xFF01, 2}, {0xFF60, 2},  {0xFF61, 1}, {0xFF9F, 1}, {0xFFE0, 2}, {0xFFE6, 2},
        {0xFFE8, 1}, {0xFFFD, 1}, {0x20000, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalWidth(c.cp), c.width) << "U+" << std::hex << unsigned(c.cp);
    }
}

}  // namespace
}  // namespace ek::cp932
