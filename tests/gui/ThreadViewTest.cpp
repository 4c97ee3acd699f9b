#include <wx/listctrl.h>

#include <cstdio>

#include "GuiTestSupport.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxProfileStore.h"
#include "gui/platform/WxText.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

constexpr long kSelectedFocused = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;

// A mailbox of `count` messages in date order; message i answers message
// i - 1 unless i is a multiple of `threadLength`.
std::string ChainMailbox(int count, int threadLength) {
    std::string text;
    char line[160];
    for (int i = 0; i < count; ++i) {
        int minute = i % 60;
        int hour = (i / 60) % 24;
        int day = 1 + i / 1440;
        std::snprintf(line, sizeof line,
                      "From - Mon Apr 03 09:15:00 2000\nX-EKMail-Status: 0001\n"
                      "Date: Mon, %02d Apr 2000 %02d:%02d:00 +0900\nFrom: m%d@example.jp\n"
                      "Subject: s%d\nMessage-Id: <%d@example.jp>\n",
                      day, hour, minute, i, i, i);
        text += line;
        if (i % threadLength != 0) {
            std::snprintf(line, sizeof line, "In-Reply-To: <%d@example.jp>\n", i - 1);
            text += line;
        }
        text += "\nbody\n";
    }
    return text;
}

// The window of the list that receives its keys and mouse clicks: the rows' window,
// below the column headers.
wxWindow* ListMainWindow(wxListCtrl& list) {
    wxWindow* rows = &list;
    for (wxWindow* child : list.GetChildren()) {
        if (rows == &list || child->GetSize().y > rows->GetSize().y) {
            rows = child;
        }
    }
    return rows;
}

// A key press as the keyboard sends it: the key, then its character.
void PressEnter(wxListCtrl& list) {
    wxWindow* window = ListMainWindow(list);
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = WXK_RETURN;
    key.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(key);
    wxKeyEvent character(wxEVT_CHAR);
    character.m_keyCode = WXK_RETURN;
    character.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(character);
}

// A double click as the mouse sends it, at a point of the list's own client area.
void DoubleClick(wxListCtrl& list, wxPoint point) {
    wxWindow* window = ListMainWindow(list);
    point = window->ScreenToClient(list.ClientToScreen(point));
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP}) {
        wxMouseEvent mouse(type);
        mouse.SetPosition(point);
        mouse.m_leftDown = type != wxEVT_LEFT_UP;
        mouse.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(mouse);
    }
}

// Answers the font dialog with a chosen font, or with Cancel.
class FontAnswer : public CommonDialogsUi {
  public:
    std::optional<wxFont> ChooseFont(wxWindow*, const wxFont& initial) override {
        ++asked;
        initialSize = initial.GetFractionalPointSize();
        return answer;
    }
    std::optional<wxColour> ChooseColour(wxWindow*, const wxColour&) override {
        ADD_FAILURE() << "the list asked for a colour";
        return std::nullopt;
    }
    std::optional<wxFont> answer;
    int asked = 0;
    double initialSize = 0;
};

class ThreadViewTest : public ProgramTest {
  protected:
    // The program with the real thread list and a stand-in text pane.
    std::unique_ptr<ProgramRun> Start(std::vector<std::string> args) {
        auto run = ProgramTest::Start(std::move(args), Pane::Stub, Pane::Real);
        EXPECT_TRUE(run->Started());
        return run;
    }
};

TEST_F(ThreadViewTest, ListsTheSampleInThreadOrderWithPrefixesAndPaperClips) {
    auto run = Start({SamplePath()});
    CEKThreadView& list = run->ThreadView();
    CEKViewDoc& doc = run->Doc();
    ASSERT_EQ(doc.GetMessageCount(), 12);
    ASSERT_EQ(list.GetItemCount(), 12);

    // The first thread holds a reply that sorts before its parent, and a reply to a
    // reply; message 10 answers message 7 and stands right below it.
    const std::vector<int> messages = {0, 1, 2, 3, 4, 5, 6, 7, 10, 8, 9, 11};
    const std::vector<int> depths = {1, 0, 0, 1, 2, 1, 0, 0, 1, 0, 0, 0};
    const wxString meeting = wxString::FromUTF8("来週の打ち合わせについて");
    for (long row = 0; row < list.GetItemCount(); ++row) {
        SCOPED_TRACE(row);
        int index = messages[static_cast<std::size_t>(row)];
        EXPECT_EQ(list.MessageOfRow(row), index);
        EXPECT_EQ(list.RowOfMessage(index), row);
        std::vector<std::string> fields;
        ASSERT_TRUE(doc.GetListRow(index, fields));
        int depth = depths[static_cast<std::size_t>(row)];
        wxString prefix = depth == 0 ? wxString() : wxString(' ', 2 * (depth - 1)) + L"\u2514";
        EXPECT_EQ(list.GetItemText(row, 0), prefix + FromCp932(fields[2]));
        EXPECT_EQ(list.GetItemText(row, 1), FromCp932(fields[1]));
        EXPECT_EQ(list.GetItemText(row, 2), FromCp932(fields[0]));
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE);
        ASSERT_TRUE(list.GetItem(item));
        EXPECT_EQ(item.GetImage(), index == 6 || index == 7 ? 0 : 1);
    }
    EXPECT_EQ(list.GetItemText(3, 0), L"\u2514Re: " + meeting);
    EXPECT_EQ(list.GetItemText(4, 0), L"  \u2514Re: " + meeting);
    EXPECT_EQ(list.GetItemText(2, 0), meeting);

    ASSERT_EQ(list.GetColumnCount(), 3);
    const char* titles[] = {"題名", "差出人", "送信日時"};
    const int widths[] = {300, 150, 120};
    for (int column = 0; column < 3; ++column) {
        wxListItem header;
        header.SetMask(wxLIST_MASK_TEXT);
        ASSERT_TRUE(list.GetColumn(column, header));
        EXPECT_EQ(header.GetText(), wxString::FromUTF8(titles[column]));
        EXPECT_EQ(list.GetColumnWidth(column), widths[column]);
    }
    EXPECT_EQ(list.GetImageList(wxIMAGE_LIST_SMALL), run->Frame().GetListImages());
}

TEST_F(ThreadViewTest, RowZeroIsCurrentAfterEveryBuild) {
    auto run = Start({SamplePath()});
    CEKThreadView& list = run->ThreadView();
    EXPECT_EQ(run->Doc().m_nCurrent, 0);
    EXPECT_EQ(list.GetItemState(0, kSelectedFocused), kSelectedFocused);

    list.SetItemState(5, kSelectedFocused, kSelectedFocused);
    RunPending();
    EXPECT_EQ(run->Doc().m_nCurrent, list.MessageOfRow(5));

    // A second file: the subject list reads it before the thread list is rebuilt.
    std::string second = dir.File("second.mbx");
    WriteFile(second, ChainMailbox(30, 10));
    ASSERT_TRUE(run->App().OpenDocumentFile(second));
    RunPending();
    ASSERT_EQ(list.GetItemCount(), 30);
    EXPECT_EQ(list.GetItemText(1, 0), L"\u2514s1");
    EXPECT_EQ(list.GetItemText(2, 0), L"  \u2514s2");
    EXPECT_EQ(list.GetItemText(10, 0), L"s10");
    EXPECT_EQ(run->Doc().m_nCurrent, 0);
    EXPECT_EQ(list.GetItemState(0, kSelectedFocused), kSelectedFocused);
    EXPECT_EQ(list.GetItemState(5, kSelectedFocused), 0);
}

TEST_F(ThreadViewTest, AnEmptyDocumentLeavesTheListEmptyAnUntitledOneKeepsItsMessages) {
    auto empty = Start({});
    EXPECT_EQ(empty->ThreadView().GetItemCount(), 0);
    EXPECT_EQ(empty->ThreadView().GetColumnCount(), 3);
    EXPECT_FALSE(empty->ThreadView().CanGoNext());
    EXPECT_FALSE(empty->ThreadView().CanGoPrev());
    empty->Close();

    // A new document keeps the last file's messages in memory, and the list is
    // built from them.
    auto run = Start({SamplePath()});
    run->Frame().ExecuteCommand(ID_FILE_NEW);
    RunPending();
    EXPECT_EQ(run->Doc().GetMessageCount(), 12);
    EXPECT_EQ(run->ThreadView().GetItemCount(), 12);
    EXPECT_EQ(run->Doc().m_nCurrent, 0);
}

TEST_F(ThreadViewTest, StepsThroughTheRowsInThreadOrder) {
    auto run = Start({SamplePath()});
    CEKThreadView& list = run->ThreadView();
    CEKViewDoc& doc = run->Doc();
    EXPECT_FALSE(list.CanGoPrev());
    EXPECT_TRUE(list.CanGoNext());

    std::vector<int> visited = {doc.m_nCurrent};
    while (list.CanGoNext()) {
        list.GoNext();
        visited.push_back(doc.m_nCurrent);
        EXPECT_EQ(list.GetItemState(list.RowOfMessage(doc.m_nCurrent), kSelectedFocused),
                  kSelectedFocused);
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 10, 8, 9, 11}));
    EXPECT_TRUE(list.CanGoPrev());
    list.GoPrev();
    EXPECT_EQ(doc.m_nCurrent, 9);

    // Without a current message the first row is next and nothing is before it.
    doc.m_nCurrent = -1;
    EXPECT_TRUE(list.CanGoNext());
    EXPECT_FALSE(list.CanGoPrev());
    list.GoNext();
    EXPECT_EQ(doc.m_nCurrent, 0);
}

TEST_F(ThreadViewTest, SwitchingListsKeepsTheCurrentMessageSelectedAndVisible) {
    std::string mailbox = dir.File("chains.mbx");
    WriteFile(mailbox, ChainMailbox(400, 7));
    auto run = Start({mailbox});
    CMainFrame& frame = run->Frame();
    CEKThreadView& list = run->ThreadView();
    frame.GetTitleView()->SetItemState(351, kSelectedFocused, kSelectedFocused);
    RunPending();
    ASSERT_EQ(run->Doc().m_nCurrent, 351);

    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_THREAD));
    RunPending();
    ASSERT_TRUE(list.IsShown());
    EXPECT_EQ(run->Doc().m_nCurrent, 351);
    long row = list.RowOfMessage(351);
    EXPECT_EQ(list.GetItemState(row, kSelectedFocused), kSelectedFocused);
    EXPECT_GE(row, list.GetTopItem());
    EXPECT_LT(row, list.GetTopItem() + list.GetCountPerPage());

    // N steps in thread order; T back shows the same message in the subject list.
    ASSERT_TRUE(frame.ExecuteCommand(ID_MAIL_NEXT));
    EXPECT_EQ(run->Doc().m_nCurrent, list.MessageOfRow(row + 1));
    int current = run->Doc().m_nCurrent;
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_THREAD));
    RunPending();
    EXPECT_EQ(run->Doc().m_nCurrent, current);
    EXPECT_EQ(frame.GetTitleView()->GetItemState(current, kSelectedFocused), kSelectedFocused);
}

TEST_F(ThreadViewTest, EnterAndDoubleClickOnARowOpenTheMessage) {
    auto run = Start({SamplePath()});
    CMainFrame& frame = run->Frame();
    CEKThreadView& list = run->ThreadView();
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_THREAD));
    list.SetItemState(8, kSelectedFocused, kSelectedFocused);
    RunPending();
    ASSERT_EQ(run->Doc().m_nCurrent, 10);

    PressEnter(list);
    EXPECT_TRUE(frame.IsListShown()) << "the command is posted, not run at once";
    RunPending();
    EXPECT_FALSE(frame.IsListShown());
    EXPECT_EQ(run->Content()->shown, std::vector<int>{10});

    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
    ASSERT_TRUE(list.IsShown());
    EXPECT_EQ(list.GetItemState(8, kSelectedFocused), kSelectedFocused);
    wxRect rect;
    ASSERT_TRUE(list.GetItemRect(3, rect));
    DoubleClick(list, rect.GetPosition() + wxPoint(20, rect.height / 2));
    RunPending();
    EXPECT_FALSE(frame.IsListShown());
    EXPECT_EQ(run->Content()->shown, (std::vector<int>{10, 3}));

    // Below the last row a double click opens nothing; Enter opens nothing while
    // the current row is neither selected nor focused.
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
    ASSERT_TRUE(list.GetItemRect(11, rect));
    DoubleClick(list, wxPoint(20, rect.GetBottom() + 3 * rect.height));
    RunPending();
    EXPECT_TRUE(frame.IsListShown());
    list.SetItemState(list.RowOfMessage(run->Doc().m_nCurrent), 0, kSelectedFocused);
    PressEnter(list);
    RunPending();
    EXPECT_TRUE(frame.IsListShown());
    EXPECT_EQ(run->Content()->shown.size(), 2u);
}

TEST_F(ThreadViewTest, ColumnWidthsAndFontComeFromAndGoToTheProfile) {
    {
        auto run = Start({SamplePath()});
        run->Close();
    }
    std::string conf = ReadFile(Profile());
    EXPECT_NE(conf.find("THFont=100:ＭＳ 明朝"), std::string::npos) << conf;
    EXPECT_NE(conf.find("LVH2=300:150:120"), std::string::npos) << conf;

    WriteFile(Profile(), "[Settings]\nTHFont=120:\nLVH2=250\n");
    {
        auto run = Start({SamplePath()});
        CEKThreadView& list = run->ThreadView();
        EXPECT_EQ(list.GetFontSize(), 120);
        EXPECT_EQ(list.GetFaceName(), "ＭＳ 明朝");
        EXPECT_EQ(list.GetFont().GetFractionalPointSize(), 12.0);
        EXPECT_EQ(list.GetColumnWidth(0), 250);
        EXPECT_EQ(list.GetColumnWidth(1), 150);
        EXPECT_EQ(list.GetColumnWidth(2), 120);
        list.SetColumnWidth(2, 99);

        // The font command reaches the list while it is shown.
        FontAnswer fonts;
        ScopedCommonDialogsUi scope(fonts);
        ASSERT_TRUE(run->Frame().ExecuteCommand(ID_VIEW_THREAD));
        ASSERT_TRUE(run->Frame().ExecuteCommand(ID_VIEW_FONT));
        EXPECT_EQ(fonts.asked, 1);
        EXPECT_EQ(fonts.initialSize, 12.0);
        EXPECT_EQ(list.GetFontSize(), 120) << "Cancel changes nothing";
        fonts.answer = wxFont(wxFontInfo(14.5).FaceName("IPAGothic").Bold());
        ASSERT_TRUE(run->Frame().ExecuteCommand(ID_VIEW_FONT));
        EXPECT_EQ(list.GetFontSize(), 145);
        EXPECT_EQ(list.GetFaceName(), "IPAGothic");
        EXPECT_EQ(list.GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    }
    WxProfileStore profile(Profile());
    EXPECT_EQ(profile.GetProfileString("Settings", "LVH2", ""), "250:150:99");
    EXPECT_EQ(profile.GetProfileString("Settings", "THFont", ""), "145:IPAGothic");
}

}  // namespace
}  // namespace ek::test
