#include "core/views/Highlight.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/views/FirstPart.h"

namespace ek {
namespace {

using Lines = std::vector<std::string>;
using Steps = std::vector<HighlightStep>;
using K = HighlightKind;

std::string Show(const Steps& steps) {
    static const char* const kNames[] = {"Url", "Mail", "Quote", "Note", "Bold"};
    std::string shown;
    for (const HighlightStep& step : steps) {
        shown += std::string(kNames[static_cast<int>(step.kind)]) + "[" +
                 std::to_string(step.start) + "," + std::to_string(step.end) + ")";
    }
    return shown;
}

// One body line after an empty header: the line starts at position 1.
struct BodyLineCase {
    const char* line;
    Steps expected;  // offsets within the line
};

const BodyLineCase kBodyLineCases[] = {
    {"see http://a.example/x, ok\n", {{4, 23, K::Url}}},
    {"http://a.example/\n", {{0, 17, K::Url}}},
    {"http://a http://b\n", {{0, 8, K::Url}}},
    {"https://a.example/\n", {}},
    {"HTTP://A.EXAMPLE/\n", {}},
    {"http://a\x82\xa0"
     "b\n",
     {{0, 8, K::Url}}},
    {"http://a\tb\n", {{0, 8, K::Url}}},
    {"(http://a.example/)\n", {{1, 19, K::Url}}},
    // "h" as the trail byte of a double-byte character starts no marker...
    {"\x82http://a\n", {}},
    // ...and the search goes on to the next one.
    {"\x82http://a http://b\n", {{10, 18, K::Url}}},
    {"mail a.b_c-d@ex-1.example.\n", {{5, 26, K::Mail}}},
    {"a+b@c.d e\n", {{2, 7, K::Mail}}},
    {"x @ y\n", {{2, 3, K::Mail}}},
    {"@\n", {{0, 1, K::Mail}}},
    {"a@b c@d\n", {{0, 3, K::Mail}}},
    // The scan before "@" is bytewise: the trail byte "A" of 0x83 0x41 is taken.
    {"\x83\x41@b\n", {{1, 4, K::Mail}}},
    // 0x83 0x40 is one character; its "@" is no marker.
    {"\x83\x40x\n", {}},
    {"\x83\x40x y@z\n", {{4, 7, K::Mail}}},
    {"a@b\x82\xa0\n", {{0, 3, K::Mail}}},
    {"http://u@h.example/\n", {{0, 19, K::Url}, {7, 18, K::Mail}}},
    {"to a@b, http://c/\n", {{8, 17, K::Url}, {3, 6, K::Mail}}},
    {"Subject: not a header\n", {}},
};

TEST(HighlightTest, WebAndMailAddressesOfABodyLine) {
    for (const BodyLineCase& c : kBodyLineCases) {
        SCOPED_TRACE(c.line);
        Steps expected = c.expected;
        for (HighlightStep& step : expected) {
            step.start += 1;
            step.end += 1;
        }
        EXPECT_EQ(Show(BuildHighlightSteps({"\n", c.line}, false, "")), Show(expected));
    }
}

TEST(HighlightTest, PositionsRunAcrossLines) {
    // Header lines of 10 and 12 bytes: the blank line is at 22, the body starts at 23.
    const Lines lines = {"Date: 123\n", "From: a@b.c\n", "\n", "http://x\n", "y a@b\n"};
    EXPECT_EQ(Show(BuildHighlightSteps(lines, false, "")),
              Show({{23, 31, K::Url}, {34, 37, K::Mail}, {0, 5, K::Bold}, {10, 15, K::Bold}}));
}

TEST(HighlightTest, PassesComeInOrder) {
    const Lines lines = {
        "Date: Sun, 02 Jan 2000\n", "From: a\n",  "Subject: s\n", "\n",
        "http://w.example/\n",      "> quoted\n", "mail x@y.z\n", std::string(kAttachmentNote)};
    const std::size_t body = 23 + 8 + 11 + 1;
    const std::size_t note = body + 18 + 9 + 11;
    EXPECT_EQ(Show(BuildHighlightSteps(lines, true, ">")),
              Show({{body, body + 17, K::Url},
                    {body + 18 + 9 + 5, body + 18 + 9 + 10, K::Mail},
                    {body + 18, body + 18 + 9, K::Quote},
                    {note, note + kAttachmentNote.size(), K::Note},
                    {0, 5, K::Bold},
                    {23, 28, K::Bold},
                    {31, 39, K::Bold}}));
}

TEST(HighlightTest, NoteLineIsGreyAndItsTrailAtSignIsNoAddress) {
    const Lines lines = {"\n", "text\n", std::string(kAttachmentNote)};
    EXPECT_EQ(Show(BuildHighlightSteps(lines, true, "")),
              Show({{6, 6 + kAttachmentNote.size(), K::Note}}));
    EXPECT_EQ(Show(BuildHighlightSteps(lines, false, "")), "");
    EXPECT_EQ(Show(BuildHighlightSteps({}, true, ">")), "");
}

struct SplitCase {
    const char* marks;
    std::vector<std::string> expected;
};

const SplitCase kSplitCases[] = {
    {"", {}},
    {" \t\n\v\f\r", {}},
    {">", {">"}},
    {"> |", {">", "|"}},
    {">    |", {">", "|"}},
    {"  > |  ", {">", "|"}},
    {"\t> |\r\n", {">", "|"}},
    {"> \t |", {">", "|"}},
    {">\t|", {">\t|"}},
    {">\t| #", {">\t|", "#"}},
    {"> >", {">", ">"}},
    {"\x81\x84 >>", {"\x81\x84", ">>"}},
};

TEST(HighlightTest, QuoteMarksSplitOnSpacesOnly) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(std::string("marks \"") + c.marks + "\"");
        EXPECT_EQ(SplitQuoteMarks(c.marks), c.expected);
    }
}

struct QuoteCase {
    const char* marks;
    const char* line;
    int steps;  // whole-line quote steps for the line
};

const QuoteCase kQuoteCases[] = {
    {">", "> a\n", 1},       {">", " > a\n", 0},    {">", "a > b\n", 0},
    {"", "> a\n", 0},        {"  ", "> a\n", 0},    {"> |", "| a\n", 1},
    {"> >", "> a\n", 2},     {"> >>", ">> a\n", 2}, {">>>>", ">\n", 0},
    {">\t|", ">\t| a\n", 1}, {">\t|", "> a\n", 0},  {"\x81\x84", "\x81\x84 a\n", 1},
};

TEST(HighlightTest, QuotedLinesGetOneStepPerMatchingMark) {
    for (const QuoteCase& c : kQuoteCases) {
        SCOPED_TRACE(std::string("marks \"") + c.marks + "\", line \"" + c.line + "\"");
        const std::string line = c.line;
        const Steps expected(static_cast<std::size_t>(c.steps), {3, 3 + line.size(), K::Quote});
        EXPECT_EQ(Show(BuildHighlightSteps({"\n", "x\n", line}, false, c.marks)), Show(expected));
    }
}

TEST(HighlightTest, HeaderLinesAreNeverQuoted) {
    EXPECT_EQ(Show(BuildHighlightSteps({"> a\n", "\n", "> b\n"}, false, ">")),
              Show({{5, 9, K::Quote}}));
}

struct HeaderCase {
    const char* line;
    std::size_t boldEnd;  // 0: no bold step
};

const HeaderCase kHeaderCases[] = {
    {"Subject: a:b\n", 8},
    {"X-EKMail-Status: 0001\n", 16},
    {"From - Sun Jan 02 15:04:05 2000\n", 21},
    {"9x: y\n", 3},
    {"a:\n", 2},
    {" continued: x\n", 0},
    {"\tcontinued: x\n", 0},
    {"NoColon\n", 0},
    {"-x: y\n", 0},
    {":x\n", 0},
    {"\x82\x60: y\n", 0},
    {"X\x83\x41: y\n", 4},
};

TEST(HighlightTest, HeaderNamesBoldUpToTheFirstColon) {
    for (const HeaderCase& c : kHeaderCases) {
        SCOPED_TRACE(c.line);
        const Steps expected = c.boldEnd == 0 ? Steps{} : Steps{{4, 4 + c.boldEnd, K::Bold}};
        EXPECT_EQ(Show(BuildHighlightSteps({"A:b\n", c.line, "\n", "Body: x\n"}, false, "")),
                  Show(Steps{{0, 2, K::Bold}}) + Show(expected));
    }
}

TEST(HighlightTest, WithoutABlankLineEveryLineIsHeader) {
    const Lines lines = {"From: a@b\n", "see http://x a@b\n", "> q\n"};
    EXPECT_EQ(Show(BuildHighlightSteps(lines, false, ">")),
              Show({{0, 5, K::Bold}, {10, 19, K::Bold}}));
}

TEST(HighlightTest, LargeMessageGetsAStepPerLine) {
    Lines lines = {"\n"};
    for (int i = 0; i < 20000; ++i) {
        lines.push_back("> a@b\n");
    }
    const Steps steps = BuildHighlightSteps(lines, false, ">");
    ASSERT_EQ(steps.size(), 40000u);
    EXPECT_EQ(steps[19999], (HighlightStep{1 + 19999 * 6 + 2, 1 + 19999 * 6 + 5, K::Mail}));
    EXPECT_EQ(steps.back(), (HighlightStep{1 + 19999 * 6, 1 + 20000 * 6, K::Quote}));
}

}  // namespace
}  // namespace ek
