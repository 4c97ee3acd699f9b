// The one UTF-8 decoder: well-formed sequences, and every way a sequence can be broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

#include "core/platform/Utf8.h"

namespace ek::utf8 {
namespace {

// Each byte as \xNN, so that a failure shows the input.
std::string Hex(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        char byte[5];
        std::snprintf(byte, sizeof byte, "\\x%02X", static_cast<unsigned char>(c));
        out += byte;
    }
    return out;
}

struct DecodeCase {
    std::string bytes;
    // What Decode gives at the first byte: its length (0: no sequence) and code point.
    std::size_t length;
    char32_t cp;
};

void PrintTo(const DecodeCase& c, std::ostream* out) {
    *out << Hex(c.bytes);
}

class Utf8DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8DecodeTest, DecodesTheFirstSequenceOrRefusesIt) {
    const DecodeCase& c = GetParam();
    SCOPED_TRACE(Hex(c.bytes));
    char32_t cp = 0;
    const std::size_t length = Decode(c.bytes, 0, cp);
    EXPECT_EQ(length, c.length);
    if (length != 0) {
        EXPECT_EQ(cp, c.cp);
    }
    std::size_t pos = 0;
    EXPECT_EQ(Next(c.bytes, pos), length == 0 ? kReplacementChar : c.cp);
    EXPECT_EQ(pos, length == 0 ? 1 : length);
    if (length == 0 || length == c.bytes.size()) {
        EXPECT_EQ(IsValid(c.bytes), length != 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8DecodeTest,
    ::testing::Values(
        // Well-formed, at each length's least and greatest value.
        DecodeCase{std::string(1, '\0'), 1, 0}, DecodeCase{"A", 1, 'A'},
        DecodeCase{"\x7F", 1, 0x7F}, DecodeCase{"\xC2\x80", 2, 0x80},
        DecodeCase{"\xDF\xBF", 2, 0x7FF}, DecodeCase{"\xE0\xA0\x80", 3, 0x800},
        DecodeCase{"\xE3\x81\x82", 3, 0x3042}, DecodeCase{"\xED\x9F\xBF", 3, 0xD7FF},
        DecodeCase{"\xEE\x80\x80", 3, 0xE000}, DecodeCase{"\xEF\xBF\xBF", 3, 0xFFFF},
        DecodeCase{"\xF0\x90\x80\x80", 4, 0x10000}, DecodeCase{"\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        // Stray continuation bytes and bytes that lead nothing.
        DecodeCase{"\x80", 0, 0}, DecodeCase{"\xBF", 0, 0}, DecodeCase{"\xF5\x80\x80\x80", 0, 0},
        DecodeCase{"\xFF", 0, 0}, DecodeCase{"\xFE", 0, 0},
        // Overlong forms.
        DecodeCase{"\xC0\x80", 0, 0}, DecodeCase{"\xC1\xBF", 0, 0},
        DecodeCase{"\xE0\x80\x80", 0, 0}, DecodeCase{"\xE0\x9F\xBF", 0, 0},
        DecodeCase{"\xF0\x80\x80\x80", 0, 0}, DecodeCase{"\xF0\x8F\xBF\xBF", 0, 0},
        // Surrogates, and code points beyond U+10FFFF.
        DecodeCase{"\xED\xA0\x80", 0, 0}, DecodeCase{"\xED\xBF\xBF", 0, 0},
        DecodeCase{"\xF4\x90\x80\x80", 0, 0},
        // Cut short by the end, or by a byte that continues nothing.
        DecodeCase{"\xC2", 0, 0}, DecodeCase{"\xE3\x81", 0, 0}, DecodeCase{"\xF0\x9F\x98", 0, 0},
        DecodeCase{"\xE3"
                   "A\x82",
                   0, 0},
        DecodeCase{"\xE3\x81"
                   "A",
                   0, 0},
        DecodeCase{"\xF0\x9F\x98"
                   "A",
                   0, 0},
        DecodeCase{"\xC2\xC2\x80", 0, 0},
        // A well-formed start with more behind it.
        DecodeCase{"\xE3\x81\x82\xFF", 3, 0x3042}, DecodeCase{"ab", 1, 'a'}));

TEST(Utf8Test, NextStepsOverBrokenBytesOneAtATime) {
    const std::string text =
        "a\xE3\x81\x82\xE3\x81"
        "b\xF0\x9F\x98\x80\xED\xA0\x80";
    const std::u32string expected = {
        'a',     0x3042,           kReplacementChar, kReplacementChar, 'b',
        0x1F600, kReplacementChar, kReplacementChar, kReplacementChar};
    std::u32string got;
    for (std::size_t pos = 0; pos < text.size();) {
        got += Next(text, pos);
    }
    EXPECT_EQ(got, expected);
}

TEST(Utf8Test, EveryPrefixOfAValidTextIsValidOnlyAtCharacterEnds) {
    const std::string text = "aあ😀é";
    const std::size_t ends[] = {0, 1, 4, 8, 10};
    for (std::size_t size = 0; size <= text.size(); ++size) {
        SCOPED_TRACE(Hex(text.substr(0, size)));
        const bool atEnd = std::find(std::begin(ends), std::end(ends), size) != std::end(ends);
        EXPECT_EQ(IsValid(std::string_view(text).substr(0, size)), atEnd);
    }
}

}  // namespace
}  // namespace ek::utf8
