#include "core/views/FindText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace ek {
namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::string what;
    std::size_t at;  // from for next, before for previous
    std::optional<FoundText> next;
    std::optional<FoundText> previous;
};

// "資" is E8 B3 87; "料" is E6 96 99.
const FindCase kCases[] = {
    {"ASCII letters in either case", "See the Mail", "MAIL", 0, FoundText{8, 12, false},
     FoundText{8, 12, true}},
    {"from the match itself finds it again", "ab ab", "ab", 3, FoundText{3, 5, false},
     FoundText{0, 2, false}},
    {"wraps past the end, and past the start", "ab ab", "ab", 4, FoundText{0, 2, true},
     FoundText{3, 5, false}},
    {"previous wraps to the last", "ab ab", "ab", 0, FoundText{0, 2, false}, FoundText{3, 5, true}},
    {"Japanese exactly", "資料と資料", "資料", 1, FoundText{9, 15, false}, FoundText{0, 6, false}},
    {"full-width letters keep their case", "ＭＡＩＬ", "ｍａｉｌ", 0, std::nullopt, std::nullopt},
    {"non-letters are not folded", "[x]", "{X}", 0, std::nullopt, std::nullopt},
    {"@ is not `", "a@b", "a`b", 0, std::nullopt, std::nullopt},
    {"empty query finds nothing", "abc", "", 0, std::nullopt, std::nullopt},
    {"longer than the text", "ab", "abc", 0, std::nullopt, std::nullopt},
    {"at the very end", "xxend", "END", 0, FoundText{2, 5, false}, FoundText{2, 5, true}},
    {"from past the end", "abc", "b", 10, FoundText{1, 2, true}, FoundText{1, 2, false}},
    {"a line end inside the query", "one\ntwo", "e\nT", 0, FoundText{2, 5, false},
     FoundText{2, 5, true}},
};

TEST(FindTextTest, NextAndPreviousOnTable) {
    for (const FindCase& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + ": \"" + c.what + "\" in \"" + c.text + "\" at " +
                     std::to_string(c.at));
        EXPECT_EQ(FindNextText(c.text, c.what, c.at), c.next);
        EXPECT_EQ(FindPreviousText(c.text, c.what, c.at), c.previous);
    }
}

// Stepping with next visits every match in order and comes back to the first with
// the wrap noted; previous visits them in reverse.
TEST(FindTextTest, SteppingVisitsEveryMatchAgainstALiteralSearch) {
    std::mt19937 random(7);
    const char* pieces[] = {"a", "A", "b", "資", "料", "\n", " "};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 30; ++i) {
            text += pieces[random() % std::size(pieces)];
        }
        const std::string what = random() % 2 == 0 ? "ab" : "資a";
        std::vector<std::size_t> expected;
        for (std::size_t at = 0; at + what.size() <= text.size(); ++at) {
            bool same = true;
            for (std::size_t i = 0; i < what.size(); ++i) {
                same = same && std::tolower(static_cast<unsigned char>(text[at + i])) ==
                                   std::tolower(static_cast<unsigned char>(what[i]));
            }
            if (same) {
                expected.push_back(at);
            }
        }
        SCOPED_TRACE(text + " / " + what);
        if (expected.empty()) {
            EXPECT_EQ(FindNextText(text, what, 0), std::nullopt);
            continue;
        }
        std::size_t from = 0;
        for (std::size_t k = 0; k <= expected.size(); ++k) {
            auto found = FindNextText(text, what, from);
            ASSERT_TRUE(found);
            EXPECT_EQ(found->start, expected[k % expected.size()]);
            EXPECT_EQ(found->wrapped, k == expected.size());
            from = found->end;
        }
        std::size_t before = text.size();
        for (std::size_t k = expected.size(); k-- > 0;) {
            auto found = FindPreviousText(text, what, before);
            ASSERT_TRUE(found);
            EXPECT_EQ(found->start, expected[k]);
            EXPECT_FALSE(found->wrapped);
            before = found->start;
        }
        EXPECT_TRUE(FindPreviousText(text, what, before)->wrapped);
    }
}

}  // namespace
}  // namespace ek
