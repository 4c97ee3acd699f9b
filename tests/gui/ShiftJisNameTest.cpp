// Mailboxes whose file names are Shift-JIS bytes, as archives copied from old
// Windows disks carry them: opened from the command line, the file dialog, a drop
// and the recent-file list under the bytes given, and shown readably.
#include <wx/dataobj.h>
#include <wx/menu.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "core/platform/PathNames.h"
#include "gui/platform/FileDropTarget.h"
#include "gui/platform/WxText.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

// 受信箱.mbx in CP932: not UTF-8, and 0x90 0x4D holds an ASCII 'M' as trail byte.
const std::string kInboxName = "\x8e\xf3\x90M\x94\xa0.mbx";
const wxString kInboxTitle = wxString::FromUTF8("受信箱.mbx - EKView");

class ShiftJisNameTest : public ProgramTest {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        inbox = dir.File(kInboxName);
        std::filesystem::copy_file(SamplePath(), inbox);
    }
    std::string Profile() const override { return dir.File("Ubrik/EKView.conf"); }

    static wxString RecentMenuText(ProgramRun& run) {
        wxMenuItem* item = run.Frame().GetMenuBar()->FindItem(WxId(ID_FILE_MRU_FILE1));
        return item != nullptr ? item->GetItemLabel() : wxString();
    }

    // Opened under the bytes given, read, and named readably.
    static void ExpectOpened(ProgramRun& run, const std::string& path) {
        EXPECT_EQ(run.Doc().GetPathName(), path);
        EXPECT_EQ(run.Doc().GetMessageCount(), 12);
        EXPECT_EQ(run.Frame().GetTitleView()->GetItemCount(), 12);
        EXPECT_EQ(run.Frame().GetTitle(), kInboxTitle);
        EXPECT_EQ(run.App().GetRecentFileList()[0], path);
        EXPECT_TRUE(RecentMenuText(run).EndsWith(wxString::FromUTF8("受信箱.mbx")))
            << RecentMenuText(run);
        EXPECT_TRUE(run.Boxes().texts.empty());
    }

    std::string inbox;
};

TEST_F(ShiftJisNameTest, TheCommandLineOpensItAndTheRecentEntryOpensItAgain) {
    {
        auto run = Start({inbox});
        ASSERT_TRUE(run->Started());
        ExpectOpened(*run, inbox);
        run->Close();
    }
    // The UTF-8 profile keeps the bytes as a file URI.
    std::string conf = ReadFile(dir.File("Ubrik/EKView.conf"));
    EXPECT_NE(conf.find("File1=file://" + dir.Path() + "/%8E%F3%90M%94%A0.mbx"), std::string::npos)
        << conf;

    auto run = Start();
    ASSERT_TRUE(run->Started());
    ASSERT_EQ(run->App().GetRecentFileList()[0], inbox);
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_MRU_FILE1));
    ExpectOpened(*run, inbox);
}

TEST_F(ShiftJisNameTest, TheFileDialogsChoiceKeepsTheBytes) {
    // wxGTK's file chooser hands its path over through the file-name conversion.
    const wxString fromDialog(inbox.c_str(), *wxConvFileName);
    ASSERT_FALSE(fromDialog.empty());
    chosenFile = FileNameBytes(fromDialog);
    ASSERT_EQ(*chosenFile, inbox);

    auto run = Start();
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_OPEN));
    ExpectOpened(*run, inbox);
}

#ifdef __WXGTK__
TEST_F(ShiftJisNameTest, ADroppedUriListOpensIt) {
    auto run = Start();
    auto* target = dynamic_cast<CFileDropTarget*>(run->Frame().GetDropTarget());
    ASSERT_NE(target, nullptr);
    // As a file manager sends it: a comment, CR LF line ends, the bytes percent-encoded.
    const std::string list = "# dragged\r\n" + pathname::ToProfile(inbox) + "\r\n";
    ASSERT_TRUE(
        target->GetDataObject()->SetData(wxDataFormat("text/uri-list"), list.size(), list.data()));
    ASSERT_TRUE(target->OnDropReceived());
    RunPending();
    ExpectOpened(*run, inbox);
}
#endif

TEST_F(ShiftJisNameTest, AMissingOneIsReportedReadablyAsAnyMissingFile) {
    std::filesystem::remove(inbox);
    auto run = Start({inbox});
    EXPECT_FALSE(run->Started());
    ASSERT_EQ(run->Boxes().texts.size(), 1u);
    const std::string& text = run->Boxes().texts[0];
    EXPECT_NE(text.find(dir.Path() + "/受信箱.mbx"), std::string::npos) << text;
    EXPECT_TRUE(wxString::FromUTF8(text.data(), text.size()).size() > 0) << "valid UTF-8";
}

}  // namespace
}  // namespace ek::test
