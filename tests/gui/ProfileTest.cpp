#include <cstdlib>
#include <filesystem>

#include "GuiTestSupport.h"
#include "core/frame/SettingsFormats.h"
#include "core/platform/ProfileFile.h"
#include "gui/platform/WxProfileStore.h"
#include "tests/support/ProfileStoreContract.h"

namespace ek::test {
namespace {

// Each store of the contract suite gets a file of its own in one temporary folder.
TempDir& ContractDir() {
    static TempDir dir;
    return dir;
}

std::unique_ptr<ProfileStore> FreshFileStore() {
    static int counter = 0;
    return std::make_unique<WxProfileStore>(
        ContractDir().File("store" + std::to_string(++counter) + "/EKView.conf"));
}

std::unique_ptr<ProfileStore> ReopenFileStore(std::unique_ptr<ProfileStore> store) {
    auto& file = static_cast<WxProfileStore&>(*store);
    EXPECT_TRUE(file.Flush());
    std::string path = file.GetPath();
    store.reset();
    return std::make_unique<WxProfileStore>(path);
}

INSTANTIATE_PROFILE_STORE_CONTRACT(WxFileConfig, FreshFileStore, ReopenFileStore);

// The command-line tool reads what the viewer saved with ProfileFile, without wx.
std::unique_ptr<ProfileStore> ReadSavedFileWithoutToolkit(std::unique_ptr<ProfileStore> store) {
    auto& file = static_cast<WxProfileStore&>(*store);
    EXPECT_TRUE(file.Flush());
    return std::make_unique<ProfileFile>(ProfileFile::Load(file.GetPath()));
}

INSTANTIATE_PROFILE_STORE_CONTRACT(SavedByWxReadByProfileFile, FreshFileStore,
                                   ReadSavedFileWithoutToolkit);

TEST(WxProfileStoreTest, TheUserProfileLivesUnderXdgConfigHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    std::string xdg = savedXdg != nullptr ? savedXdg : "";
    std::string home = savedHome != nullptr ? savedHome : "";

    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(WxProfileStore::DefaultPath(), "/tmp/xdg-test/Ubrik/EKView.conf");
    // A relative XDG_CONFIG_HOME is not to be used.
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(WxProfileStore::DefaultPath(), "/home/someone/.config/Ubrik/EKView.conf");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(WxProfileStore::DefaultPath(), "/home/someone/.config/Ubrik/EKView.conf");

    ::setenv("HOME", home.c_str(), 1);
    if (savedXdg != nullptr) {
        ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    }
}

TEST(WxProfileStoreTest, MakesTheFolderAndReplacesTheFileWhole) {
    TempDir dir;
    std::string path = dir.File("config/Ubrik/EKView.conf");
    {
        WxProfileStore store(path);
        EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/Ubrik")));
        EXPECT_TRUE(store.Flush()) << "nothing to save is no failure";
        EXPECT_FALSE(std::filesystem::exists(path)) << "an unchanged profile is not written";
        store.WriteProfileString("Settings", "TFont", "100:ＭＳ 明朝");
        store.WriteProfileInt("Settings", "Header", 0);
        ASSERT_TRUE(store.Flush());
    }
    std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Settings]"), std::string::npos) << text;
    EXPECT_NE(text.find("TFont=100:ＭＳ 明朝"), std::string::npos) << text;
    EXPECT_NE(text.find("Header=0"), std::string::npos) << text;
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("config/Ubrik"))) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::none);
}

TEST(WxProfileStoreTest, DamagedFilesGiveTheDefaults) {
    TempDir dir;
    const std::string damaged[] = {
        std::string("\xff\xfe\x00garbage\x80\x81[[[\n=\n", 20),
        "[Settings\nTFont\n===\n",
        "[Settings]\nHeader=yes\nLVH=\n",
        std::string(100000, '['),
        "[]\n[Settings]\n = 3\n=\n/=1\na/b=2\n[a/]\n[Settings]]\nHeader\n\n",
        "[Settings]\nHeader=1\0\n[ControlBars/State]\nLayout=\"unterminated\n",
    };
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.substr(0, 20));
        std::string path = dir.File("EKView.conf");
        WriteFile(path, bytes);
        WxProfileStore store(path);
        EXPECT_EQ(store.GetProfileInt("Settings", "Header", 1), 1);
        settings::FontSpec font = settings::LoadFont(store, settings::kTFont);
        EXPECT_EQ(font.size, 100);
        EXPECT_EQ(settings::LoadColumnWidths(store, settings::kLVH),
                  settings::kDefaultColumnWidths);
        // The damaged file is replaced by a sound one at the next save.
        store.WriteProfileInt("Settings", "Header", 0);
        ASSERT_TRUE(store.Flush());
        EXPECT_EQ(WxProfileStore(path).GetProfileInt("Settings", "Header", 1), 0);
    }
}

TEST(WxProfileStoreTest, AFileTooLargeForAProfileIsKeptAsideNotOverwritten) {
    TempDir dir;
    const std::string path = dir.File("EKView.conf");
    std::string huge = "[Settings]\nHeader=0\nQuote=>\n";
    huge.resize(kMaxProfileFileSize + 1, '#');
    WriteFile(path, huge);
    // Compared whole, but a failure names the file and its size, not 4 MB of text.
    auto holdsTheHugeFile = [&huge](const std::string& file) -> ::testing::AssertionResult {
        const std::string bytes = ReadFile(file);
        if (bytes == huge) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << file << " holds " << bytes.size() << " bytes, not the " << huge.size()
               << " of the profile set aside";
    };
    {
        WxProfileStore store(path);
        EXPECT_EQ(store.GetProfileInt("Settings", "Header", 1), 1) << "damaged: the defaults";
        EXPECT_EQ(store.GetProfileString("Settings", "Quote", ""), "");
        EXPECT_EQ(ReadFile(path).size(), huge.size()) << "reading changes nothing";
        store.WriteProfileInt("Settings", "Header", 0);
        ASSERT_TRUE(store.Flush());
        EXPECT_TRUE(holdsTheHugeFile(store.GetSetAsidePath()));
        store.WriteProfileInt("Settings", "Header", 1);
        ASSERT_TRUE(store.Flush());
        EXPECT_TRUE(holdsTheHugeFile(store.GetSetAsidePath())) << "set aside once, then kept";
    }
    EXPECT_EQ(WxProfileStore(path).GetProfileInt("Settings", "Header", 0), 1);
    EXPECT_TRUE(holdsTheHugeFile(dir.File("EKView.conf.bad")));
}

TEST(WxProfileStoreTest, ValuesThatLookLikeVariablesStayAsWritten) {
    TempDir dir;
    std::string path = dir.File("EKView.conf");
    {
        WxProfileStore store(path);
        store.WriteProfileString("Recent File List", "File1", "/home/$USER/${HOME}/%TEMP%/a.mbx");
        ASSERT_TRUE(store.Flush());
    }
    EXPECT_EQ(WxProfileStore(path).GetProfileString("Recent File List", "File1", ""),
              "/home/$USER/${HOME}/%TEMP%/a.mbx");
}

}  // namespace
}  // namespace ek::test
