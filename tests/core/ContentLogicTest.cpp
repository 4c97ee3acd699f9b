#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "core/views/ContentFormat.h"
#include "core/views/ContentKeys.h"
#include "core/views/FirstPart.h"

namespace ek {
namespace {

using Lines = std::vector<std::string>;

// Lines written in UTF-8, stored as the mail holds them.
Lines Cp932Lines(std::initializer_list<const char*> utf8) {
    Lines lines;
    for (const char* line : utf8) {
        lines.push_back(cp932::FromUtf8(line));
    }
    return lines;
}

std::wstring Wide(const char* utf8) {
    return cp932::ToWide(cp932::FromUtf8(utf8));
}

// Each run as the characters it covers, with its colour and weight.
std::vector<std::pair<std::wstring, std::string>> Covered(const ContentDisplay& display) {
    static const char* const kNames[] = {"-", "Url", "Mail", "Quote", "Note"};
    std::vector<std::pair<std::wstring, std::string>> covered;
    for (const StyleRun& run : display.runs) {
        EXPECT_LT(run.start, run.end);
        EXPECT_LE(run.end, display.text.size());
        covered.emplace_back(
            display.text.substr(run.start, run.end - run.start),
            std::string(kNames[static_cast<int>(run.colour)]) + (run.bold ? "+B" : ""));
    }
    return covered;
}

ContentDisplay Prepare(const Lines& lines, bool note, const char* quoteUtf8) {
    return PrepareContentDisplay(lines, JoinLines(lines), note, cp932::FromUtf8(quoteUtf8));
}

TEST(ContentDisplay, JapaneseMessageRunsCoverTheNamedCharacters) {
    Lines lines = Cp932Lines({
        "Subject: 打ち合わせの件\n",
        "From: 山田 太郎 <taro@example.jp>\n",
        "\n",
        "資料は http://www.example.com/資料 にあります。\n",
        "＞ 引用された行です\n",
        "連絡先：山田 taro@example.jp まで\n",
    });
    lines.emplace_back(kAttachmentNote);
    ContentDisplay display = Prepare(lines, true, "＞ >");

    std::wstring expectedText;
    for (const std::string& line : lines) {
        expectedText += cp932::ToWide(line);
    }
    EXPECT_EQ(display.text, expectedText);

    std::vector<std::pair<std::wstring, std::string>> expected = {
        {L"Subject:", "-+B"},
        {L"From:", "-+B"},
        {L"http://www.example.com/", "Url"},
        {Wide("＞ 引用された行です\n"), "Quote"},
        {L"taro@example.jp", "Mail"},
        {Wide("(添付ファイルがあります)"), "Note"},
    };
    EXPECT_EQ(Covered(display), expected);
}

TEST(ContentDisplay, SpanStartingOnASecondByteTakesTheWholeCharacter) {
    // The second byte of "ア" (0x83 0x41) is the letter A, so the address scan
    // steps back onto it.
    Lines lines = Cp932Lines({"\n", "アb@example.jp\n"});
    std::vector<std::pair<std::wstring, std::string>> expected = {{Wide("アb@example.jp"), "Mail"}};
    EXPECT_EQ(Covered(Prepare(lines, false, "")), expected);
}

TEST(ContentDisplay, NulByteKeepsLaterRunsInPlace) {
    Lines lines = {"\n", std::string("a\0b http://x.jp/\n", 17)};
    ContentDisplay display = Prepare(lines, false, "");
    EXPECT_EQ(display.text, std::wstring(L"\na\xFFFD"
                                         L"b http://x.jp/\n"));
    std::vector<std::pair<std::wstring, std::string>> expected = {{L"http://x.jp/", "Url"}};
    EXPECT_EQ(Covered(display), expected);
}

TEST(ContentDisplay, QuoteColourOverAddressesAndBoldWithColourSplitRuns) {
    // With all header lines the message-start line is bold to its first colon; a
    // quoted body line takes the quote colour over the address steps before it.
    Lines lines = Cp932Lines({
        "From - Mon Apr 03 09:15:00 2000\n",
        "\n",
        "> see http://a.jp/ or b@c.jp\n",
    });
    std::vector<std::pair<std::wstring, std::string>> expected = {
        {L"From - Mon Apr 03 09:", "-+B"},
        {L"> see http://a.jp/ or b@c.jp\n", "Quote"},
    };
    EXPECT_EQ(Covered(Prepare(lines, false, ">")), expected);
}

TEST(ContentDisplay, EmptyMessage) {
    ContentDisplay display = Prepare({}, false, "> ");
    EXPECT_TRUE(display.text.empty());
    EXPECT_TRUE(display.runs.empty());
}

TEST(ContentFont, ChosenSizeKeepsWholePointsInTwips) {
    const std::pair<int, int> cases[] = {{105, 200}, {100, 200}, {109, 200}, {110, 220},
                                         {95, 180},  {120, 240}, {10, 20},   {9, 0}};
    for (const auto& [tenths, twips] : cases) {
        SCOPED_TRACE(tenths);
        EXPECT_EQ(ChosenSizeToTwips(tenths), twips);
    }
}

TEST(ContentKeys, ActionOfEachReadingKey) {
    using K = ReadingKey;
    using A = ReadingAction;
    struct Case {
        K key;
        bool ctrl;
        A action;
    };
    const Case cases[] = {
        {K::Enter, false, A::ReturnToList},
        {K::Enter, true, A::ReturnToList},
        {K::Space, false, A::PageDown},
        {K::Space, true, A::PageDown},
        {K::Up, false, A::None},
        {K::Up, true, A::LineUp},
        {K::Down, false, A::None},
        {K::Down, true, A::LineDown},
        {K::K, false, A::LineUp},
        {K::K, true, A::LineUp},
        {K::J, false, A::LineDown},
        {K::J, true, A::LineDown},
        {K::Other, false, A::None},
        {K::Other, true, A::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.key) << " ctrl " << c.ctrl);
        EXPECT_EQ(ActionForKey(c.key, c.ctrl), c.action);
    }
}

TEST(ContentKeys, OnlyCharactersThatTypeTextAreDiscarded) {
    const std::pair<char32_t, bool> cases[] = {
        {U'a', true},  {U' ', true},   {U'~', true},   {U'あ', true},  {0xFF71, true},
        {0, false},    {U'\t', false}, {U'\r', false}, {U'\b', false}, {3, false},
        {0x7F, false}, {0x85, false},  {0xA0, true},
    };
    for (const auto& [unicode, typed] : cases) {
        SCOPED_TRACE(static_cast<unsigned>(unicode));
        EXPECT_EQ(IsTypedCharacter(unicode), typed);
    }
}

TEST(ContentKeys, KeyPressesThatTypeAreKeptFromTheControl) {
    struct Case {
        char32_t unicode;
        bool ctrl;
        bool alt;
        bool typing;
    };
    const Case cases[] = {
        {U'J', false, false, true},   {U' ', false, false, true},  {U'J', true, false, false},
        {U'C', true, false, false},   {U'x', false, true, false},  {0, false, false, false},
        {U'\r', false, false, false}, {U'あ', false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<unsigned>(c.unicode) << " " << c.ctrl << c.alt);
        EXPECT_EQ(IsTypingKey(c.unicode, c.ctrl, c.alt), c.typing);
    }
}

TEST(ContentKeys, NextMessageAfterTheLastPage) {
    struct Case {
        bool scrolled;
        long first;
        long count;
        bool due;
    };
    const Case cases[] = {
        {false, 0, 10, true}, {true, 3, 10, false}, {true, 8, 10, false}, {true, 9, 10, true},
        {true, 12, 10, true}, {false, 0, 0, true},  {true, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scrolled << " " << c.first << "/" << c.count);
        EXPECT_EQ(IsNextMessageDue(c.scrolled, c.first, c.count), c.due);
    }
}

}  // namespace
}  // namespace ek
