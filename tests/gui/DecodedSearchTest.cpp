// The search window follows the decoded view: an encoded subject is found only while
// the view is on, the window says which text it searches, switching the view re-runs
// the query, and the rows show the decoded subjects and senders as the lists do.
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <chrono>

#include "GuiTestSupport.h"
#include "frame/MainFrame.h"
#include "frame/SearchDlg.h"
#include "frame/SearchResultsCtrl.h"
#include "res/Resource.h"
#include "views/ContentView.h"

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

class DecodedSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        WriteFile(m_dir.File("box.mbx"), kMailbox);
        CEKViewApp::Options options;
        options.profilePath = m_dir.File("EKView.conf");
        options.panes.createContent = [](CMainFrame& frame, wxWindow* parent) {
            return new CEKContentView(frame, parent);
        };
        m_app = std::make_unique<CEKViewApp>(std::move(options));
        ASSERT_TRUE(m_app->InitInstance(ParseCommandLine({m_dir.File("box.mbx")})));
        RunPending();
    }
    void TearDown() override {
        if (m_app != nullptr) {
            Frame().Close();
            RunPending();
            m_app->ExitInstance();
        }
    }
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CSearchDlg& Dlg() { return *Frame().GetSearchDlg(); }
    void Command(int id) {
        ASSERT_TRUE(Frame().ExecuteCommand(id)) << id;
        RunPending();
    }
    void Search(const std::string& utf8, int fieldChoice) {
        Dlg().FieldCtrl()->SetSelection(fieldChoice);
        Dlg().QueryCtrl()->ChangeValue(wxString::FromUTF8(utf8));
        Dlg().StartSearch();
    }
    void Finish() {
        // The workers' results arrive through the event queue.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Dlg().Run().Running() && std::chrono::steady_clock::now() < end) {
            RunPending();
            wxMilliSleep(2);
        }
        RunPending();
        ASSERT_FALSE(Dlg().Run().Running());
    }
    std::vector<int> Shown() {
        std::vector<int> shown;
        CSearchResultsCtrl& results = *Dlg().ResultsCtrl();
        for (long row = 0; row < results.GetItemCount(); ++row) {
            shown.push_back(results.MessageOfRow(row));
        }
        return shown;
    }

    TempDir m_dir;
    MessageBoxRecorder m_boxes;
    ScopedMessageBoxUi m_boxScope{m_boxes};
    std::unique_ptr<CEKViewApp> m_app;
};

TEST_F(DecodedSearch, AnEncodedSubjectIsFoundOnlyWithTheDecodedViewOn) {
    ASSERT_TRUE(Frame().ExecuteCommand(ID_MAIL_SEARCH));
    RunPending();
    EXPECT_FALSE(Dlg().SearchesDecoded());
    EXPECT_EQ(Dlg().SourceCtrl()->GetLabel(), wxString::FromUTF8("保存された文字を検索します"));
    Search("日本", 1);
    Finish();
    EXPECT_TRUE(Shown().empty()) << "the stored subject is an encoded word";

    // Switching the view runs the query again on the decoded text.
    Command(ID_VIEW_DECODE);
    EXPECT_TRUE(Dlg().SearchesDecoded());
    EXPECT_EQ(Dlg().SourceCtrl()->GetLabel(), wxString::FromUTF8("デコード表示の文字を検索します"));
    Finish();
    EXPECT_EQ(Shown(), std::vector<int>{0});
    EXPECT_EQ(Dlg().ResultsCtrl()->GetItemText(0, 0), wxString::FromUTF8("日本"));
    EXPECT_EQ(Dlg().ResultsCtrl()->GetItemText(0, 1), wxString::FromUTF8("山田"));
    EXPECT_EQ(Frame().GetSearchResults(), std::vector<int>{0});

    // The base64 body, and words that must all match.
    Search("本文", 5);
    Finish();
    EXPECT_EQ(Shown(), std::vector<int>{0});
    Search("本文 zebra", 0);
    Finish();
    EXPECT_TRUE(Shown().empty());
    // Decoded text holds characters Shift-JIS cannot write: no refusal.
    Search("회의", 0);
    Finish();
    EXPECT_EQ(Dlg().Run().Status(), search::QueryStatus::Ok);

    Search("日本", 1);
    Finish();
    Command(ID_VIEW_DECODE);
    EXPECT_FALSE(Dlg().SearchesDecoded());
    Finish();
    EXPECT_TRUE(Shown().empty());
    Search("=?UTF-8?B?", 1);
    Finish();
    EXPECT_EQ(Shown(), std::vector<int>{0});
    EXPECT_EQ(Dlg().ResultsCtrl()->GetItemText(0, 0), "=?UTF-8?B?5pel5pys?=");
}

TEST_F(DecodedSearch, AHiddenWindowSearchesTheNewTextWhenOpenedAgain) {
    ASSERT_TRUE(Frame().ExecuteCommand(ID_MAIL_SEARCH));
    RunPending();
    Search("日本", 1);
    Finish();
    Dlg().Close();
    RunPending();
    Command(ID_VIEW_DECODE);
    EXPECT_TRUE(Frame().GetSearchResults().empty()) << "results of the other text are dropped";
    ASSERT_TRUE(Frame().ExecuteCommand(ID_MAIL_SEARCH));
    RunPending();
    Finish();
    EXPECT_EQ(Shown(), std::vector<int>{0});
}

}  // namespace
}  // namespace ek::test
