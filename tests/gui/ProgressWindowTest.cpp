#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include "GuiTestSupport.h"
#include "gui/frame/ProgressWindow.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

class ProgressWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EKVIEW_REQUIRE_DISPLAY();
        owner = new wxFrame(nullptr, wxID_ANY, "owner");
        owner->Show();
        RunPending();
    }
    void TearDown() override {
        if (owner != nullptr) {
            owner->Destroy();
            RunPending();
        }
    }

    wxString PercentText(wxDialog* dialog) {
        return static_cast<wxStaticText*>(dialog->FindWindow(IDC_PROGRESS_PERCENT))->GetLabel();
    }

    wxFrame* owner = nullptr;
    WxProgressUi ui{[this]() -> wxWindow* { return owner; }};
};

TEST_F(ProgressWindowTest, ShowsCaptionGaugeAndPercentWhileTheOwnerIsDisabled) {
    {
        CProgressDlg progress(&ui);
        ASSERT_TRUE(progress.Create());
        progress.SetWindowText("リスト作成中...");
        wxDialog* dialog = FindProgressDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WxProgressUi::IsAnyWindowUp());
        EXPECT_FALSE(owner->IsEnabled());
        EXPECT_EQ(dialog->GetTitle(), wxString::FromUTF8("リスト作成中..."));
        EXPECT_EQ(PercentText(dialog), " 0 %");
        auto* cancel = wxDynamicCast(dialog->FindWindow(wxID_CANCEL), wxButton);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->GetLabel(), wxString::FromUTF8("ｷｬﾝｾﾙ"));
        EXPECT_EQ(dialog->GetDefaultItem(), cancel);

        const std::pair<int, const char*> steps[] = {{0, "0%"}, {50, "50%"}, {100, "100%"}};
        for (const auto& [position, text] : steps) {
            SCOPED_TRACE(position);
            progress.SetPosition(position);
            EXPECT_EQ(PercentText(dialog), text);
            auto* gauge = wxDynamicCast(dialog->FindWindow(IDC_PROGRESS_BAR), wxGauge);
            ASSERT_NE(gauge, nullptr);
            EXPECT_EQ(gauge->GetValue(), position);
        }
    }
    RunPending();
    EXPECT_EQ(FindProgressDialog(), nullptr);
    EXPECT_FALSE(WxProgressUi::IsAnyWindowUp());
    EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(ProgressWindowTest, CancelEnterEscapeAndTheCloseBoxRequestCancel) {
    CProgressDlg progress(&ui);
    ASSERT_TRUE(progress.Create());
    wxDialog* dialog = FindProgressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(progress.CheckCancel());

    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
    click.SetEventObject(dialog->FindWindow(wxID_CANCEL));
    dialog->GetEventHandler()->ProcessEvent(click);
    EXPECT_TRUE(progress.CheckCancel());
    EXPECT_FALSE(progress.CheckCancel()) << "a request is answered once";

    for (int key : {WXK_RETURN, WXK_ESCAPE}) {
        SCOPED_TRACE(key);
        wxKeyEvent press(wxEVT_CHAR_HOOK);
        press.m_keyCode = key;
        press.SetEventObject(dialog);
        dialog->GetEventHandler()->ProcessEvent(press);
        EXPECT_TRUE(progress.CheckCancel());
    }

    EXPECT_FALSE(dialog->Close());
    EXPECT_TRUE(progress.CheckCancel());
    EXPECT_TRUE(dialog->IsShown()) << "the dialog stays until the operation ends";
    EXPECT_FALSE(owner->IsEnabled());
}

TEST_F(ProgressWindowTest, WorksWithoutAnOwner) {
    owner->Destroy();
    owner = nullptr;
    RunPending();
    CProgressDlg progress(&ui);
    ASSERT_TRUE(progress.Create());
    progress.SetPosition(10);
    EXPECT_NE(FindProgressDialog(), nullptr);
}

TEST_F(ProgressWindowTest, PostedEventsRunDuringTheWorkButNotNested) {
    int ran = 0;
    int nested = 0;
    owner->Bind(wxEVT_MENU, [&](wxCommandEvent&) {
        ++ran;
        // A handler run from the pump cannot pump again.
        DispatchPendingEvents();
        ++nested;
    });
    CProgressDlg progress(&ui);
    ASSERT_TRUE(progress.Create());
    wxQueueEvent(owner, new wxCommandEvent(wxEVT_MENU, 1));
    wxQueueEvent(owner, new wxCommandEvent(wxEVT_MENU, 2));
    DispatchPendingEvents();
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(nested, 2);
}

}  // namespace
}  // namespace ek::test
