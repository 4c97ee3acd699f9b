#include "core/frame/SettingsFormats.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Cp932.h"
#include "core/platform/MemoryProfileStore.h"

namespace ek::settings {
namespace {

constexpr ColorRef kGray = 0x00808080;

TEST(SettingsDefaultsTest, AnEmptyProfileGivesTheFirstRunSettings) {
    const MemoryProfileStore store;
    EXPECT_EQ(LoadWindowPos(store), std::nullopt);
    EXPECT_EQ(LoadFont(store, kCFont), (FontSpec{200, "ＭＳ 明朝"}));
    EXPECT_EQ(LoadFont(store, kTFont), (FontSpec{100, "ＭＳ 明朝"}));
    EXPECT_EQ(LoadFont(store, kTHFont), (FontSpec{100, "ＭＳ 明朝"}));
    EXPECT_EQ(LoadColumnWidths(store, kLVH), (ColumnWidths{300, 150, 120}));
    EXPECT_EQ(LoadColumnWidths(store, kLVH2), (ColumnWidths{300, 150, 120}));
    EXPECT_EQ(Read(store, kHeader), 1);
    EXPECT_EQ(Read(store, kQuote), "");
    EXPECT_EQ(Read(store, kPreviewPages), 0);
    EXPECT_EQ(ReadColor(store, kQuoteClr, kGray), kGray);
    EXPECT_EQ(ReadColor(store, kMailClr, kGray), kGray);
    EXPECT_EQ(ReadColor(store, kHttpClr, kGray), kGray);
    EXPECT_TRUE(LoadRecentFiles(store).empty());
}

TEST(SettingsDefaultsTest, EveryValueLivesUnderItsOwnName) {
    MemoryProfileStore store;
    SaveWindowPos(store, WindowPlacement{});
    SaveFont(store, kCFont, {240, "a"});
    SaveFont(store, kTFont, {120, "b"});
    SaveFont(store, kTHFont, {90, "c"});
    SaveColumnWidths(store, kLVH, {1, 2, 3});
    SaveColumnWidths(store, kLVH2, {4, 5, 6});
    Write(store, kHeader, 0);
    Write(store, kQuote, ">");
    Write(store, kPreviewPages, 2);
    WriteColor(store, kQuoteClr, 1);
    WriteColor(store, kMailClr, 2);
    WriteColor(store, kHttpClr, 3);
    SaveRecentFiles(store, {"/x"});
    EXPECT_EQ(store.ValueCount(), 12u + kRecentFileCount);
    EXPECT_EQ(store.GetProfileString("Settings", "LVH2", ""), "4:5:6");
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1", ""), "/x");
    EXPECT_EQ(std::string(kBarStateProfile), "ControlBars\\State");
}

struct WindowPosCase {
    const char* value;
    std::optional<WindowPlacement> expected;
};

class WindowPosParseTest : public ::testing::TestWithParam<WindowPosCase> {};

TEST_P(WindowPosParseTest, ReadsTenNumbersAsPercentI) {
    SCOPED_TRACE(GetParam().value);
    EXPECT_EQ(ParseWindowPos(GetParam().value), GetParam().expected);
}

constexpr WindowPlacement kPlain{0, 1, -1, -1, -8, -30, 100, 50, 900, 650};

INSTANTIATE_TEST_SUITE_P(
    Table, WindowPosParseTest,
    ::testing::Values(
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:650", kPlain},
        WindowPosCase{"0x0:0x1:-1:-0x1:-010:-30:0144:0x32:0X384:650", kPlain},
        WindowPosCase{" 0: 1:-1:-1:-8:-30:+100:50:900:\t650", kPlain},
        WindowPosCase{"2:3:-32000:-32000:-1:-1:0x7fffffff:-2147483648:0:0",
                      WindowPlacement{2, 3, -32000, -32000, -1, -1, INT_MAX, INT_MIN, 0, 0}},
        // sscanf stops after the tenth number: whatever follows is not looked at.
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:650:7", kPlain},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:650junk", kPlain},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:0650",
                      WindowPlacement{0, 1, -1, -1, -8, -30, 100, 50, 900, 0650}},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900", std::nullopt},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:", std::nullopt},
        WindowPosCase{"", std::nullopt}, WindowPosCase{"garbage", std::nullopt},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:x:650", std::nullopt},
        WindowPosCase{"0 :1:-1:-1:-8:-30:100:50:900:650", std::nullopt},
        WindowPosCase{"0;1;-1;-1;-8;-30;100;50;900;650", std::nullopt},
        // "08" reads as octal 0 and leaves the 8, which is no ':'.
        WindowPosCase{"08:1:-1:-1:-8:-30:100:50:900:650", std::nullopt},
        WindowPosCase{"0x:1:-1:-1:-8:-30:100:50:900:650", std::nullopt},
        // Numbers that int cannot hold make the value unreadable, not undefined.
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:2147483648", std::nullopt},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:-2147483649", std::nullopt},
        WindowPosCase{"0:1:-1:-1:-8:-30:100:50:900:0x80000000", std::nullopt},
        WindowPosCase{"99999999999999999999999999:1:-1:-1:-8:-30:100:50:900:650", std::nullopt}));

TEST(WindowPosTest, WritesDecimalThatReadsBack) {
    const WindowPlacement placement{
        kRestoreToMaximized, 3, -1, -1, -8, -30, 0, INT_MIN, INT_MAX, 7};
    EXPECT_EQ(FormatWindowPos(kPlain), "0:1:-1:-1:-8:-30:100:50:900:650");
    EXPECT_EQ(ParseWindowPos(FormatWindowPos(placement)), placement);

    MemoryProfileStore store;
    SaveWindowPos(store, placement);
    EXPECT_EQ(LoadWindowPos(store), placement);
}

TEST(WindowPosTest, EveryTruncatedPrefixIsRejected) {
    const std::string full = FormatWindowPos(kPlain);
    const std::size_t lastColon = full.rfind(':');
    for (std::size_t length = 0; length <= lastColon; ++length) {
        SCOPED_TRACE(full.substr(0, length));
        EXPECT_EQ(ParseWindowPos(full.substr(0, length)), std::nullopt);
    }
    // Cutting digits off the last number still leaves ten numbers.
    EXPECT_EQ(ParseWindowPos(full.substr(0, full.size() - 1))->bottom, 65);
}

struct FontCase {
    const char* value;
    int size;
    const char* face;
};

class FontParseTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontParseTest, TextPaneReadsSizeAndFace) {
    SCOPED_TRACE(GetParam().value);
    EXPECT_EQ(ParseFont(GetParam().value, kCFont), (FontSpec{GetParam().size, GetParam().face}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FontParseTest,
    ::testing::Values(FontCase{"", 200, "ＭＳ 明朝"}, FontCase{"240:", 240, "ＭＳ 明朝"},
                      FontCase{"240:Arial", 240, "Arial"},
                      FontCase{"240:ＭＳ ゴシック", 240, "ＭＳ ゴシック"},
                      FontCase{"Abc", 200, "Abc"}, FontCase{"120", 120, "120"},
                      FontCase{":Arial", 200, "Arial"}, FontCase{"x:Arial", 200, "Arial"},
                      FontCase{"240:a:b", 240, "a:b"}, FontCase{"240x:Arial", 240, "Arial"},
                      FontCase{"  300:Arial", 300, "Arial"}, FontCase{"+300:Arial", 300, "Arial"},
                      FontCase{"0x10:Arial", 200, "Arial"}, FontCase{"0240:Arial", 240, "Arial"},
                      FontCase{" :Arial", 200, "Arial"}, FontCase{"240: Arial ", 240, " Arial "},
                      // Sizes no pane can show keep the default.
                      FontCase{"0:Arial", 200, "Arial"}, FontCase{"-240:Arial", 200, "Arial"},
                      FontCase{"19:Arial", 200, "Arial"}, FontCase{"10000:Arial", 10000, "Arial"},
                      FontCase{"10001:Arial", 200, "Arial"},
                      FontCase{"99999999999999999999:Arial", 200, "Arial"}));

TEST(FontTest, ListsUseTheSameRulesInTenthsOfAPoint) {
    EXPECT_EQ(ParseFont("", kTFont), (FontSpec{100, "ＭＳ 明朝"}));
    EXPECT_EQ(ParseFont("120:ＭＳ 明朝", kTFont), (FontSpec{120, "ＭＳ 明朝"}));
    EXPECT_EQ(ParseFont("abc", kTFont), (FontSpec{100, "abc"}));
    EXPECT_EQ(ParseFont("120:", kTHFont), (FontSpec{120, "ＭＳ 明朝"}));
    EXPECT_EQ(ParseFont("120", kTHFont), (FontSpec{120, "120"}));
    EXPECT_EQ(ParseFont("9:x", kTHFont), (FontSpec{100, "x"}));
    // Only the text pane's face field is limited.
    const std::string longFace(40, 'F');
    EXPECT_EQ(ParseFont("100:" + longFace, kTFont).face, longFace);
    EXPECT_EQ(ParseFont("200:" + longFace, kCFont).face, std::string(31, 'F'));
}

TEST(FontTest, WritesSizeColonFaceAndReadsItBack) {
    EXPECT_EQ(FormatFont({200, "ＭＳ 明朝"}), "200:ＭＳ 明朝");
    EXPECT_EQ(FormatFont({-5, ""}), "-5:");
    MemoryProfileStore store;
    SaveFont(store, kTHFont, {110, "Noto Sans CJK JP"});
    EXPECT_EQ(store.GetProfileString("Settings", "THFont", ""), "110:Noto Sans CJK JP");
    EXPECT_EQ(LoadFont(store, kTHFont), (FontSpec{110, "Noto Sans CJK JP"}));
}

TEST(FaceNameCutTest, Cp932FacesEndOnAWholeCharacter) {
    const std::string kanji = "\x96\xBE";  // 明
    std::string sixteen;
    for (int i = 0; i < 16; ++i) {
        sixteen += kanji;
    }
    const std::string ascii30(30, 'a');
    const std::string kanji15 = sixteen.substr(0, 30);
    const struct {
        std::string face;
        std::size_t expectedBytes;
    } cases[] = {
        {sixteen, 30},
        {kanji15, 30},
        {ascii30 + kanji, 30},
        {ascii30 + "b" + kanji, 31},
        {ascii30 + "\x82", 30},  // a lead byte at the end, its trail already lost
        {ascii30 + "\x82\x60", 30},
        {"a" + kanji15, 31},
        {"a" + sixteen, 31},
        {std::string(31, 'z'), 31},
        {std::string(50, 'z'), 31},
        {"", 0},
        {"\x82", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.face));
        std::string cut = CutFaceName(c.face);
        EXPECT_EQ(cut.size(), c.expectedBytes);
        EXPECT_EQ(cut, c.face.substr(0, c.expectedBytes));
        EXPECT_TRUE(ek::cp932::IsCharBoundary(c.face, cut.size()));
    }
    // A trail-range byte that ends a pair is kept.
    EXPECT_EQ(CutFaceName("ab\x82\x82"), "ab\x82\x82");
}

TEST(FaceNameCutTest, Utf8FacesAreMeasuredInCp932Bytes) {
    std::string sixteen;
    for (int i = 0; i < 16; ++i) {
        sixteen += "明";
    }
    const std::string halfWidthKana = "ｱ";  // one CP932 byte, three UTF-8 bytes
    const struct {
        std::string face;
        std::size_t expectedUtf8Bytes;
    } cases[] = {
        {sixteen, 45},
        {std::string(30, 'a') + "明", 30},
        {std::string(29, 'a') + "明", 32},
        {std::string(31, 'a'), 31},
        {std::string(32, 'a'), 31},
        {[&] {
             std::string kana;
             for (int i = 0; i < 40; ++i) {
                 kana += halfWidthKana;
             }
             return kana;
         }(),
         31 * 3},
        {"ＭＳ 明朝", 13},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(CutUtf8FaceName(c.face), c.face.substr(0, c.expectedUtf8Bytes));
    }
    // Broken UTF-8 is cut between bytes, never past the limit.
    EXPECT_EQ(CutUtf8FaceName(std::string(40, '\xFF')).size(), 15u);
    EXPECT_EQ(CutUtf8FaceName("ab\xE6\x98"), "ab\xE6\x98");
}

struct ColumnCase {
    const char* value;
    ColumnWidths expected;
};

class ColumnWidthsParseTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnWidthsParseTest, ReadsLikePercentDColonPercentD) {
    SCOPED_TRACE(GetParam().value);
    EXPECT_EQ(ParseColumnWidths(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnWidthsParseTest,
    ::testing::Values(
        ColumnCase{"", {300, 150, 120}}, ColumnCase{"250", {250, 150, 120}},
        ColumnCase{"200:", {200, 150, 120}}, ColumnCase{"250:80", {250, 80, 120}},
        ColumnCase{"250:80:60", {250, 80, 60}}, ColumnCase{"250:80:60:40", {250, 80, 60}},
        ColumnCase{"250:80:60junk", {250, 80, 60}}, ColumnCase{"250:x:7", {250, 150, 120}},
        ColumnCase{"x:80:60", {300, 150, 120}}, ColumnCase{"250 :80", {250, 150, 120}},
        ColumnCase{"250: 80:\t60", {250, 80, 60}}, ColumnCase{"+250:80", {250, 80, 120}},
        ColumnCase{"0x20:80", {300, 150, 120}}, ColumnCase{"050:80", {50, 80, 120}},
        ColumnCase{"250;80", {250, 150, 120}}, ColumnCase{"250.5:80", {250, 150, 120}},
        // Widths that would hide a column or make it huge keep that column's default,
        // and reading goes on.
        ColumnCase{"-5:80:60", {300, 80, 60}}, ColumnCase{"0:9:10", {300, 150, 10}},
        ColumnCase{"10000:10001:100000", {10000, 150, 120}},
        ColumnCase{"99999999999999999999:80:60", {300, 80, 60}},
        ColumnCase{"250:-2147483649:60", {250, 150, 60}}));

TEST(ColumnWidthsTest, WritesThreeNumbersAndReadsThemBack) {
    EXPECT_EQ(FormatColumnWidths({300, 150, 120}), "300:150:120");
    EXPECT_EQ(FormatColumnWidths({-5, 0, 7}), "-5:0:7");
    MemoryProfileStore store;
    SaveColumnWidths(store, kLVH2, {410, 95, 133});
    EXPECT_EQ(LoadColumnWidths(store, kLVH2), (ColumnWidths{410, 95, 133}));
    EXPECT_EQ(LoadColumnWidths(store, kLVH), kDefaultColumnWidths);
    EXPECT_EQ(ParseColumnWidths("x", {1, 2, 3}), (ColumnWidths{1, 2, 3}));
}

TEST(ColorTest, SplitsAndJoinsRedGreenBlue) {
    constexpr ColorRef color = 0x00FF8040;
    EXPECT_EQ(RedOf(color), 0x40);
    EXPECT_EQ(GreenOf(color), 0x80);
    EXPECT_EQ(BlueOf(color), 0xFF);
    EXPECT_EQ(MakeColor(0x40, 0x80, 0xFF), color);
    EXPECT_EQ(MakeColor(255, 255, 255), 0x00FFFFFFu);
    EXPECT_EQ(RedOf(0xFF000000), 0);
}

TEST(ColorTest, ValuesAreStoredAsTheyAre) {
    MemoryProfileStore store;
    WriteColor(store, kMailClr, 0x00FF8040);
    WriteColor(store, kHttpClr, 0xFFFFFFFF);
    EXPECT_EQ(store.GetProfileInt("Settings", "MailClr", 0), 0x00FF8040);
    EXPECT_EQ(ReadColor(store, kMailClr, kGray), 0x00FF8040u);
    EXPECT_EQ(ReadColor(store, kHttpClr, kGray), 0xFFFFFFFFu);
    EXPECT_EQ(ReadColor(store, kQuoteClr, 0x00123456), 0x00123456u);
}

TEST(RecentFilesTest, KeepsFiveNonEmptyEntriesInOrder) {
    EXPECT_EQ(RecentFileKey(1), "File1");
    EXPECT_EQ(RecentFileKey(5), "File5");
    MemoryProfileStore store;
    store.WriteProfileString(kRecentFileSection, "File1", "/m/a.mbx");
    store.WriteProfileString(kRecentFileSection, "File3", "C:\\メール\\b.mbx");
    store.WriteProfileString(kRecentFileSection, "File6", "/m/ignored.mbx");
    EXPECT_EQ(LoadRecentFiles(store), (std::vector<std::string>{"/m/a.mbx", "C:\\メール\\b.mbx"}));

    SaveRecentFiles(store, {"1", "2", "3", "4", "5", "6"});
    EXPECT_EQ(LoadRecentFiles(store), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    SaveRecentFiles(store, {"only"});
    EXPECT_EQ(LoadRecentFiles(store), (std::vector<std::string>{"only"}));
    EXPECT_EQ(store.GetProfileString(kRecentFileSection, "File2", "absent"), "");
}

}  // namespace
}  // namespace ek::settings
