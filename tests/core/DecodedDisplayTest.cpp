// The text pane's display of decoded (UTF-8) lines: highlighting on UTF-8 character
// boundaries and runs in character positions.
#include <gtest/gtest.h>

#include "core/views/ContentFormat.h"
#include "core/views/FirstPart.h"
#include "core/views/Highlight.h"

namespace ek::test {
namespace {

TEST(DecodedDisplay, RunsLandOnTheNamedCharacters) {
    const std::vector<std::string> lines = {"Subject: 日本\n", "\n",
                                            "見て http://例.jp/ と a@b.jp\n", "> 引用\n",
                                            "(添付ファイルがあります)"};
    const std::string joined = JoinLines(lines);
    ContentDisplay display = PrepareDecodedContentDisplay(lines, joined, true, ">");
    EXPECT_EQ(display.text,
              L"Subject: 日本\n\n見て http://例.jp/ と a@b.jp\n> 引用\n(添付ファイルがあります)");
    auto covered = [&](const StyleRun& run) {
        return display.text.substr(run.start, run.end - run.start);
    };
    ASSERT_EQ(display.runs.size(), 5u);
    EXPECT_EQ(covered(display.runs[0]), L"Subject:");
    EXPECT_TRUE(display.runs[0].bold);
    EXPECT_EQ(covered(display.runs[1]), L"http://");  // the address stops at the first non-ASCII
    EXPECT_EQ(display.runs[1].colour, RunColour::Url);
    EXPECT_EQ(covered(display.runs[2]), L"a@b.jp");
    EXPECT_EQ(covered(display.runs[3]), L"> 引用\n");
    EXPECT_EQ(display.runs[3].colour, RunColour::Quote);
    EXPECT_EQ(covered(display.runs[4]), L"(添付ファイルがあります)");
    EXPECT_EQ(display.runs[4].colour, RunColour::Note);
}

TEST(DecodedDisplay, MarkersInsideCharactersDifferByCoding) {
    // In CP932, "\x81@" is one character (a full-width space): its 0x40 is no at sign.
    const std::vector<std::string> cp932 = {"\n", "x\x81@y\n"};
    EXPECT_TRUE(BuildHighlightSteps(cp932, false, "", TextCoding::Cp932).empty());
    const std::vector<std::string> utf8 = {"\n", "x\xe3\x80\x80@y\n"};
    const std::vector<HighlightStep> steps = BuildHighlightSteps(utf8, false, "", TextCoding::Utf8);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], (HighlightStep{5, 7, HighlightKind::Mail}));
}

TEST(DecodedDisplay, MalformedUtf8AndNulShowAsReplacementKeepingPositions) {
    const std::vector<std::string> lines = {"\n", std::string("\xff\xe3\x81\0a@b\n", 8)};
    const std::string joined = JoinLines(lines);
    ContentDisplay display = PrepareDecodedContentDisplay(lines, joined, false, "");
    EXPECT_EQ(display.text, L"\n\uFFFD\uFFFD\uFFFD\uFFFDa@b\n");
    ASSERT_EQ(display.runs.size(), 1u);
    EXPECT_EQ(
        display.text.substr(display.runs[0].start, display.runs[0].end - display.runs[0].start),
        L"a@b");
    // 0xF5 to 0xFF start no sequence, even before continuation bytes.
    for (const char* bytes : {"\xff\x88\x9f", "\xf5\x80\x80\x80", "\xf8\x88\x80\x80"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        const std::vector<std::string> bad = {"\n", bytes};
        const std::wstring shown =
            PrepareDecodedContentDisplay(bad, JoinLines(bad), false, "").text;
        EXPECT_EQ(shown, L"\n" + std::wstring(std::string_view(bytes).size(), L'\uFFFD'));
    }
    // Every truncation of a multi-byte character stays in bounds.
    const std::string text = "日本語😀";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        std::vector<std::string> cut = {"\n", text.substr(0, n)};
        ContentDisplay part = PrepareDecodedContentDisplay(cut, JoinLines(cut), false, "");
        EXPECT_LE(part.text.size(), n + 1);
    }
}

}  // namespace
}  // namespace ek::test
