#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "tests/support/HexBytes.h"

namespace ek::cp932 {
namespace {

using namespace std::string_view_literals;

using test::HexBytes;

std::string CodePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// Every CP932 code the decoder maps to a real character: single bytes, then all pairs.
std::vector<std::string> MappedCodes() {
    std::vector<std::string> codes;
    for (int b = 0; b < 0x100; ++b) {
        codes.emplace_back(1, static_cast<char>(b));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    std::erase_if(codes, [](const std::string& code) {
        std::size_t length = 0;
        return DecodeChar(code, 0, &length) == kReplacementChar || length != code.size();
    });
    return codes;
}

TEST(Cp932Encode, EveryDecodableCharacterRoundTrips) {
    const std::vector<std::string> codes = MappedCodes();
    ASSERT_EQ(codes.size(), 128u + 63u + 9604u);
    std::u32string all;
    for (const std::string& code : codes) {
        const char32_t cp = DecodeChar(code, 0, nullptr);
        std::string encoded;
        ASSERT_TRUE(EncodeChar(cp, encoded)) << CodePointName(cp);
        std::size_t length = 0;
        EXPECT_EQ(DecodeChar(encoded, 0, &length), cp)
            << CodePointName(cp) << " " << HexBytes(encoded);
        EXPECT_EQ(length, encoded.size()) << CodePointName(cp);
        all += cp;
    }

    std::string utf8;
    std::wstring wide;
    for (char32_t cp : all) {
        AppendUtf8(utf8, cp);
        wide += static_cast<wchar_t>(cp);
    }
    bool lossless = false;
    const std::string fromUtf8 = FromUtf8(utf8, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(ToUtf8(fromUtf8), utf8);
    lossless = false;
    EXPECT_EQ(FromWide(wide, &lossless), fromUtf8);
    EXPECT_TRUE(lossless);
}

struct Choice {
    char32_t codePoint;
    std::string_view bytes;                // what `iconv -f UTF-8 -t CP932` writes
    std::vector<std::string_view> others;  // further codes that decode to the same character
};

TEST(Cp932Encode, ChoosesTheCodeGlibcWrites) {
    const std::vector<Choice> choices = {
        {U'∵', "\x81\xE6", {"\x87\x9A", "\xFA\x5B"}},
        {U'￢', "\x81\xCA", {"\xEE\xF9", "\xFA\x54"}},
        {U'≒', "\x81\xE0", {"\x87\x90"}},
        {U'≡', "\x81\xDF", {"\x87\x91"}},
        {U'∫', "\x81\xE7", {"\x87\x92"}},
        {U'√', "\x81\xE3", {"\x87\x95"}},
        {U'⊥', "\x81\xDB", {"\x87\x96"}},
        {U'∠', "\x81\xDA", {"\x87\x97"}},
        {U'∩', "\x81\xBF", {"\x87\x9B"}},
        {U'∪', "\x81\xBE", {"\x87\x9C"}},
        {U'∮', "\x87\x93", {}},
        {U'∟', "\x87\x98", {}},
        {U'⊿', "\x87\x99", {}},
        {U'Ⅰ', "\x87\x54", {"\xFA\x4A"}},
        {U'ⅰ', "\xFA\x40", {"\xEE\xEF"}},
        {U'№', "\x87\x82", {"\xFA\x59"}},
        {U'㈱', "\x87\x8A", {"\xFA\x58"}},
        {U'℡', "\x87\x84", {"\xFA\x5A"}},
        {U'纊', "\xFA\x5C", {"\xED\x40"}},
        {U'￤', "\xFA\x55", {"\xEE\xFA"}},
        {U'＇', "\xFA\x56", {"\xEE\xFB"}},
        {U'＂', "\xFA\x57", {"\xEE\xFC"}},
        // Single bytes, and glibc's one-way mappings onto codes that decode to another character.
        {U'\\', "\\", {}},
        {U'~', "~", {}},
        {U'¥', "\\", {}},
        {U'‾', "~", {}},
        {U'｡', "\xA1", {}},
        {U'ﾟ', "\xDF", {}},
        {U'¢', "\x81\x91", {}},
        {U'£', "\x81\x92", {}},
        {U'¬', "\x81\xCA", {}},
        {U'—', "\x81\x5C", {}},
        {U'‖', "\x81\x61", {}},
        {U'−', "\x81\x7C", {}},
        {U'〜', "\x81\x60", {}},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(CodePointName(choice.codePoint));
        std::string out = "x";
        EXPECT_TRUE(EncodeChar(choice.codePoint, out));
        std::string expected = "x";
        expected += choice.bytes;
        EXPECT_EQ(HexBytes(out), HexBytes(expected));
        std::string utf8;
        AppendUtf8(utf8, choice.codePoint);
        EXPECT_EQ(HexBytes(FromUtf8(utf8)), HexBytes(choice.bytes));
        for (std::string_view other : choice.others) {
            EXPECT_EQ(DecodeChar(other, 0, nullptr), choice.codePoint) << HexBytes(other);
        }
    }
}

TEST(Cp932Encode, MixedTextMatchesIconv) {
    bool lossless = false;
    EXPECT_EQ(HexBytes(FromUtf8("引用「ﾃｽﾄ」①Ⅱ～¥", &lossless)),
              HexBytes("\x88\xF8\x97\x70\x81\x75\xC3\xBD\xC4\x81\x76\x87\x40\x87\x55\x81\x60\x5C"));
    EXPECT_TRUE(lossless);
}

TEST(Cp932Encode, CharactersWithoutACp932FormBecomeAQuestionMark) {
    for (char32_t cp : {U'€', U'¦', U'\u0080', U'\uFEFF', U'\uFF60', U'\uFFA0', U'한',
                        U'\U0001F600', char32_t{0xD800}, char32_t{0x110000}}) {
        SCOPED_TRACE(CodePointName(cp));
        std::string out = "x";
        EXPECT_FALSE(EncodeChar(cp, out));
        EXPECT_EQ(out, "x");
        std::wstring wide = L"a";
        if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
            // UTF-16 (Windows): a pair for the planes above, nothing beyond U+10FFFF.
            if (cp > 0x10FFFF) {
                continue;
            }
            wide += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(cp);
        }
        bool lossless = true;
        EXPECT_EQ(FromWide(wide, &lossless), "a?");
        EXPECT_FALSE(lossless);
    }
    bool lossless = true;
    EXPECT_EQ(FromUtf8("a€b😀c", &lossless), "a?b?c");
    EXPECT_FALSE(lossless);
}

TEST(Cp932Encode, TagCharactersAreDroppedAsGlibcDropsThem) {
    std::string out = "x";
    EXPECT_TRUE(EncodeChar(U'\U000E0001', out));
    EXPECT_EQ(out, "x");
    bool lossless = false;
    EXPECT_EQ(FromUtf8("A\U000E0001\U000E007FB", &lossless), "AB");
    EXPECT_TRUE(lossless);
}

TEST(Cp932Encode, EveryInvalidUtf8ByteBecomesOneQuestionMark) {
    const struct {
        std::string_view utf8;
        std::string_view cp932;
    } cases[] = {
        {"\x80", "?"},
        {"A\xC3", "A?"},  // cut after the lead byte
        {"\xE3\x81"
         "A",
         "??A"},                                // cut three-byte sequence
        {"\xC0\x80", "??"},                     // overlong NUL
        {"\xE0\x80\xAF", "???"},                // overlong slash
        {"\xED\xA0\x80", "???"},                // a surrogate
        {"\xF4\x90\x80\x80", "????"},           // beyond U+10FFFF
        {"\xF5\xFE\xFF", "???"},                // never in UTF-8
        {"\xE3\x81\x82\xE3", "\x82\xA0?"},      // あ, then a lone lead byte
        {"\xC3\xA9\xE3\x81\x82", "?\x82\xA0"},  // é has no CP932 form: one "?"
        {"\xF0\x9F\x98\x80"
         "\x80"
         "A",
         "??A"},  // an emoji, a stray continuation
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(HexBytes(c.utf8));
        bool lossless = true;
        EXPECT_EQ(HexBytes(FromUtf8(c.utf8, &lossless)), HexBytes(c.cp932));
        EXPECT_FALSE(lossless);
    }
}

TEST(Cp932Encode, TruncatedPrefixesKeepTheCompletePart) {
    const std::string utf8 = "a¥あ\U0001F600ｱ";
    const std::string full = FromUtf8(utf8);
    ASSERT_EQ(HexBytes(full), HexBytes("a\\\x82\xA0?\xB1"));
    // Byte length of each character of `utf8`, with the CP932 bytes it gives.
    const std::vector<std::pair<std::size_t, std::size_t>> sizes = {
        {1, 1}, {2, 1}, {3, 2}, {4, 1}, {3, 1}};
    std::size_t utf8End = 0;
    std::size_t cp932End = 0;
    for (const auto& [utf8Size, cp932Size] : sizes) {
        for (std::size_t cut = 1; cut < utf8Size; ++cut) {
            SCOPED_TRACE(utf8End + cut);
            bool lossless = true;
            const std::string out =
                FromUtf8(std::string_view(utf8).substr(0, utf8End + cut), &lossless);
            EXPECT_EQ(HexBytes(out), HexBytes(full.substr(0, cp932End) + std::string(cut, '?')));
            EXPECT_FALSE(lossless);
        }
        utf8End += utf8Size;
        cp932End += cp932Size;
        EXPECT_EQ(FromUtf8(std::string_view(utf8).substr(0, utf8End)), full.substr(0, cp932End));
    }
}

TEST(Cp932Encode, FromWideReadsSurrogatePairsAsOneCharacter) {
    const struct {
        std::wstring wide;
        std::string_view cp932;
        bool lossless;
    } cases[] = {
        {L"\x3042\xFF71", "\x82\xA0\xB1", true},
        {{wchar_t{0xD83D}, wchar_t{0xDE00}, L'A'}, "?A", false},  // one character: one "?"
        {{wchar_t{0xD800}, L'A'}, "?A", false},                   // lone high surrogate
        {{L'A', wchar_t{0xDC00}}, "A?", false},                   // lone low surrogate
        {{wchar_t{0xD800}, wchar_t{0xD800}, wchar_t{0xDC00}}, "??", false},
        {{wchar_t{0xDC00}, wchar_t{0xD800}}, "??", false},  // reversed: two lone halves
        {{wchar_t{0xD83D}}, "?", false},                    // cut after the high half
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cp932);
        bool lossless = !c.lossless;
        EXPECT_EQ(HexBytes(FromWide(c.wide, &lossless)), HexBytes(c.cp932));
        EXPECT_EQ(lossless, c.lossless);
    }
}

TEST(Cp932Encode, EmptyInputIsLosslessAndEmpty) {
    bool lossless = false;
    EXPECT_EQ(FromUtf8("", &lossless), "");
    EXPECT_TRUE(lossless);
    lossless = false;
    EXPECT_EQ(FromWide(L"", &lossless), "");
    EXPECT_TRUE(lossless);
    EXPECT_EQ(FromUtf8(""), "");
    EXPECT_EQ(FromWide(L""), "");
}

TEST(Cp932Encode, NulAndControlBytesPassThrough) {
    const std::string utf8("a\0\t\r\n\x7F"sv);
    bool lossless = false;
    EXPECT_EQ(FromUtf8(utf8, &lossless), utf8);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(FromWide(std::wstring(L"a\0\t\r\n\x7F", 6)), utf8);
}

}  // namespace
}  // namespace ek::cp932
