// The colour and quote dialog (resource 130): the quote marks in an edit field and
// three colour swatches, for quoted lines, mail addresses and URLs. A swatch opens
// the system colour dialog; the values reach the caller only on OK.
#pragma once

#include <wx/control.h>
#include <wx/dialog.h>

#include <string>

#include "shell/ColorCommand.h"

class wxTextCtrl;

namespace ek {

class CMainFrame;

inline constexpr int IDD_QUOTECOLOR = 130;
inline constexpr int IDC_QUOTE_EDIT = 1002;
inline constexpr int IDC_QUOTE_COLOR = 1003;
inline constexpr int IDC_MAIL_COLOR = 1004;
inline constexpr int IDC_URL_COLOR = 1005;

// An owner-drawn push button that shows a colour: a button frame, pushed in while
// pressed, the colour 4 pixels inside it and a focus rectangle 2 pixels inside.
// A click, or Space, sends wxEVT_BUTTON with its id.
class CColorSwatch : public wxControl {
  public:
    CColorSwatch(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                 const settings::ColorRef& color);

    bool IsPressed() const { return m_bPressed; }
    bool IsFocused() const { return m_bFocused; }

  private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void SetPressed(bool pressed);
    void Click();

    const settings::ColorRef& m_color;
    bool m_bPressed = false;
    bool m_bFocused = false;
};

class CQuoteColorDlg : public wxDialog {
  public:
    explicit CQuoteColorDlg(wxWindow* parent = nullptr);

    // Between the members and the edit field, as the dialog starts and on OK.
    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Opens the colour dialog for a swatch; a chosen colour replaces the swatch's.
    void OnPickQuoteColor() { PickColor(m_clrQuote); }
    void OnPickMailColor() { PickColor(m_clrMail); }
    void OnPickUrlColor() { PickColor(m_clrUrl); }

    wxTextCtrl* GetQuoteEdit() const { return m_edit; }

    settings::ColorRef m_clrUrl = 0;
    settings::ColorRef m_clrMail = 0;
    settings::ColorRef m_clrQuote = 0;
    std::string m_strQuote;  // UTF-8

  private:
    void PickColor(settings::ColorRef& color);

    wxTextCtrl* m_edit = nullptr;
};

// The dialog as RunColorCommand runs it: modal over `parent`.
class WxQuoteColorDialogUi : public QuoteColorDialogUi {
  public:
    explicit WxQuoteColorDialogUi(wxWindow* parent) : m_parent(parent) {}
    bool DoModal(QuoteSettings& values) override;

  private:
    wxWindow* m_parent;
};

// The main frame's colour command (ID_VIEW_COLOR).
void OnColorCommand(CMainFrame& frame);

}  // namespace ek
