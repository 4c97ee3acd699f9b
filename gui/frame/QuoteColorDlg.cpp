#include "gui/frame/QuoteColorDlg.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "gui/frame/MainFrame.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxColour.h"
#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "shell/Strings.h"

namespace ek {

namespace {

constexpr const char* kCaption = "引用符";
constexpr const char* kQuotePrompt = "引用符を入力してください（複数指定はスペース区切り）";
constexpr const char* kMailLabel = "メールアドレスの色";
constexpr const char* kUrlLabel = "ＵＲＬの色";

}  // namespace

CColorSwatch::CColorSwatch(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                           const settings::ColorRef& color)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxTAB_TRAVERSAL), m_color(color) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CColorSwatch::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CColorSwatch::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CColorSwatch::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CColorSwatch::OnLeftUp, this);
    Bind(wxEVT_KEY_DOWN, &CColorSwatch::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &CColorSwatch::OnKeyUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { SetPressed(false); });
    // Tracked from the events: HasFocus() is false while the toplevel is not active.
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        m_bFocused = true;
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        m_bFocused = false;
        SetPressed(false);
        Refresh();
        event.Skip();
    });
}

void CColorSwatch::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxRect rect = GetClientRect();
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    wxRendererNative& renderer = wxRendererNative::Get();
    renderer.DrawPushButton(this, dc, rect, m_bPressed ? int{wxCONTROL_PRESSED} : 0);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    dc.SetBrush(wxBrush(ToColour(m_color)));
    dc.DrawRectangle(wxRect(rect).Deflate(4));
    if (m_bFocused) {
        // Drawn by hand: the renderers' focus outlines can come out invisible here.
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT), 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxRect(rect).Deflate(2));
    }
}

void CColorSwatch::SetPressed(bool pressed) {
    if (m_bPressed != pressed) {
        m_bPressed = pressed;
        Refresh();
    }
}

void CColorSwatch::Click() {
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

void CColorSwatch::OnLeftDown(wxMouseEvent&) {
    SetFocus();
    if (!HasCapture()) {
        CaptureMouse();
    }
    SetPressed(true);
}

void CColorSwatch::OnLeftUp(wxMouseEvent& event) {
    if (HasCapture()) {
        ReleaseMouse();
    }
    bool wasPressed = m_bPressed;
    SetPressed(false);
    if (wasPressed && GetClientRect().Contains(event.GetPosition())) {
        Click();
    }
}

void CColorSwatch::OnKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && !event.HasAnyModifiers()) {
        SetPressed(true);
        return;
    }
    event.Skip();
}

void CColorSwatch::OnKeyUp(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && m_bPressed) {
        SetPressed(false);
        Click();
        return;
    }
    event.Skip();
}

// Dialog resource 130: 187 x 113 dialog units, "ＭＳ Ｐゴシック" 9 points. The
// labels are sized to their texts, and the dialog widens when a stand-in face
// makes them longer than the layout allowed.
CQuoteColorDlg::CQuoteColorDlg(wxWindow* parent)
    : wxDialog(parent, IDD_QUOTECOLOR, FromUtf8(kCaption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    SetFont(MakePointFont(90, str::kDialogFace));
    auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
    auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };

    new wxStaticText(this, wxID_STATIC, FromUtf8(kQuotePrompt), at(4, 4));
    m_edit = new wxTextCtrl(this, IDC_QUOTE_EDIT, wxString(), at(16, 16), size(140, 14));
    new CColorSwatch(this, IDC_QUOTE_COLOR, at(108, 34), size(50, 14), m_clrQuote);
    new wxStaticText(this, wxID_STATIC, FromUtf8(kMailLabel), at(6, 56));
    new wxStaticText(this, wxID_STATIC, FromUtf8(kUrlLabel), at(82, 56));
    new CColorSwatch(this, IDC_MAIL_COLOR, at(14, 68), size(50, 14), m_clrMail);
    new CColorSwatch(this, IDC_URL_COLOR, at(90, 68), size(50, 14), m_clrUrl);
    auto* ok = new wxButton(this, wxID_OK, FromUtf8(str::kOk), at(130, 94), size(50, 14));
    new wxButton(this, wxID_CANCEL, FromUtf8(str::kCancel), at(76, 94), size(50, 14));
    ok->SetDefault();

    wxSize client = size(187, 113);
    int margin = ConvertDialogToPixels(wxSize(4, 0)).x;
    for (wxWindow* child : GetChildren()) {
        client.x = std::max(client.x, child->GetRect().GetRight() + 1 + margin);
    }
    SetClientSize(client);

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnPickQuoteColor(); }, IDC_QUOTE_COLOR);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnPickMailColor(); }, IDC_MAIL_COLOR);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnPickUrlColor(); }, IDC_URL_COLOR);
    m_edit->SetFocus();
    CentreOnParent();
}

bool CQuoteColorDlg::TransferDataToWindow() {
    m_edit->ChangeValue(FromUtf8(m_strQuote));
    return true;
}

bool CQuoteColorDlg::TransferDataFromWindow() {
    m_strQuote = ToUtf8(m_edit->GetValue());
    return true;
}

void CQuoteColorDlg::PickColor(settings::ColorRef& color) {
    std::optional<wxColour> chosen = GetCommonDialogs().ChooseColour(this, ToColour(color));
    if (!chosen || !chosen->IsOk()) {
        return;
    }
    color = FromColour(*chosen);
    Refresh();
}

bool WxQuoteColorDialogUi::DoModal(QuoteSettings& values) {
    CQuoteColorDlg dialog(m_parent);
    dialog.m_strQuote = values.quote;
    dialog.m_clrQuote = values.quoteColor;
    dialog.m_clrMail = values.mailColor;
    dialog.m_clrUrl = values.httpColor;
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    values.quote = dialog.m_strQuote;
    values.quoteColor = dialog.m_clrQuote;
    values.mailColor = dialog.m_clrMail;
    values.httpColor = dialog.m_clrUrl;
    return true;
}

void OnColorCommand(CMainFrame& frame) {
    WxQuoteColorDialogUi dialog(&frame);
    ColorCommandTarget target;
    target.content = frame.GetContentView();
    target.contentShown = !frame.IsListShown();
    target.current = frame.GetDocManager().GetDocument().m_nCurrent;
    RunColorCommand(frame.GetProfile(),
                    FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)), dialog, target);
}

}  // namespace ek
