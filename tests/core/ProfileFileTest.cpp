// Reading the viewer's profile file without the toolkit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/platform/NativePath.h"
#include "core/platform/ProfileFile.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

TEST(ProfileFile, ReadsGroupsKeysAndEscapes) {
    ProfileFile profile = ProfileFile::Parse(
        "; a comment\n"
        "# another\n"
        "[Settings]\n"
        "CFont=200:ＭＳ 明朝\n"
        "Quote=\"> \"\n"
        "Escaped=a\\tb\\\\c\\nd\n"
        "  Spaced  =  value  \r\n"
        "QuoteClr=8421504\n"
        "Plus=+7\n"
        "Junk=12px\n"
        "[Recent\\ File\\ List]\n"
        "File1=/home/u/mail/受信.mbx\n"
        "[ControlBars/State]\n"
        "Visible=1\n"
        "broken line without equals\n"
        "[unclosed\n"
        "After=still in ControlBars/State\n");
    EXPECT_EQ(profile.GetProfileString("Settings", "CFont", ""), "200:ＭＳ 明朝");
    EXPECT_EQ(profile.GetProfileString("Settings", "Quote", ""), "> ");
    EXPECT_EQ(profile.GetProfileString("Settings", "Escaped", ""), "a\tb\\c\nd");
    EXPECT_EQ(profile.GetProfileString("Settings", "Spaced", ""), "value  ");
    EXPECT_EQ(profile.GetProfileInt("Settings", "QuoteClr", 0), 8421504);
    EXPECT_EQ(profile.GetProfileInt("Settings", "Plus", 0), 7);
    EXPECT_EQ(profile.GetProfileInt("Settings", "Junk", 5), 5);
    EXPECT_EQ(profile.GetProfileInt("Settings", "CFont", 5), 5);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", ""), "/home/u/mail/受信.mbx");
    EXPECT_EQ(profile.GetProfileInt("ControlBars\\State", "Visible", 0), 1);
    EXPECT_EQ(profile.GetProfileString("ControlBars\\State", "After", ""),
              "still in ControlBars/State");
    EXPECT_EQ(profile.GetProfileString("Settings", "Missing", "default"), "default");
}

TEST(ProfileFile, RefusesWritesAndSurvivesMissingOrBinaryFiles) {
    ProfileFile missing = ProfileFile::Load("/nonexistent/EKView.conf");
    EXPECT_EQ(missing.GetProfileString("Settings", "Quote", "d"), "d");
    EXPECT_FALSE(missing.WriteProfileString("Settings", "Quote", "x"));
    EXPECT_FALSE(missing.WriteProfileInt("Settings", "Header", 1));

    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) & 0xFF);
    }
    TempFile file(binary, "EKView.conf");
    ProfileFile damaged = ProfileFile::Load(file.path());
    EXPECT_EQ(damaged.GetProfileInt("Settings", "Header", 1), 1);
}

// Settings followed by comment lines up to `size` bytes.
std::string ProfileOfSize(std::size_t size) {
    std::string text = "[Settings]\nHeader=0\n";
    while (text.size() < size) {
        text += std::string(std::min<std::size_t>(size - text.size(), 80) - 1, '#') + "\n";
    }
    return text;
}

struct SizeCase {
    const char* what;
    std::size_t size;
    ProfileFileBytes::Status status;
};

TEST(ProfileFile, AFileBeyondTheLimitIsDamagedAndGivesTheDefaults) {
    using Status = ProfileFileBytes::Status;
    const SizeCase cases[] = {
        {"small", 100, Status::Read},
        {"one byte short of the limit", kMaxProfileFileSize - 1, Status::Read},
        {"exactly the limit", kMaxProfileFileSize, Status::Read},
        {"one byte over", kMaxProfileFileSize + 1, Status::TooLarge},
        {"a hundred times over", 100 * kMaxProfileFileSize, Status::TooLarge},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const bool sparse = c.size > 2 * kMaxProfileFileSize;
        TempFile file(sparse ? ProfileOfSize(100) : ProfileOfSize(c.size), "EKView.conf");
        if (sparse) {
            // Only the size counts, and nothing may read the whole file.
            std::filesystem::resize_file(file.path(), c.size);
        }
        ProfileFileBytes read = ReadProfileFile(file.path());
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes.size(), c.status == Status::Read ? c.size : 0);
        EXPECT_EQ(ProfileFile::Load(file.path()).GetProfileInt("Settings", "Header", 1),
                  c.status == Status::Read ? 0 : 1);
    }
    EXPECT_EQ(ReadProfileFile("/nonexistent/EKView.conf").status, Status::Absent);
}

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = m_had ? old : "";
        Set(value);
    }
    ~ScopedVariable() { Set(m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Set(const char* value) {
#ifdef _WIN32
        // The wide call keeps non-ASCII values; an empty value removes the variable.
        _wputenv_s(NativePath(m_name).c_str(), NativePath(value != nullptr ? value : "").c_str());
#else
        if (value != nullptr) {
            ::setenv(m_name.c_str(), value, 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
#endif
    }
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

TEST(ProfileFile, LivesInTheUsersConfigurationFolder) {
#ifdef _WIN32
    const char* absolute = "C:\\xdg";
    const std::string expected = "C:\\xdg\\Ubrik\\EKView.conf";
#else
    const char* absolute = "/tmp/xdg";
    const std::string expected = "/tmp/xdg/Ubrik/EKView.conf";
#endif
    {
        ScopedVariable xdg("XDG_CONFIG_HOME", absolute);
        EXPECT_EQ(ProfileFilePath(), expected);
    }
    ScopedVariable xdg("XDG_CONFIG_HOME", "relative");
#ifdef _WIN32
    // Never the current folder: the user's application data, as the system names it.
    ScopedVariable appData("APPDATA", "C:\\Users\\\xe5\xa4\xaa\xe9\x83\x8e\\AppData\\Roaming");
    EXPECT_EQ(ProfileFilePath(),
              "C:\\Users\\\xe5\xa4\xaa\xe9\x83\x8e\\AppData\\Roaming\\Ubrik\\EKView.conf");
#else
    EXPECT_NE(ProfileFilePath().find("/.config/Ubrik/EKView.conf"), std::string::npos);
#endif
}

}  // namespace
}  // namespace ek::test
