#include "core/views/ContentStyles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace ek {
namespace {

using C = RunColour;
using Runs = std::vector<StyleRun>;

// Reference UTF-8 of one character, as a separate spelling of the encoder.
std::string Utf8Of(std::wstring_view text) {
    std::string out;
    for (wchar_t w : text) {
        auto c = static_cast<char32_t>(w);
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out +=
                {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out +=
                {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                 static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return out;
}

TEST(ContentStylesTest, RunsLandOnTheBytesOfTheirCharacters) {
    struct Case {
        const char* name;
        std::wstring text;
        Runs runs;
        std::string expectedText;
        Runs expected;
    };
    const Case cases[] = {
        {"empty", L"", {}, "", {}},
        {"ASCII keeps its positions",
         L"ab cd",
         {{0, 2, C::Url, true}},
         "ab cd",
         {{0, 2, C::Url, true}}},
        {"after kanji",
         L"資料 http",
         {{3, 7, C::Url, false}},
         "\xE8\xB3\x87\xE6\x96\x99 http",
         {{7, 11, C::Url, false}}},
        {"over kana and a note to the end",
         L"a\nあい",
         {{0, 1, C::Quote, false}, {2, 4, C::Note, false}},
         "a\n\xE3\x81\x82\xE3\x81\x84",
         {{0, 1, C::Quote, false}, {2, 8, C::Note, false}}},
        {"two-byte character and touching runs",
         L"é>x",
         {{0, 1, C::Mail, false}, {1, 3, C::Quote, true}},
         "\xC3\xA9>x",
         {{0, 2, C::Mail, false}, {2, 4, C::Quote, true}}},
        {"a run past the text ends with it",
         L"ab",
         {{1, 9, C::Url, false}},
         "ab",
         {{1, 2, C::Url, false}}},
        {"lone surrogate",
         std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x",
         {{1, 2, C::Url, false}},
         "\xEF\xBF\xBDx",
         {{3, 4, C::Url, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Utf8Display shown = ToUtf8Display(c.text, c.runs);
        EXPECT_EQ(shown.text, c.expectedText);
        EXPECT_EQ(shown.runs, c.expected);
    }
}

TEST(ContentStylesTest, RandomTextsKeepEveryRunOnTheSameCharacters) {
    const wchar_t alphabet[] = L"a> \n@.資料あ＞ｱé\xFFFD";
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::wstring text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            text += alphabet[random() % (std::size(alphabet) - 1)];
        }
        Runs runs;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t start = at + random() % 4;
            std::size_t end = std::min(text.size(), start + 1 + random() % 6);
            if (start >= end) {
                break;
            }
            runs.push_back({start, end, static_cast<C>(1 + random() % 4), random() % 2 == 0});
            at = end;
        }
        SCOPED_TRACE("round " + std::to_string(round));
        Utf8Display shown = ToUtf8Display(text, runs);
        ASSERT_EQ(shown.text, Utf8Of(text));
        ASSERT_EQ(shown.runs.size(), runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const StyleRun& run = runs[i];
            EXPECT_EQ(
                shown.text.substr(shown.runs[i].start, shown.runs[i].end - shown.runs[i].start),
                Utf8Of(std::wstring_view(text).substr(run.start, run.end - run.start)));
            EXPECT_EQ(shown.runs[i].start,
                      Utf8Of(std::wstring_view(text).substr(0, run.start)).size());
            EXPECT_EQ(shown.runs[i].colour, run.colour);
            EXPECT_EQ(shown.runs[i].bold, run.bold);
        }
    }
}

TEST(ContentStylesTest, EachColourAndWeightHasItsOwnStyleAndPlainTextIsZero) {
    std::set<int> styles;
    for (C colour : {C::None, C::Url, C::Mail, C::Quote, C::Note}) {
        for (bool bold : {false, true}) {
            const int style = StyleOfRun(colour, bold);
            EXPECT_GE(style, 0);
            EXPECT_LT(style, kRunStyleCount);
            EXPECT_EQ(ColourOfStyle(style), colour);
            EXPECT_EQ(IsBoldStyle(style), bold);
            styles.insert(style);
        }
    }
    EXPECT_EQ(styles.size(), static_cast<std::size_t>(kRunStyleCount));
    EXPECT_EQ(StyleOfRun(C::None, false), 0);
}

// The style of every position of a text of `length` positions, run by run.
std::vector<int> StylePerPosition(const Runs& runs, std::size_t length) {
    std::vector<int> styles(length, 0);
    for (const StyleRun& run : runs) {
        for (std::size_t p = run.start; p < run.end && p < length; ++p) {
            styles[p] = StyleOfRun(run.colour, run.bold);
        }
    }
    return styles;
}

TEST(ContentStylesTest, StylesOfAnyRangeMatchThePositionsAndCoverItWithoutGaps) {
    std::mt19937 random(5);
    for (int round = 0; round < 100; ++round) {
        Runs runs;
        std::size_t at = 0;
        while (at < 30) {
            std::size_t start = at + random() % 3;
            std::size_t end = start + 1 + random() % 5;
            runs.push_back({start, end, static_cast<C>(random() % 5), random() % 2 == 0});
            if (runs.back().colour == C::None && !runs.back().bold) {
                runs.back().bold = true;
            }
            at = end;
        }
        const std::vector<int> expected = StylePerPosition(runs, at + 3);
        for (std::size_t from = 0; from <= expected.size(); ++from) {
            for (std::size_t to = from; to <= expected.size(); ++to) {
                SCOPED_TRACE("round " + std::to_string(round) + " [" + std::to_string(from) + "," +
                             std::to_string(to) + ")");
                std::vector<StyleSpan> spans = StylesInRange(runs, from, to);
                std::size_t next = from;
                for (std::size_t i = 0; i < spans.size(); ++i) {
                    ASSERT_EQ(spans[i].start, next);
                    ASSERT_LT(spans[i].start, spans[i].end);
                    if (i > 0) {
                        EXPECT_NE(spans[i].style, spans[i - 1].style) << "unmerged";
                    }
                    for (std::size_t p = spans[i].start; p < spans[i].end; ++p) {
                        ASSERT_EQ(spans[i].style, expected[p]) << "at " << p;
                    }
                    next = spans[i].end;
                }
                ASSERT_EQ(next, to);
            }
        }
    }
}

TEST(ContentStylesTest, UnstyledRangesAgreeWithASetOfPositions) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        UnstyledRanges ranges;
        std::vector<bool> unstyled(40, false);
        for (int op = 0; op < 12; ++op) {
            std::size_t from = random() % 40;
            std::size_t to = std::min<std::size_t>(40, from + random() % 12);
            SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op) + " [" +
                         std::to_string(from) + "," + std::to_string(to) + ")");
            std::size_t first = to;
            for (std::size_t p = from; p < to; ++p) {
                if (unstyled[p]) {
                    first = p;
                    break;
                }
            }
            ASSERT_EQ(ranges.FirstIn(from, to), first);
            if (random() % 2 == 0) {
                ranges.Add(from, to);
                for (std::size_t p = from; p < to; ++p) {
                    unstyled[p] = true;
                }
            } else {
                std::vector<bool> taken(40, false);
                std::size_t last = from;
                for (auto [start, end] : ranges.Take(from, to)) {
                    ASSERT_GE(start, last);
                    ASSERT_LT(start, end);
                    for (std::size_t p = start; p < end; ++p) {
                        taken[p] = true;
                    }
                    last = end;
                }
                for (std::size_t p = 0; p < 40; ++p) {
                    ASSERT_EQ(taken[p], unstyled[p] && p >= from && p < to) << "at " << p;
                    if (taken[p]) {
                        unstyled[p] = false;
                    }
                }
            }
            ASSERT_EQ(ranges.Empty(),
                      std::find(unstyled.begin(), unstyled.end(), true) == unstyled.end());
        }
    }
}

}  // namespace
}  // namespace ek
