// Damaged and hostile profiles: empty, binary, values of the wrong type or of absurd
// size, and profile files that are no regular file. Every setting read from them is
// one the panes can use.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "core/frame/SettingsFormats.h"
#include "core/platform/Cp932.h"
#include "core/platform/ProfileFile.h"
#include "tests/support/HostileSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using namespace ek::settings;

constexpr ColorRef kGray = MakeColor(128, 128, 128);

// What the panes take from a profile, each value checked as they would need it.
void ExpectUsableSettings(const ProfileStore& profile) {
    for (const FontSetting* setting : {&kCFont, &kTFont, &kTHFont}) {
        SCOPED_TRACE(setting->key.name);
        const FontSpec font = LoadFont(profile, *setting);
        EXPECT_GE(font.size, setting->minSize);
        EXPECT_LE(font.size, setting->maxSize);
        EXPECT_FALSE(font.face.empty());
        if (setting->maxFaceBytes != 0) {
            EXPECT_EQ(CutUtf8FaceName(font.face, setting->maxFaceBytes), font.face);
        }
    }
    for (const ColumnSetting* setting : {&kLVH, &kLVH2}) {
        for (int width : LoadColumnWidths(profile, *setting)) {
            EXPECT_GE(width, kMinColumnWidth);
            EXPECT_LE(width, kMaxColumnWidth);
        }
    }
    if (std::optional<WindowPlacement> placement = LoadWindowPos(profile)) {
        EXPECT_EQ(ParseWindowPos(FormatWindowPos(*placement)), placement);
    }
    Read(profile, kHeader);
    Read(profile, kQuote);
    for (const ProfileKey* key : {&kQuoteClr, &kMailClr, &kHttpClr}) {
        ReadColor(profile, *key, kGray);
    }
    EXPECT_LE(LoadRecentFiles(profile).size(), static_cast<std::size_t>(kRecentFileCount));
}

std::string Settings(const std::string& lines) {
    return "[Settings]\n" + lines;
}

struct ProfileCase {
    const char* name;
    // Made when the case runs, so that no test process pays for the others' inputs.
    std::function<std::string()> text;
};

// Test names show the case, not its bytes.
void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileProfile : public testing::TestWithParam<ProfileCase> {};

TEST_P(HostileProfile, GivesSettingsThePanesCanUse) {
    const std::string text = GetParam().text();
    ExpectUsableSettings(ProfileFile::Parse(text));
    TempFile file(text, "EKView.conf");
    ExpectUsableSettings(ProfileFile::Load(file.path()));
}

std::string RandomText(std::size_t size) {
    std::mt19937 random(11);
    std::string text(size, '\0');
    for (char& c : text) {
        c = static_cast<char>(random() & 0xFF);
    }
    return text;
}

const std::string kLongFace(10000, 'W');

INSTANTIATE_TEST_SUITE_P(
    Profiles, HostileProfile,
    testing::Values(
        ProfileCase{"Empty", [] { return std::string(); }},
        ProfileCase{"Binary", [] { return RandomText(1 << 16); }},
        ProfileCase{"BinaryValues",
                    [] {
                        return Settings(std::string("CFont=\0\xff\xfe:\x80\0", 12) +
                                        "\nTFont=\xff\xff\xff\n" +
                                        "LVH=\x01\x02\x03\nWindowPos=\x7f\n" +
                                        "Header=\xef\xbb\xbf" + "1\nQuoteClr=\x80\x80\n");
                    }},
        ProfileCase{"WrongTypes",
                    [] {
                        return Settings(
                            "CFont=big\nTFont=:\nTHFont=12.5:Arial\nLVH=wide:narrow:none\n"
                            "LVH2=1e3:2e3:3e3\nWindowPos=left top right bottom\nHeader=yes\n"
                            "QuoteClr=red\nMailClr=0x00ff00\nHttpClr=\n");
                    }},
        ProfileCase{"AbsurdSizes",
                    [] {
                        return Settings(
                            "CFont=-2147483648:" + kLongFace + "\nTFont=2147483647:" + kLongFace +
                            "\nTHFont=99999999999999999999:" + kLongFace +
                            "\nLVH=-5:-100:-2147483648\nLVH2=2147483647:99999999999:10001\n"
                            "WindowPos=2:1:-32000:-32000:-1:-1:1000000:-1000000:1002000:-998000\n"
                            "Header=-1\nQuoteClr=-1\nMailClr=4294967295\n");
                    }},
        ProfileCase{"AHugeValue",
                    [] { return Settings("Quote=" + std::string(10 << 20, '>') + "\n"); }},
        ProfileCase{"ManyKeys",
                    [] {
                        std::string text = "[Recent File List]\n";
                        for (int i = 0; i < 100000; ++i) {
                            text += "File" + std::to_string(i) + "=/m" + std::to_string(i) + "\n";
                        }
                        return text;
                    }},
        ProfileCase{
            "BrokenSyntax",
            [] {
                return std::string(
                    "[Settings\n[\n]\n=\n==\nCFont\n\\\nLVH=\"250:80\nCFont=\"\\\n[Settings]\n"
                    "WindowPos=\"0:1:2:3:4:5:6:7:8:9\"\"\nTFont=\\\\\\\n");
            }}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

TEST(HostileProfile, ALongFaceNameIsCutForTheTextPane) {
    const ProfileFile profile = ProfileFile::Parse(
        Settings("CFont=240:" + kLongFace + "\nTFont=100:" + std::string(5000, '\xe3') + "\n"));
    const FontSpec text = LoadFont(profile, kCFont);
    EXPECT_EQ(text, (FontSpec{240, std::string(kMaxFaceBytes, 'W')}));
    // The lists take any face the toolkit can look up; broken UTF-8 stays as it was.
    EXPECT_EQ(LoadFont(profile, kTFont).face, std::string(5000, '\xe3'));
}

TEST(HostileProfile, AWindowFarOffScreenStillReadsAsTenNumbers) {
    const ProfileFile profile = ProfileFile::Parse(
        Settings("WindowPos=0:1:-1:-1:-1:-1:-2147483648:-2147483648:2147483647:2147483647\n"));
    const std::optional<WindowPlacement> placement = LoadWindowPos(profile);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->left, INT_MIN);
    EXPECT_EQ(placement->right, INT_MAX);
}

// A profile that is no regular file gives the defaults at once: a FIFO nobody writes
// to would block the read, an endless device would fill the memory.
TEST(HostileProfile, AProfileThatIsNoRegularFileGivesTheDefaults) {
    TempFile folder("unused");
#ifdef _WIN32
    const std::vector<std::string> paths = {folder.dir(), "NUL", "\\\\.\\NUL"};
#else
    const std::string fifo = folder.dir() + "/EKView.conf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> paths = {folder.dir(), fifo, "/dev/zero"};
#endif
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        ChildOutcome outcome = RunInChild(
            [&] {
                ProfileFile profile = ProfileFile::Load(path);
                return profile.GetProfileString("Settings", "Quote", "none") == "none" ? 0 : 1;
            },
            std::chrono::seconds(5));
        EXPECT_TRUE(outcome.finished) << "loading the profile did not return";
        EXPECT_EQ(outcome.exitCode, 0);
    }
}

}  // namespace
}  // namespace ek::test
