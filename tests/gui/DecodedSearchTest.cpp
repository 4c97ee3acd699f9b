// The search window follows the decoded view: an encoded subject is found only while
// the view is on, the window says which text it searches, switching the view re-runs
// the query, and the rows show the decoded subjects and senders as the lists do.
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "GuiTestSupport.h"
#include "gui/frame/MainFrame.h"
#include "gui/frame/SearchDlg.h"
#include "gui/frame/SearchResultsCtrl.h"
#include "gui/views/ContentView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

// An encoded subject and sender over a base64 body, then a plain message.
const std::string kMailbox =
    "From - Mon Apr 03 09:00:00 2000\nX-EKMail-Status: 0001\n"
    "Date: Mon, 03 Apr 2000 09:00:00 +0900\n"
    "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@example.jp>\n"
    "Subject: =?UTF-8?B?5pel5pys?=\n"
    "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n"
    "5pys5paH\n"
    "From - Mon Apr 03 09:01:00 2000\nX-EKMail-Status: 0001\n"
    "Date: Mon, 03 Apr 2000 09:01:00 +0900\nFrom: Plain <p@example.jp>\nSubject: plain\n\nok\n";

// The program with the real text pane and no thread list.
class DecodedSearch : public SearchWindowTest {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        Start(MailboxSetup(kMailbox, Pane::Real, Pane::None));
    }
};

TEST_F(DecodedSearch, AnEncodedSubjectIsFoundOnlyWithTheDecodedViewOn) {
    OpenWindow();
    EXPECT_FALSE(Dlg().SearchesDecoded());
    EXPECT_EQ(Dlg().SourceCtrl()->GetLabel(), wxString::FromUTF8("保存された文字を検索します"));
    Search("日本", 1);
    Finish();
    EXPECT_TRUE(ShownResults().empty()) << "the stored subject is an encoded word";

    // Switching the view runs the query again on the decoded text.
    Command(ID_VIEW_DECODE);
    EXPECT_TRUE(Dlg().SearchesDecoded());
    EXPECT_EQ(Dlg().SourceCtrl()->GetLabel(), wxString::FromUTF8("デコード表示の文字を検索します"));
    Finish();
    EXPECT_EQ(ShownResults(), std::vector<int>{0});
    EXPECT_EQ(Results().GetItemText(0, 0), wxString::FromUTF8("日本"));
    EXPECT_EQ(Results().GetItemText(0, 1), wxString::FromUTF8("山田"));
    EXPECT_EQ(Frame().GetSearchResults(), std::vector<int>{0});

    // The base64 body, and words that must all match.
    Search("本文", 5);
    Finish();
    EXPECT_EQ(ShownResults(), std::vector<int>{0});
    Search("本文 zebra", 0);
    Finish();
    EXPECT_TRUE(ShownResults().empty());
    // Decoded text holds characters Shift-JIS cannot write: no refusal.
    Search("회의", 0);
    Finish();
    EXPECT_EQ(Dlg().Run().Status(), search::QueryStatus::Ok);

    Search("日本", 1);
    Finish();
    Command(ID_VIEW_DECODE);
    EXPECT_FALSE(Dlg().SearchesDecoded());
    Finish();
    EXPECT_TRUE(ShownResults().empty());
    Search("=?UTF-8?B?", 1);
    Finish();
    EXPECT_EQ(ShownResults(), std::vector<int>{0});
    EXPECT_EQ(Results().GetItemText(0, 0), "=?UTF-8?B?5pel5pys?=");
}

TEST_F(DecodedSearch, AHiddenWindowSearchesTheNewTextWhenOpenedAgain) {
    OpenWindow();
    Search("日本", 1);
    Finish();
    Dlg().Close();
    RunPending();
    Command(ID_VIEW_DECODE);
    EXPECT_TRUE(Frame().GetSearchResults().empty()) << "results of the other text are dropped";
    OpenWindow();
    Finish();
    EXPECT_EQ(ShownResults(), std::vector<int>{0});
}

}  // namespace
}  // namespace ek::test
