// The message text pane: one message of the mailbox as read-only text in a styled
// text control (Scintilla), with web addresses, mail addresses and quoted lines
// coloured, header names bold and the attachment note grey; the reading keys,
// copying, the header switch and the text font. The control styles only what it
// paints, so a long message costs what the screen shows.
#pragma once

#include <wx/font.h>
#include <wx/panel.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/views/ContentStyles.h"
#include "core/views/ContentText.h"
#include "shell/Panes.h"

class wxKeyEvent;
class wxPaintEvent;
class wxSizeEvent;
class wxStyledTextCtrl;
class wxStyledTextEvent;

namespace ek {

class CFindDlg;
class PaneHost;

class CEKContentView : public wxPanel, public CContentPane {
  public:
    static constexpr int kTextCtrlId = 101;
    // The control covers the pane but for this margin, which shows the pane.
    static constexpr int kMargin = 3;
    // Longer messages are formatted under the progress dialog.
    static constexpr std::size_t kProgressLines = 300;

    // Reads "CFont", "Header" and "Decode" from the profile.
    CEKContentView(PaneHost& host, wxWindow* parent);
    // Writes "CFont", "Header" and "Decode".
    ~CEKContentView() override;

    // The text changes only through ShowMessage.
    void OnInitialUpdate() override {}
    wxWindow* GetPaneWindow() override { return this; }

    // Shows message `index` with the header lines the switch asks for; without such
    // a message the text on display stays.
    void ShowMessage(int index) override;
    // Taken up at the next ShowMessage.
    void SetQuoteSettings(const QuoteSettings& settings) override;
    bool IsDecoded() const override { return m_bDecode; }
    // Re-shows the current message in the chosen view.
    void SetDecoded(bool decoded) override;

    wxStyledTextCtrl* GetTextCtrl() const { return m_wndText; }
    bool IsAllHeaders() const { return m_bAllHeaders != 0; }
    // The text font as the profile keeps it: height in twips and face name.
    int GetFontHeight() const { return m_cf.yHeight; }
    const std::string& GetFaceName() const { return m_cf.szFaceName; }
    const wxFont& GetTextFont() const { return m_font; }

    // The first line at the top of the control.
    long GetFirstVisibleLine() const;

    // Selects the next (or previous) match of `what` (UTF-8) and scrolls it into
    // view, wrapping at the end; the status bar tells a wrap or that there is none.
    bool FindInMessage(const std::string& what, bool forward);
    // The find window, once ID_EDIT_FIND has made it.
    CFindDlg* GetFindDialog() const { return m_findDlg; }

  private:
    struct CharFormat {
        std::string szFaceName;  // UTF-8
        int yHeight = 0;         // twips
    };

    CEKViewDoc& Doc() const;
    void SetUpControl();
    // What the control's document holds apart from the text: coding, styling, no undo.
    void SetUpDocument();
    // Replaces the text on display, unstyled.
    void PlaceText(std::string_view utf8);
    void UseFont();
    // The pane's font on every style, each with its weight.
    void ApplyFont();
    // Every style anew: the font, and each run kind's colour as the members hold it.
    void ApplyStyles();
    // Sets the styles of [from, to) from the runs.
    void StyleRange(std::size_t from, std::size_t to);
    void ScrollOneLine(int direction);
    void PageDown();
    void OnFont();
    void OpenFind();
    void SetStatus(const char* utf8);
    void SaveSettings();

    void OnSize(wxSizeEvent& event);
    void OnTextKeyDown(wxKeyEvent& event);
    void OnTextChar(wxKeyEvent& event);
    void OnStyleNeeded(wxStyledTextEvent& event);
    void OnTextPaint(wxPaintEvent& event);

    PaneHost& m_host;
    settings::ColorRef m_clrQuote = 0;
    settings::ColorRef m_clrMail = 0;
    settings::ColorRef m_clrUrl = 0;
    std::string m_strQuote;  // UTF-8, as the profile holds it
    int m_bAllHeaders = 1;
    bool m_bDecode = false;
    CharFormat m_cf;
    wxStyledTextCtrl* m_wndText = nullptr;

    wxFont m_font;
    // The text on display, which styles any stretch the control paints.
    ContentText m_text;
    // What the view jumped past without styling it.
    UnstyledRanges m_unstyled;
    // Owned by the frame, its parent; made at the first find.
    CFindDlg* m_findDlg = nullptr;
};

// The maker that CMainFrame::CreatePanes calls for the text pane.
CContentPane* CreateContentView(PaneHost& host, wxWindow* parent);

}  // namespace ek
