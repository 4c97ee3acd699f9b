// Dropping files onto the main window: the drop is fed to the frame's drop target
// as the toolkit would after a drag, and must behave as File > Open does.
#include <wx/dataobj.h>
#include <wx/dnd.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "gui/platform/FileDropTarget.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

class FileDropTest : public ProgramTest {
  protected:
    std::string Profile() const override { return dir.File("Ubrik/EKView.conf"); }

    static CFileDropTarget& Target(ProgramRun& run) {
        auto* target = dynamic_cast<CFileDropTarget*>(run.Frame().GetDropTarget());
        if (target == nullptr) {
            throw std::logic_error("the main window takes no dropped files");
        }
        return *target;
    }

    // The drop as it arrives, then the open that follows it once the drop is over.
    static bool Drop(ProgramRun& run, const std::vector<std::string>& paths) {
        bool accepted = Target(run).OnDropPaths(paths);
        RunPending();
        return accepted;
    }
};

TEST_F(FileDropTest, ADroppedMailboxOpensAndJoinsTheRecentFiles) {
    auto run = Start();
    ASSERT_TRUE(run->Started());
    ASSERT_TRUE(Drop(*run, {SamplePath()}));
    EXPECT_TRUE(run->Boxes().texts.empty());
    EXPECT_EQ(run->Doc().GetPathName(), SamplePath());
    EXPECT_GT(run->Doc().GetMessageCount(), 0);
    EXPECT_EQ(run->Frame().GetTitleView()->GetItemCount(), run->Doc().GetMessageCount());
    EXPECT_EQ(run->Frame().GetTitle(), wxString::FromUTF8("sample.mbx - EKView"));
    EXPECT_EQ(run->App().GetRecentFileList()[0], SamplePath());
}

TEST_F(FileDropTest, OfSeveralFilesTheFirstIsOpened) {
    std::string other = dir.File("other.mbx");
    std::filesystem::copy_file(SamplePath(), other);
    auto run = Start();
    ASSERT_TRUE(run->Started());
    ASSERT_TRUE(Drop(*run, {other, SamplePath()}));
    EXPECT_EQ(run->Doc().GetPathName(), other);
    EXPECT_EQ(run->App().GetRecentFileList()[0], other);
    EXPECT_NE(run->App().GetRecentFileList()[1], SamplePath());
}

TEST_F(FileDropTest, AFileThatCannotBeOpenedIsReportedAsFromTheFileMenu) {
    std::string missing = dir.File("missing.mbx");
    auto run = Start();
    ASSERT_TRUE(run->Started());
    ASSERT_TRUE(Drop(*run, {SamplePath()}));
    int count = run->Doc().GetMessageCount();

    chosenFile = missing;
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_OPEN));
    ASSERT_EQ(run->Boxes().texts.size(), 1u);
    ASSERT_TRUE(Drop(*run, {missing}));
    ASSERT_EQ(run->Boxes().texts.size(), 2u);
    EXPECT_EQ(run->Boxes().texts[1], run->Boxes().texts[0]);
    EXPECT_EQ(run->Boxes().icons[1], run->Boxes().icons[0]);

    // The open document stays, and the recent files keep only what opened.
    EXPECT_EQ(run->Doc().GetPathName(), SamplePath());
    EXPECT_EQ(run->Doc().GetMessageCount(), count);
    EXPECT_EQ(run->App().GetRecentFileList()[0], SamplePath());
    EXPECT_NE(run->App().GetRecentFileList()[1], missing);
}

TEST_F(FileDropTest, ADropIsNeverAMoveAndEmptyDropsAreRefused) {
    auto run = Start();
    ASSERT_TRUE(run->Started());
    CFileDropTarget& target = Target(*run);
    // Whatever the keys held ask for, the source is told to keep its file.
    for (wxDragResult offered : {wxDragMove, wxDragCopy, wxDragLink}) {
        SCOPED_TRACE(static_cast<int>(offered));
        EXPECT_EQ(target.OnEnter(5, 5, offered), wxDragCopy);
        EXPECT_EQ(target.OnDragOver(5, 5, offered), wxDragCopy);
    }
    EXPECT_FALSE(Drop(*run, {}));
    EXPECT_TRUE(run->Doc().GetPathName().empty());
    EXPECT_TRUE(run->Boxes().texts.empty());
}

}  // namespace
}  // namespace ek::test
