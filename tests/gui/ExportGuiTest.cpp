// ファイル > エクスポート on the real frame: the menu item, Cancel on the real progress
// dialog leaving no file, and a finished export byte for byte equal to ekview-cli's.
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/menu.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "gui/frame/MainFrame.h"
#include "shell/ExportCommand.h"
#include "shell/Resource.h"
#include "tests/support/ProcessSupport.h"

namespace ek::test {
namespace {

namespace fs = std::filesystem;

// Answers the export dialogs as the test says and records the messages.
class ScriptedExportUi : public ExportDialogUi {
  public:
    std::optional<ExportChoice> ChooseOptions(bool current, bool search) override {
        offeredCurrent = current;
        offeredSearch = search;
        return choice;
    }
    std::optional<std::string> ChooseTarget(ExportFormat) override {
        if (onTargetChosen) {
            onTargetChosen();
        }
        return target;
    }
    bool Confirm(const std::string& question) override {
        questions.push_back(question);
        return confirm;
    }
    void ShowMessage(const std::string& text, bool error) override {
        messages.push_back(text);
        errors += error ? 1 : 0;
    }

    std::optional<ExportChoice> choice = ExportChoice{};
    std::optional<std::string> target;
    std::function<void()> onTargetChosen;
    bool confirm = true;
    bool offeredCurrent = false;
    bool offeredSearch = false;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    int errors = 0;
};

// Presses the progress dialog's Cancel button once the dialog is up, from the events
// the dialog dispatches while the export runs; gives up after `tries` looks.
void PressCancelWhenShown(int& presses, int tries = 100) {
    wxTheApp->CallAfter([&presses, tries] {
        wxDialog* dialog = FindProgressDialog();
        if (dialog == nullptr) {
            if (tries > 1) {
                PressCancelWhenShown(presses, tries - 1);
            }
            return;
        }
        wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
        click.SetEventObject(dialog->FindWindow(wxID_CANCEL));
        dialog->GetEventHandler()->ProcessEvent(click);
        ++presses;
    });
}

class ExportGuiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        // Enough messages and bytes that the progress dialog dispatches events while
        // the export runs.
        std::string bytes;
        for (int i = 0; i < 20000; ++i) {
            bytes += "From - Sun Jan 02 15:04:05 2000\nX-EKMail-Status: 0001\nDate: " +
                     std::to_string(1 + i % 28) + " Feb 2001 10:00:00\nSubject: m" +
                     std::to_string(i) + "\n\nFrom the body\n" + std::string(400, 'x') + "\n";
        }
        mailbox = dir.File("mail.mbx");
        WriteFile(mailbox, bytes);
        out = dir.File("out");
        fs::create_directory(out);
        ProgramRun::Setup setup;
        setup.profilePath = dir.File("Ubrik/EKView.conf");
        setup.args = {mailbox};
        run = std::make_unique<ProgramRun>(std::move(setup));
        ASSERT_TRUE(run->Started());
        ASSERT_EQ(run->Doc().GetMessageCount(), 20000);
        run->Frame().SetExportDialogUi(&ui);
    }
    void TearDown() override {
        if (run != nullptr) {
            run->Frame().SetExportDialogUi(nullptr);
            run->Close();
        }
    }

    TempDir dir;
    std::string mailbox;
    std::string out;
    ScriptedExportUi ui;
    std::unique_ptr<ProgramRun> run;
};

TEST_F(ExportGuiTest, TheFileMenuOffersExportAfterOpenWhileMessagesAreListed) {
    wxMenu* menu = nullptr;
    wxMenuItem* item = run->Frame().GetMenuBar()->FindItem(WxId(ID_FILE_EXPORT), &menu);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabel(), wxString::FromUTF8("エクスポート(&E)..."));
    EXPECT_GT(menu->GetMenuItems().IndexOf(item),
              menu->GetMenuItems().IndexOf(menu->FindItem(WxId(ID_FILE_OPEN))));
    EXPECT_TRUE(run->Frame().QueryCommand(ID_FILE_EXPORT).IsEnabled());
}

TEST_F(ExportGuiTest, CancelInTheProgressDialogLeavesNoFile) {
    int presses = 0;
    ui.target = out + "/cancelled.mbox";
    ui.onTargetChosen = [&] { PressCancelWhenShown(presses); };
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    RunPending();
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(FileNames(out).empty());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    EXPECT_EQ(FindProgressDialog(), nullptr);
    EXPECT_TRUE(run->Frame().IsEnabled());
}

TEST_F(ExportGuiTest, AFinishedExportHasTheBytesOfTheCommandLineExport) {
    ui.target = out + "/viewer.mbox";
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    RunPending();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.errors, 0) << ui.messages.front();
    EXPECT_TRUE(ui.offeredCurrent);
    EXPECT_FALSE(ui.offeredSearch) << "no search window is open";

    std::string cli = out + "/cli.mbox";
    const ProcessResult exported = RunCli({"export", "--mbox", cli, mailbox});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_TRUE(ReadFile(out + "/viewer.mbox") == ReadFile(cli));

    // The same target again: replaced only after the user said yes.
    ui.confirm = false;
    WriteFile(out + "/viewer.mbox", "mine");
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ReadFile(out + "/viewer.mbox"), "mine");
}

TEST_F(ExportGuiTest, TheCurrentMessageOrTheSearchResultsAsEmlFiles) {
    run->Doc().m_nCurrent = 41;
    ui.choice = ExportChoice{ExportFormat::Eml, ExportScope::Current};
    ui.target = out + "/one";
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    EXPECT_EQ(FileNames(out + "/one"), std::vector<std::string>{"00042.eml"});

    run->Frame().SetSearchResultsSource([] { return std::vector<int>{3, 1}; });
    ui.choice = ExportChoice{ExportFormat::Eml, ExportScope::SearchResults};
    ui.target = out + "/found";
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    EXPECT_TRUE(ui.offeredSearch);
    EXPECT_EQ(FileNames(out + "/found"), (std::vector<std::string>{"00002.eml", "00004.eml"}));
}

TEST_F(ExportGuiTest, TheOpenMailboxIsRefusedAsTarget) {
    std::string before = ReadFile(mailbox);
    ui.target = mailbox;
    ASSERT_TRUE(run->Frame().ExecuteCommand(ID_FILE_EXPORT));
    EXPECT_TRUE(ui.questions.empty()) << "refused before any question";
    ASSERT_EQ(ui.errors, 1);
    EXPECT_NE(ui.messages.front().find("開いているメールファイル"), std::string::npos);
    EXPECT_EQ(ReadFile(mailbox), before);
}

}  // namespace
}  // namespace ek::test
