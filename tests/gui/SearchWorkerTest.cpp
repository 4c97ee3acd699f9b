// The search window while its workers run: results arrive in list order and only
// grow at their end; a new query, closing the window, switching the decoded view and
// opening another mailbox each stop the search under way, and nothing of it stays.
// Each of those comes before the window has collected anything, so the search is
// still under way for the window whatever its workers have done.
#include <wx/utils.h>

#include <algorithm>
#include <chrono>

#include "GuiTestSupport.h"
#include "gui/frame/MainFrame.h"
#include "gui/frame/SearchDlg.h"
#include "gui/frame/SearchResultsCtrl.h"
#include "shell/Resource.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

constexpr int kMessages = 1500;
constexpr int kFieldSubject = 1;
constexpr int kFieldBody = 5;

// Message i (all of one date, so index i is message i): "needle" (or `word`) in the
// body when i % 5 == 0, the subject "日本" as an encoded word when i % 9 == 4; every
// fourth message is multipart with an attachment, for the MIME parser to read.
std::string Mailbox(const std::string& word) {
    std::string box;
    for (int i = 0; i < kMessages; ++i) {
        const std::string n = std::to_string(i);
        box += kStart + "\n" + kStatus + "\nDate: Sun, 2 Jan 2000 10:00:00 +0900\n";
        box += "From: Sender " + n + " <s@example.jp>\n";
        box += "Subject: " + std::string(i % 9 == 4 ? "=?UTF-8?B?5pel5pys?= " : "item ") + n + "\n";
        const std::string text = (i % 5 == 0 ? "a " + word + " here " : "hay ") + n + "\n";
        if (i % 4 == 1) {
            box += "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"b" + n +
                   "\"\n\n--b" + n + "\nContent-Type: text/plain; charset=us-ascii\n\n" + text +
                   "--b" + n +
                   "\nContent-Type: application/octet-stream\nContent-Transfer-Encoding: "
                   "base64\n\nAAECAwQF\n--b" +
                   n + "--\n";
        } else {
            box += "\n" + text;
        }
    }
    return box;
}

std::vector<int> Every(int step, int at) {
    std::vector<int> found;
    for (int i = at; i < kMessages; i += step) {
        found.push_back(i);
    }
    return found;
}

class SearchWorkers : public SearchWindowTest {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        Start(MailboxSetup(Mailbox("needle"), Pane::Real, Pane::None));
        WriteFile(run->Dir().File("b.mbx"), Mailbox("other"));
        ASSERT_EQ(Doc().GetMessageCount(), kMessages);
        OpenWindow();
    }
    // Handles events until the search has finished, checking at every turn that the
    // rows shown only grew at their end.
    void FinishGrowingAtTheEnd() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::vector<int> seen = ShownResults();
        while (Dlg().Run().Running() && std::chrono::steady_clock::now() < end) {
            RunPending();
            const std::vector<int> now = ShownResults();
            ASSERT_GE(now.size(), seen.size());
            ASSERT_TRUE(std::equal(seen.begin(), seen.end(), now.begin()))
                << "rows changed before their end";
            seen = now;
            wxMilliSleep(2);
        }
        RunPending();
        ASSERT_FALSE(Dlg().Run().Running());
        ASSERT_TRUE(Dlg().Run().Finished());
    }
};

TEST_F(SearchWorkers, ResultsArriveInListOrderOnBothTexts) {
    for (bool decoded : {false, true}) {
        SCOPED_TRACE(decoded ? "decoded" : "stored");
        if (Frame().IsDecodedView() != decoded) {
            Command(ID_VIEW_DECODE);
        }
        ASSERT_EQ(Dlg().SearchesDecoded(), decoded);
        Search("needle", kFieldBody);
        FinishGrowingAtTheEnd();
        EXPECT_EQ(ShownResults(), Every(5, 0));
        EXPECT_EQ(Frame().GetSearchResults(), Every(5, 0));
        EXPECT_EQ(Dlg().StatusText(),
                  wxString::Format(wxString::FromUTF8("%zu 件"), Every(5, 0).size()));
    }
}

TEST_F(SearchWorkers, ANewQueryStopsTheOneUnderWay) {
    Command(ID_VIEW_DECODE);
    Search("needle", kFieldBody);
    ASSERT_TRUE(Dlg().Run().Running());
    Search("日本", kFieldSubject);
    EXPECT_TRUE(ShownResults().empty()) << "the old query's rows went with it";
    FinishGrowingAtTheEnd();
    EXPECT_EQ(ShownResults(), Every(9, 4));
}

TEST_F(SearchWorkers, ClosingTheWindowStopsItsSearchAndOpeningRunsItAgain) {
    Command(ID_VIEW_DECODE);
    Search("needle", kFieldBody);
    ASSERT_TRUE(Dlg().Run().Running());
    Dlg().Close();
    RunPending();
    EXPECT_FALSE(Dlg().IsShown());
    EXPECT_FALSE(Dlg().Run().Running());
    EXPECT_FALSE(Dlg().Run().Finished());
    EXPECT_TRUE(ShownResults().empty());
    EXPECT_TRUE(Frame().GetSearchResults().empty());

    ASSERT_TRUE(Frame().ExecuteCommand(ID_MAIL_SEARCH));
    EXPECT_TRUE(Dlg().Run().Running());
    FinishGrowingAtTheEnd();
    EXPECT_EQ(ShownResults(), Every(5, 0));
}

TEST_F(SearchWorkers, SwitchingTheDecodedViewRunsTheQueryOnTheOtherText) {
    // The stored subjects hold no "日本"; the decoded ones do.
    Search("日本", kFieldSubject);
    ASSERT_TRUE(Dlg().Run().Running());
    Command(ID_VIEW_DECODE);
    EXPECT_TRUE(Dlg().SearchesDecoded());
    FinishGrowingAtTheEnd();
    EXPECT_EQ(ShownResults(), Every(9, 4));

    Search("日本", kFieldSubject);
    ASSERT_TRUE(Dlg().Run().Running());
    Command(ID_VIEW_DECODE);
    EXPECT_FALSE(Dlg().SearchesDecoded());
    FinishGrowingAtTheEnd();
    EXPECT_TRUE(ShownResults().empty());
}

TEST_F(SearchWorkers, OpeningAnotherMailboxStopsTheSearchAndRunsItThere) {
    Command(ID_VIEW_DECODE);
    Search("needle", kFieldBody);
    ASSERT_TRUE(Dlg().Run().Running());
    ASSERT_TRUE(run->App().OpenDocumentFile(run->Dir().File("b.mbx")));
    RunPending();
    FinishGrowingAtTheEnd();
    EXPECT_TRUE(ShownResults().empty());
    Search("other", kFieldBody);
    FinishGrowingAtTheEnd();
    EXPECT_EQ(ShownResults(), Every(5, 0));
}

}  // namespace
}  // namespace ek::test
