#include <gtest/gtest.h>

#include "core/frame/SettingsFormats.h"
#include "core/platform/MemoryProfileStore.h"
#include "shell/RecentFileList.h"

namespace ek {
namespace {

std::vector<std::string> Names(const CRecentFileList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.GetSize(); ++i) {
        names.push_back(list[i]);
    }
    return names;
}

TEST(RecentFileListTest, NewestFirstWithoutDuplicatesAndBounded) {
    CRecentFileList list(5);
    EXPECT_TRUE(list.IsEmpty());
    for (const char* path : {"/a", "/b", "/c", "/b", "/d", "/e", "/f"}) {
        list.Add(path);
    }
    EXPECT_EQ(Names(list), (std::vector<std::string>{"/f", "/e", "/d", "/b", "/c"}));
    list.Remove(1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"/f", "/d", "/b", "/c", ""}));
    list.Remove(7);
    EXPECT_EQ(list.GetSize(), 5u);
}

TEST(RecentFileListTest, SurvivesTheProfile) {
    MemoryProfileStore profile;
    CRecentFileList list(5);
    list.Add("/mail/one.mbx");
    list.Add("/mail/二.mbx");
    list.WriteList(profile);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", ""), "/mail/二.mbx");
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2", ""), "/mail/one.mbx");
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File3", "absent"), "");

    CRecentFileList next(5);
    next.ReadList(profile);
    EXPECT_EQ(Names(next), Names(list));
    // A removed entry stays removed in the next run.
    next.Remove(0);
    next.WriteList(profile);
    CRecentFileList third(5);
    third.ReadList(profile);
    EXPECT_EQ(Names(third), (std::vector<std::string>{"/mail/one.mbx", "", "", "", ""}));
}

TEST(RecentFileListTest, MenuTextsAreNumberedAndShort) {
    CRecentFileList list(5);
    list.Add("/home/user/mail/archive/2001/very-long-folder-name/inbox.mbx");
    list.Add("/work/R&D.mbx");
    list.Add("/work/here.mbx");
    EXPECT_EQ(list.GetMenuText(0, "/work"), "&1 here.mbx");
    EXPECT_EQ(list.GetMenuText(1, "/elsewhere"), "&2 /work/R&&D.mbx");
    std::string third = list.GetMenuText(2, "/work");
    EXPECT_EQ(third.rfind("&3 /...", 0), 0u) << third;
    EXPECT_EQ(third.substr(third.size() - 9), "inbox.mbx");
    EXPECT_EQ(list.GetMenuText(3, "/work"), "");
}

TEST(RecentFileListTest, AbbreviationKeepsRootAndFileName) {
    struct Case {
        std::string path;
        std::string expected;
    } cases[] = {
        {"/short/path.mbx", "/short/path.mbx"},
        {"/home/user/mail/archive/2001/inbox.mbx", "/.../archive/2001/inbox.mbx"},
        {"C:\\Users\\someone\\Documents\\Mail\\inbox.mbx", "C:\\...\\Mail\\inbox.mbx"},
        {"/a/" + std::string(40, 'x') + ".mbx", std::string(40, 'x') + ".mbx"},
        // Characters count, not bytes.
        {"/メール/保管庫/二〇〇一年/受信箱/とても長いフォルダ名/受信.mbx",
         "/.../受信箱/とても長いフォルダ名/受信.mbx"},
        {"/メール/保管庫/二〇〇一年/受信箱/とても長いフォルダ名のさらにずっと先へ続く部分/受信.mbx",
         "/.../受信.mbx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(CRecentFileList::AbbreviateName(c.path, 30), c.expected);
    }
}

}  // namespace
}  // namespace ek
