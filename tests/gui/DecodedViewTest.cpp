// The decoded view in the real windows: the switch in the menu and on the tool bar,
// the text pane and both lists decoded at once, the profile value, and the dialog
// that saves attachments into the folder the user picks.
#include <wx/listctrl.h>
#include <wx/stc/stc.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "gui/frame/AttachmentDlg.h"
#include "gui/frame/MainFrame.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxProfileStore.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

// Two messages: an encoded subject and sender with a quoted-printable UTF-8 body and
// an attachment, then a plain one.
const std::string kMailbox =
    "From - Mon Apr 03 09:00:00 2000\nX-EKMail-Status: 0001\n"
    "Date: Mon, 03 Apr 2000 09:00:00 +0900\n"
    "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@example.jp>\n"
    "Subject: =?UTF-8?B?5pel5pys?=\n"
    "Content-Type: multipart/mixed; boundary=\"b\"\n\n"
    "--b\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n"
    "caf=C3=A9 http://example.jp/\n"
    "--b\nContent-Type: application/octet-stream; name=\"../data.bin\"\n"
    "Content-Transfer-Encoding: base64\n\nAAEC\n--b--\n"
    "From - Mon Apr 03 09:01:00 2000\nX-EKMail-Status: 0001\n"
    "Date: Mon, 03 Apr 2000 09:01:00 +0900\nFrom: Plain <p@example.jp>\nSubject: plain\n\nok\n";

class FolderAnswer : public CommonDialogsUi {
  public:
    std::optional<wxFont> ChooseFont(wxWindow*, const wxFont&) override { return std::nullopt; }
    std::optional<wxColour> ChooseColour(wxWindow*, const wxColour&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(wxWindow*, const std::string& initial) override {
        starts.push_back(initial);
        return folder;
    }
    std::optional<std::string> folder;
    std::vector<std::string> starts;
};

// The program with its real panes on a mailbox and a profile of the test's own.
class DecodedRun : public ProgramRun {
  public:
    explicit DecodedRun(const std::string& profileText = {})
        : ProgramRun(MailboxSetup(kMailbox, Pane::Real, Pane::Real, profileText)) {}

    wxString Text() { return ContentView().GetTextCtrl()->GetValue(); }
    wxString TitleCell(long row, long column) {
        return Frame().GetTitleView()->GetItemText(row, column);
    }
    wxString ThreadCell(long row, long column) { return ThreadView().GetItemText(row, column); }
};

const wxString kEncodedSubject = wxString::FromUTF8("=?UTF-8?B?5pel5pys?=");

TEST(DecodedViewTest, SwitchDecodesTheTextPaneAndBothListsAtOnceAndIsStored) {
    EKVIEW_REQUIRE_DISPLAY();
    DecodedRun run;
    ASSERT_TRUE(run.Started());
    // Off by default: the stored bytes, as ever.
    EXPECT_EQ(run.Frame().QueryCommand(ID_VIEW_DECODE).GetCheck(), 0);
    EXPECT_TRUE(run.Frame().QueryCommand(ID_VIEW_DECODE).IsEnabled());
    EXPECT_EQ(run.TitleCell(0, 0), kEncodedSubject);
    run.Command(ID_VIEW_CONTENT);
    EXPECT_NE(run.Text().Find("caf=C3=A9"), wxNOT_FOUND);

    run.Command(ID_VIEW_DECODE);
    EXPECT_EQ(run.Frame().QueryCommand(ID_VIEW_DECODE).GetCheck(), 1);
    const wxString text = run.Text();
    EXPECT_NE(text.Find(wxString::FromUTF8("Subject: 日本\n")), wxNOT_FOUND) << text;
    EXPECT_NE(text.Find(wxString::FromUTF8("\n\ncafé http://example.jp/\n")), wxNOT_FOUND);
    EXPECT_TRUE(text.EndsWith(wxString::FromUTF8("(添付ファイルがあります)")));
    EXPECT_EQ(run.TitleCell(0, 0), wxString::FromUTF8("日本"));
    EXPECT_EQ(run.TitleCell(0, 1), wxString::FromUTF8("山田"));
    EXPECT_EQ(run.TitleCell(0, 2), "2000/04/03 09:00:00") << "the date column stays";
    EXPECT_EQ(run.ThreadCell(0, 1), wxString::FromUTF8("山田"));
    EXPECT_EQ(run.TitleCell(1, 0), "plain") << "the order stays";

    run.Command(ID_VIEW_DECODE);
    EXPECT_EQ(run.TitleCell(0, 0), kEncodedSubject);
    EXPECT_NE(run.Text().Find("caf=C3=A9"), wxNOT_FOUND);
    run.Command(ID_VIEW_DECODE);
    run.Close();
    EXPECT_EQ(WxProfileStore(run.ProfilePath()).GetProfileInt("Settings", "Decode", -1), 1);
}

TEST(DecodedViewTest, StoredValueIsReadWhenTheTextPaneIsMade) {
    EKVIEW_REQUIRE_DISPLAY();
    DecodedRun run("[Settings]\nDecode=1\nHeader=0\n");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Frame().QueryCommand(ID_VIEW_DECODE).GetCheck(), 1);
    EXPECT_EQ(run.TitleCell(0, 0), wxString::FromUTF8("日本"));
    run.Command(ID_VIEW_CONTENT);
    EXPECT_TRUE(run.Text().StartsWith(wxString::FromUTF8(
        "Date: Mon, 03 Apr 2000 09:00:00 +0900\nFrom: 山田 <y@example.jp>\nSubject: 日本\n\n")))
        << run.Text();
}

TEST(DecodedViewTest, MenuItemAndToolBarButtonFollowTheSpecItems) {
    EKVIEW_REQUIRE_DISPLAY();
    DecodedRun run;
    ASSERT_TRUE(run.Started());
    wxMenuBar* bar = run.Frame().GetMenuBar();
    wxMenu* view = bar->GetMenu(2);
    const int decode = view->FindChildItem(WxId(ID_VIEW_DECODE))->GetId();
    const int color = WxId(ID_VIEW_COLOR);
    size_t colorAt = 0;
    size_t decodeAt = 0;
    view->FindChildItem(color, &colorAt);
    view->FindChildItem(decode, &decodeAt);
    EXPECT_EQ(decodeAt, colorAt + 1);
    EXPECT_TRUE(view->FindItemByPosition(decodeAt + 1)->IsSeparator());
    EXPECT_TRUE(view->FindItemByPosition(decodeAt)->IsCheckable());
    EXPECT_EQ(view->FindItemByPosition(decodeAt)->GetItemLabel(),
              wxString::FromUTF8("デコード表示(&D)"));
    wxMenu* file = bar->GetMenu(0);
    EXPECT_EQ(file->FindItemByPosition(1)->GetId(), WxId(ID_FILE_SAVE_ATTACHMENTS));
    EXPECT_EQ(file->FindItemByPosition(1)->GetItemLabelText(),
              wxString::FromUTF8("添付ファイルを保存(T)..."));
}

TEST(DecodedViewTest, SaveAttachmentsFollowsTheMessageAndSavesIntoTheChosenFolder) {
    EKVIEW_REQUIRE_DISPLAY();
    DecodedRun run;
    ASSERT_TRUE(run.Started());
    run.Doc().m_nCurrent = 1;
    EXPECT_FALSE(run.Frame().QueryCommand(ID_FILE_SAVE_ATTACHMENTS).IsEnabled());
    run.Doc().m_nCurrent = 0;
    EXPECT_TRUE(run.Frame().QueryCommand(ID_FILE_SAVE_ATTACHMENTS).IsEnabled());

    CAttachmentDlg dialog(&run.Frame(), run.Doc(), 0);
    ASSERT_EQ(dialog.GetList()->GetItemCount(), 1);
    EXPECT_EQ(dialog.GetList()->GetItemText(0, 0), "../data.bin");
    EXPECT_EQ(dialog.GetList()->GetItemText(0, 1), "application/octet-stream");
    EXPECT_EQ(dialog.GetList()->GetItemText(0, 2), "3 B");

    FolderAnswer answer;
    ScopedCommonDialogsUi scope(answer);
    dialog.SaveChosen(true);  // cancelled: nothing written
    EXPECT_TRUE(dialog.GetResultText().empty());
    const std::string folder = run.Dir().File("saved");
    std::filesystem::create_directory(folder);
    answer.folder = folder;
    dialog.SaveChosen(false);
    dialog.SaveChosen(true);
    EXPECT_EQ(ReadFile(folder + "/data.bin"), std::string("\0\1\2", 3));
    EXPECT_EQ(ReadFile(folder + "/data (2).bin"), std::string("\0\1\2", 3));
    EXPECT_FALSE(std::filesystem::exists(run.Dir().File("data.bin")));
    EXPECT_NE(answer.starts.front(), run.Dir().Path()) << "never the mailbox's folder unasked";
    EXPECT_TRUE(dialog.GetResultText().StartsWith(wxString::FromUTF8("1 個")));
    EXPECT_EQ(ReadFile(run.Dir().File("box.mbx")), kMailbox) << "the mailbox is never written";
}

}  // namespace
}  // namespace ek::test
