#include <wx/app.h>
#include <wx/button.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

#include "GuiTestSupport.h"
#include "gui/frame/QuoteColorDlg.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxProfileStore.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

const wxColour kRed(255, 0, 0);

// Answers the colour dialog with the next colour of a list (nothing: Cancel).
class ColourAnswers : public CommonDialogsUi {
  public:
    std::optional<wxFont> ChooseFont(wxWindow*, const wxFont&) override {
        ADD_FAILURE() << "the dialog asked for a font";
        return std::nullopt;
    }
    std::optional<wxColour> ChooseColour(wxWindow* parent, const wxColour& initial) override {
        EXPECT_NE(dynamic_cast<CQuoteColorDlg*>(parent), nullptr);
        initials.push_back(initial);
        if (answers.empty()) {
            ADD_FAILURE() << "an unexpected colour dialog";
            return std::nullopt;
        }
        std::optional<wxColour> answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<std::optional<wxColour>> answers;
    std::vector<wxColour> initials;
};

wxColour Gray() {
    return wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
}

settings::ColorRef Ref(const wxColour& colour) {
    return settings::MakeColor(colour.Red(), colour.Green(), colour.Blue());
}

CQuoteColorDlg* FindModalDialog() {
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<CQuoteColorDlg*>(window);
        if (dialog != nullptr && dialog->IsModal()) {
            return dialog;
        }
    }
    return nullptr;
}

// Runs `open`, which shows the dialog modally; `drive` acts on it from inside its
// modal loop and must end it. A dialog left open is cancelled, as a failure.
void DriveDialog(const std::function<void()>& open,
                 const std::function<void(CQuoteColorDlg&)>& drive) {
    bool driven = false;
    wxTheApp->CallAfter([&] {
        CQuoteColorDlg* dialog = FindModalDialog();
        ASSERT_NE(dialog, nullptr) << "no modal colour dialog";
        driven = true;
        drive(*dialog);
        if (dialog->IsModal()) {
            ADD_FAILURE() << "the dialog was left open";
            dialog->EndModal(wxID_CANCEL);
        }
    });
    open();
    EXPECT_TRUE(driven);
}

void Click(CQuoteColorDlg& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

void PressSpace(CColorSwatch& swatch, bool& pressedBetween) {
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = WXK_SPACE;
    swatch.ProcessWindowEvent(down);
    pressedBetween = swatch.IsPressed();
    wxKeyEvent up(wxEVT_KEY_UP);
    up.m_keyCode = WXK_SPACE;
    swatch.ProcessWindowEvent(up);
}

void ClickWithMouse(CColorSwatch& swatch) {
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent mouse(type);
        mouse.SetPosition(wxPoint(6, 6));
        swatch.ProcessWindowEvent(mouse);
    }
}

CColorSwatch& Swatch(CQuoteColorDlg& dialog, int id) {
    return *dynamic_cast<CColorSwatch*>(dialog.FindWindow(id));
}

class QuoteColorDlgTest : public ProgramTest {
  protected:
    ColourAnswers colours;
    ScopedCommonDialogsUi scope{colours};
};

TEST_F(QuoteColorDlgTest, HasTheTextsAndControlsOfItsLayout) {
    CQuoteColorDlg dialog;
    EXPECT_EQ(dialog.GetId(), IDD_QUOTECOLOR);
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("引用符"));
    std::vector<wxString> labels;
    wxRect client(dialog.GetClientSize());
    for (wxWindow* child : dialog.GetChildren()) {
        SCOPED_TRACE(child->GetLabel().utf8_string());
        EXPECT_TRUE(client.Contains(child->GetRect())) << "cut off by the dialog's edge";
        if (dynamic_cast<wxStaticText*>(child) != nullptr) {
            labels.push_back(child->GetLabel());
        }
    }
    EXPECT_EQ(labels,
              (std::vector<wxString>{
                  wxString::FromUTF8("引用符を入力してください（複数指定はスペース区切り）"),
                  wxString::FromUTF8("メールアドレスの色"), wxString::FromUTF8("ＵＲＬの色")}));
    for (int id : {IDC_QUOTE_COLOR, IDC_MAIL_COLOR, IDC_URL_COLOR}) {
        EXPECT_NE(dynamic_cast<CColorSwatch*>(dialog.FindWindow(id)), nullptr) << id;
    }
    EXPECT_NE(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(IDC_QUOTE_EDIT)), nullptr);
    auto* ok = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
    auto* cancel = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->GetLabel(), "OK");
    EXPECT_EQ(cancel->GetLabel(), wxString::FromUTF8("ｷｬﾝｾﾙ"));
    EXPECT_EQ(dialog.GetDefaultItem(), ok);
    // The labels stand above their swatches, side by side; Cancel left of OK.
    wxWindow* mail = dialog.FindWindow(IDC_MAIL_COLOR);
    wxWindow* url = dialog.FindWindow(IDC_URL_COLOR);
    EXPECT_LT(mail->GetPosition().x, url->GetPosition().x);
    EXPECT_LT(cancel->GetPosition().x, ok->GetPosition().x);
    EXPECT_GT(ok->GetPosition().y, mail->GetRect().GetBottom());
}

TEST_F(QuoteColorDlgTest, OkStoresTheValuesAndHandsThemToTheTextPane) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
    CMainFrame& frame = run->Frame();
    ASSERT_TRUE(frame.ExecuteCommand(ID_VIEW_CONTENT));
    ASSERT_EQ(run->Content()->shown, std::vector<int>{0});

    colours.answers = {kRed, std::nullopt};
    DriveDialog([&] { EXPECT_TRUE(frame.ExecuteCommand(ID_VIEW_COLOR)); },
                [&](CQuoteColorDlg& dialog) {
                    EXPECT_EQ(dialog.GetQuoteEdit()->GetValue(), "");
                    EXPECT_EQ(dialog.m_clrQuote, Ref(Gray()));
                    EXPECT_EQ(dialog.m_clrMail, Ref(Gray()));
                    EXPECT_EQ(dialog.m_clrUrl, Ref(Gray()));
                    dialog.GetQuoteEdit()->ChangeValue(wxString::FromUTF8(" > ｜ "));
                    bool pressed = false;
                    PressSpace(Swatch(dialog, IDC_QUOTE_COLOR), pressed);
                    EXPECT_TRUE(pressed) << "Space draws the swatch pushed in";
                    EXPECT_FALSE(Swatch(dialog, IDC_QUOTE_COLOR).IsPressed());
                    EXPECT_EQ(dialog.m_clrQuote, Ref(kRed));
                    ClickWithMouse(Swatch(dialog, IDC_URL_COLOR));
                    EXPECT_EQ(dialog.m_clrUrl, Ref(Gray())) << "a cancelled picker";
                    Click(dialog, wxID_OK);
                });
    EXPECT_EQ(colours.initials, (std::vector<wxColour>{Gray(), Gray()}));

    QuoteSettings handed = run->Content()->quote;
    EXPECT_EQ(handed.quote, " > ｜ ");
    EXPECT_EQ(handed.quoteColor, Ref(kRed));
    EXPECT_EQ(handed.httpColor, Ref(Gray()));
    EXPECT_EQ(run->Content()->shown, (std::vector<int>{0, 0})) << "shown again";
    ProfileStore& profile = run->App().GetProfile();
    EXPECT_EQ(profile.GetProfileString("Settings", "Quote", "?"), " > ｜ ");
    EXPECT_EQ(profile.GetProfileInt("Settings", "QuoteClr", 0), static_cast<int>(Ref(kRed)));
    EXPECT_EQ(profile.GetProfileInt("Settings", "MailClr", 0), static_cast<int>(Ref(Gray())));
    // Already in the file: a session ended without a clean exit keeps them.
    const WxProfileStore onDisk(Profile());
    EXPECT_EQ(onDisk.GetProfileString("Settings", "Quote", "?"), " > ｜ ");
    EXPECT_EQ(onDisk.GetProfileInt("Settings", "QuoteClr", 0), static_cast<int>(Ref(kRed)));

    // The next run starts the dialog from the stored values.
    run->Close();
    auto again = Start({SamplePath()});
    ASSERT_TRUE(again->Started());
    DriveDialog([&] { EXPECT_TRUE(again->Frame().ExecuteCommand(ID_VIEW_COLOR)); },
                [&](CQuoteColorDlg& dialog) {
                    EXPECT_EQ(dialog.GetQuoteEdit()->GetValue(), wxString::FromUTF8(" > ｜ "));
                    EXPECT_EQ(dialog.m_clrQuote, Ref(kRed));
                    Click(dialog, wxID_CANCEL);
                });
    EXPECT_EQ(again->Content()->quote.quoteColor, Ref(kRed)) << "read at start-up";
}

TEST_F(QuoteColorDlgTest, CancelLeavesTheProfileAndTheTextPaneAlone) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
    CMainFrame& frame = run->Frame();
    QuoteSettings before = run->Content()->quote;
    colours.answers = {kRed};
    DriveDialog([&] { EXPECT_TRUE(frame.ExecuteCommand(ID_VIEW_COLOR)); },
                [&](CQuoteColorDlg& dialog) {
                    dialog.GetQuoteEdit()->ChangeValue(">");
                    ClickWithMouse(Swatch(dialog, IDC_MAIL_COLOR));
                    EXPECT_EQ(dialog.m_clrMail, Ref(kRed));
                    Click(dialog, wxID_CANCEL);
                });
    EXPECT_EQ(run->Content()->quote.quote, before.quote);
    EXPECT_EQ(run->Content()->quote.mailColor, before.mailColor);
    EXPECT_TRUE(run->Content()->shown.empty());
    EXPECT_EQ(run->App().GetProfile().GetProfileString("Settings", "Quote", "absent"), "absent");

    DriveDialog([&] { EXPECT_TRUE(frame.ExecuteCommand(ID_VIEW_COLOR)); },
                [&](CQuoteColorDlg& dialog) {
                    EXPECT_EQ(dialog.GetQuoteEdit()->GetValue(), "");
                    EXPECT_EQ(dialog.m_clrMail, Ref(Gray()));
                    Click(dialog, wxID_CANCEL);
                });
}

}  // namespace
}  // namespace ek::test
