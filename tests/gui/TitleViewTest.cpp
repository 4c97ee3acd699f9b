#include <wx/dcclient.h>
#include <wx/listctrl.h>

#include "GuiTestSupport.h"
#include "gui/platform/WxText.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

using TitleViewTest = ProgramTest;

TEST_F(TitleViewTest, OpeningTheSampleListsEveryMessageWithRowZeroCurrent) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
    EXPECT_TRUE(run->Boxes().texts.empty()) << run->Boxes().texts.front();
    CEKTitleView& list = *run->Frame().GetTitleView();
    CEKViewDoc& doc = run->Doc();
    ASSERT_GT(doc.GetMessageCount(), 1);
    EXPECT_EQ(list.GetItemCount(), doc.GetMessageCount());
    EXPECT_EQ(doc.m_nCurrent, 0);
    EXPECT_EQ(list.GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);

    // Columns: subject, sender, date; the paper clip marks multipart messages.
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnWidth(0), 300);
    EXPECT_EQ(list.GetColumnWidth(1), 150);
    EXPECT_EQ(list.GetColumnWidth(2), 120);
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    ASSERT_TRUE(list.GetColumn(1, header));
    EXPECT_EQ(header.GetText(), wxString::FromUTF8("差出人"));
    int clipped = 0;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        SCOPED_TRACE(i);
        std::vector<std::string> row;
        ASSERT_TRUE(doc.GetListRow(i, row));
        EXPECT_EQ(list.GetItemText(i, 0), FromCp932(row[2]));
        EXPECT_EQ(list.GetItemText(i, 1), FromCp932(row[1]));
        EXPECT_EQ(list.GetItemText(i, 2), FromCp932(row[0]));
        wxListItem item;
        item.SetId(i);
        item.SetMask(wxLIST_MASK_IMAGE);
        ASSERT_TRUE(list.GetItem(item));
        bool multipart = !doc.GetBoundary(i).empty();
        EXPECT_EQ(item.GetImage(), multipart ? 0 : 1);
        clipped += multipart ? 1 : 0;
    }
    EXPECT_GT(clipped, 0) << "the sample should hold a multipart message";
    wxImageList* images = list.GetImageList(wxIMAGE_LIST_SMALL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->GetImageCount(), 2);
    EXPECT_EQ(images->GetSize(), wxSize(5, 11));
}

TEST_F(TitleViewTest, SelectingARowMakesItsMessageCurrent) {
    auto run = Start({SamplePath()});
    CEKTitleView& list = *run->Frame().GetTitleView();
    list.SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                      wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    RunPending();
    EXPECT_EQ(run->Doc().m_nCurrent, 2);
    EXPECT_TRUE(list.CanGoPrev());
    list.GoNext();
    EXPECT_EQ(run->Doc().m_nCurrent, 3);
}

TEST_F(TitleViewTest, AFileThatIsNotAMailboxShowsTheMessageAndAnEmptyList) {
    std::string notMail = dir.File("notes.txt");
    WriteFile(notMail, "just some text\nFrom - not a start line\n");
    auto run = Start({notMail});
    ASSERT_TRUE(run->Started()) << "a file that opens starts the program";
    ASSERT_EQ(run->Boxes().texts.size(), 1u);
    EXPECT_EQ(run->Boxes().texts[0], "EK-Mailメールファイルではありません");
    EXPECT_EQ(run->Boxes().icons[0], MessageIcon::Stop);
    EXPECT_EQ(run->Frame().GetTitleView()->GetItemCount(), 0);
    EXPECT_EQ(run->Frame().GetTitleView()->GetColumnCount(), 3);
    EXPECT_FALSE(run->Frame().QueryCommand(ID_VIEW_CONTENT).IsEnabled());
}

TEST_F(TitleViewTest, ActivatingTheCurrentRowPostsViewContent) {
    auto run = Start({SamplePath()});
    CMainFrame& frame = run->Frame();
    CEKTitleView& list = *frame.GetTitleView();
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, list.GetId());
    activate.SetEventObject(&list);
    activate.SetIndex(0);
    list.GetEventHandler()->ProcessEvent(activate);
    EXPECT_TRUE(frame.IsListShown()) << "the command is posted, not run at once";
    RunPending();
    EXPECT_FALSE(frame.IsListShown());
    ASSERT_NE(run->Content(), nullptr);
    EXPECT_EQ(run->Content()->shown, std::vector<int>{0});

    // Back on the list with no row selected or focused, Enter does nothing.
    frame.ExecuteCommand(ID_VIEW_CONTENT);
    ASSERT_TRUE(frame.IsListShown());
    list.SetItemState(0, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list.GetEventHandler()->ProcessEvent(activate);
    RunPending();
    EXPECT_TRUE(frame.IsListShown());
}

TEST_F(TitleViewTest, FontAndColumnWidthsComeFromTheProfile) {
    {
        auto run = Start({});
        run->Close();
    }
    std::string conf = ReadFile(Profile());
    EXPECT_NE(conf.find("TFont=100:ＭＳ 明朝"), std::string::npos) << conf;
    EXPECT_NE(conf.find("LVH=300:150:120"), std::string::npos) << conf;

    WriteFile(Profile(), "[Settings]\nTFont=120:IPAGothic\nLVH=200\n");
    auto run = Start({SamplePath()});
    CEKTitleView& list = *run->Frame().GetTitleView();
    EXPECT_EQ(list.GetFontSize(), 120);
    EXPECT_EQ(list.GetFaceName(), "IPAGothic");
    EXPECT_EQ(list.GetFont().GetFractionalPointSize(), 12.0);
    EXPECT_EQ(list.GetColumnWidth(0), 200);
    EXPECT_EQ(list.GetColumnWidth(1), 150);
    EXPECT_EQ(list.GetColumnWidth(2), 120);
    list.SetColumnWidth(1, 99);
    list.SetListFont(90, "ＭＳ 明朝");
    run->Close();
    conf = ReadFile(Profile());
    EXPECT_NE(conf.find("TFont=90:ＭＳ 明朝"), std::string::npos) << conf;
    EXPECT_NE(conf.find("LVH=200:99:120"), std::string::npos) << conf;
}

TEST_F(TitleViewTest, TheDefaultFaceStandsInWithAJapaneseFace) {
    auto run = Start({});
    CEKTitleView& list = *run->Frame().GetTitleView();
    EXPECT_EQ(list.GetFaceName(), "ＭＳ 明朝");
    wxString actual = list.GetFont().GetFaceName();
    EXPECT_TRUE(actual == wxString::FromUTF8("ＭＳ 明朝") || actual.Contains("IPA") ||
                actual.Contains("Noto"))
        << actual.utf8_str().data();
    // Japanese rows are as tall as Latin ones: one font serves both.
    wxClientDC dc(&list);
    dc.SetFont(list.GetFont());
    EXPECT_EQ(dc.GetTextExtent(wxString::FromUTF8("題名")).y, dc.GetTextExtent("Title").y);
}

TEST_F(TitleViewTest, ASecondOpenReplacesTheRowsAndKeepsTheColumns) {
    auto run = Start({SamplePath()});
    CEKTitleView& list = *run->Frame().GetTitleView();
    list.SetColumnWidth(0, 222);
    std::string one = dir.File("one.mbx");
    WriteFile(one,
              "From - Sun Jan 02 15:04:05 2000\nX-EKMail-Status: 0001\n"
              "Subject: only\nFrom: a@example.com\nDate: Sun, 2 Jan 2000 15:04:05 +0900\n\nbody\n");
    ASSERT_TRUE(run->App().OpenDocumentFile(one));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), "only");
    EXPECT_EQ(list.GetColumnWidth(0), 222);
    EXPECT_EQ(run->Frame().GetTitle(), "one.mbx - EKView");
}

}  // namespace
}  // namespace ek::test
