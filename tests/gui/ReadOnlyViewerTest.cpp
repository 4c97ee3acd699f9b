// The viewer never writes the mailbox it shows, and start-up survives a profile
// whose values are damaged or hostile.
#include <sys/stat.h>
#include <wx/display.h>
#include <wx/listctrl.h>

#include <filesystem>
#include <set>

#include "GuiTestSupport.h"
#include "core/frame/SettingsFormats.h"
#include "gui/platform/WxProfileStore.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

struct FileState {
    std::string bytes;
    off_t size = 0;
    timespec mtime{};
};

FileState StateOf(const std::string& path) {
    FileState state;
    state.bytes = ReadFile(path);
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    state.size = info.st_size;
    state.mtime = info.st_mtim;
    return state;
}

std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

void ExpectSaneWidths(wxListCtrl& list) {
    ASSERT_EQ(list.GetColumnCount(), 3);
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        EXPECT_GE(list.GetColumnWidth(column), settings::kMinColumnWidth);
        EXPECT_LE(list.GetColumnWidth(column), settings::kMaxColumnWidth);
    }
}

class ReadOnlyViewerTest : public ProgramTest {
  protected:
    // The program as it ships, with the real text pane and thread list.
    std::unique_ptr<ProgramRun> Start(std::vector<std::string> args) {
        return ProgramTest::Start(std::move(args), Pane::Real, Pane::Real);
    }
    std::string Profile() const override { return dir.File("Ubrik/EKView.conf"); }
    void RunOnHostileProfile(const std::string& thFont, bool linesReadOneByOne);
};

TEST_F(ReadOnlyViewerTest, ReadingAMailboxLeavesItAndItsFolderUntouched) {
    TempDir mailDir;
    const std::string mailbox = mailDir.File("sample.mbx");
    std::filesystem::copy_file(SamplePath(), mailbox);
    const FileState before = StateOf(mailbox);
    const std::set<std::string> listing = Listing(mailDir.Path());
    ASSERT_GT(before.size, 0);

    {
        auto run = Start({mailbox});
        ASSERT_TRUE(run->Started());
        CMainFrame& frame = run->Frame();
        ASSERT_GT(frame.GetTitleView()->GetItemCount(), 1);

        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
        RunPending();
        EXPECT_FALSE(frame.IsListShown());
        const int first = run->Current();
        for (int step = 0; step < 3; ++step) {
            EXPECT_TRUE(frame.ExecuteCommand(ID_MAIL_NEXT));
            RunPending();
        }
        EXPECT_EQ(run->Current(), first + 3);
        for (int id : {ID_VIEW_THREAD, ID_VIEW_ALLHEADER, ID_VIEW_THREAD, ID_VIEW_ALLHEADER}) {
            SCOPED_TRACE(id);
            EXPECT_TRUE(frame.ExecuteCommand(id));
            RunPending();
        }
        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
        RunPending();
        EXPECT_TRUE(frame.IsListShown());
        EXPECT_TRUE(run->Boxes().texts.empty());
        run->Close();
    }

    EXPECT_TRUE(std::filesystem::exists(Profile())) << "closing writes the profile";
    const FileState after = StateOf(mailbox);
    EXPECT_EQ(after.size, before.size);
    EXPECT_TRUE(after.bytes == before.bytes) << "the mailbox's bytes changed";
    EXPECT_EQ(after.mtime.tv_sec, before.mtime.tv_sec);
    EXPECT_EQ(after.mtime.tv_nsec, before.mtime.tv_nsec);
    EXPECT_EQ(Listing(mailDir.Path()), listing);
}

// Starts on a profile of damaged values with `thFont` as THFont, checks what start-up
// guarantees, closes, and checks that the profile written then loads and starts again.
void ReadOnlyViewerTest::RunOnHostileProfile(const std::string& thFont, bool linesReadOneByOne) {
    std::filesystem::create_directories(dir.File("Ubrik"));
    std::string farOff = "-99999";
    for (int field = 1; field < 10; ++field) {
        farOff += ":-99999";
    }
    WriteFile(Profile(),
              "[Settings]\n"
              "LVH=-5:999999:abc\n"
              "LVH2=222:150:120\n"
              "TFont=100:" +
                  std::string(10000, 'A') +
                  "\n"
                  "CFont=0:\n"
                  "THFont=" +
                  thFont +
                  "\n"
                  "WindowPos=" +
                  farOff +
                  "\n"
                  "QuoteClr=notanumber\n"
                  "Header=7\n");

    {
        auto run = Start({SamplePath()});
        ASSERT_TRUE(run->Started());
        CMainFrame& frame = run->Frame();
        EXPECT_TRUE(frame.IsShown());
        CEKTitleView& title = *frame.GetTitleView();
        EXPECT_EQ(title.GetItemCount(), 12);
        ExpectSaneWidths(title);

        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_THREAD));
        RunPending();
        auto* thread = dynamic_cast<wxListCtrl*>(frame.GetThreadView());
        ASSERT_NE(thread, nullptr);
        ExpectSaneWidths(*thread);
        if (linesReadOneByOne) {
            // The sound line beside the damaged ones was read.
            EXPECT_EQ(thread->GetColumnWidth(0), 222);
        }

        ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
        RunPending();
        EXPECT_FALSE(frame.IsListShown());

        wxRect rect = frame.GetRect();
        EXPECT_GT(rect.width, 0);
        EXPECT_GT(rect.height, 0);
        EXPECT_TRUE(wxDisplay(0u).GetClientArea().Intersects(rect))
            << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
        run->Close();
    }

    WxProfileStore reloaded(Profile());
    for (const settings::ColumnSetting* setting : {&settings::kLVH, &settings::kLVH2}) {
        SCOPED_TRACE(setting->key.name);
        std::string stored = reloaded.GetProfileString("Settings", setting->key.name, "");
        EXPECT_EQ(settings::ParseColumnWidths(stored, {-1, -1, -1}),
                  settings::LoadColumnWidths(reloaded, *setting))
            << "every stored width is in range: " << stored;
    }
    EXPECT_EQ(settings::LoadColumnWidths(reloaded, settings::kLVH), settings::kDefaultColumnWidths);
    EXPECT_TRUE(settings::LoadWindowPos(reloaded).has_value());
    for (const settings::FontSetting* setting :
         {&settings::kTFont, &settings::kCFont, &settings::kTHFont}) {
        SCOPED_TRACE(setting->key.name);
        settings::FontSpec font = settings::LoadFont(reloaded, *setting);
        EXPECT_GE(font.size, setting->minSize);
        EXPECT_LE(font.size, setting->maxSize);
        EXPECT_FALSE(font.face.empty());
    }

    // The program starts again on what it wrote.
    auto again = Start({SamplePath()});
    ASSERT_TRUE(again->Started());
    ExpectSaneWidths(*again->Frame().GetTitleView());
}

// Control characters are valid UTF-8: every line reaches its own parser.
TEST_F(ReadOnlyViewerTest, HostileProfileValuesStillStartAndCloseCleanly) {
    std::string garbage;
    for (int byte = 1; byte < 0x80; ++byte) {
        if (byte != '\n' && byte != '\r') {
            garbage += static_cast<char>(byte);
        }
    }
    RunOnHostileProfile(garbage, true);
}

// Bytes that are not UTF-8: the profile store reads such a file as empty.
TEST_F(ReadOnlyViewerTest, AProfileLineThatIsNotUtf8StillStartsAndClosesCleanly) {
    std::string garbage;
    for (int byte = 0x80; byte < 0x100; ++byte) {
        garbage += static_cast<char>(byte);
    }
    RunOnHostileProfile(garbage + "\x01\x7f\xc3", false);
}

}  // namespace
}  // namespace ek::test
