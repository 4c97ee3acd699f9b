// The message text pane: one message of the mailbox as read-only text in a rich
// text control, with web addresses, mail addresses and quoted lines coloured,
// header names bold and the attachment note grey; the reading keys, copying, the
// header switch and the text font.
#pragma once

#include <wx/font.h>
#include <wx/panel.h>

#include <string>
#include <vector>

#include "frame/Panes.h"
#include "views/StyleRuns.h"

class wxKeyEvent;
class wxSizeEvent;
class wxTextCtrl;

namespace ek {

class CMainFrame;

class CEKContentView : public wxPanel, public CContentPane {
  public:
    static constexpr int kTextCtrlId = 101;
    // The control covers the pane but for this margin, which shows the pane.
    static constexpr int kMargin = 3;
    // Longer messages are formatted under the progress dialog.
    static constexpr std::size_t kProgressLines = 300;

    // Reads "CFont", "Header" and "Decode" from the profile.
    CEKContentView(CMainFrame& frame, wxWindow* parent);
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
    bool IsDecoded() const override { return m_bDecode != 0; }
    // Re-shows the current message in the chosen view.
    void SetDecoded(bool decoded) override;

    wxTextCtrl* GetTextCtrl() const { return m_wndText; }
    bool IsAllHeaders() const { return m_bAllHeaders != 0; }
    // The text font as the profile keeps it: height in twips and face name.
    int GetFontHeight() const { return m_cf.yHeight; }
    const std::string& GetFaceName() const { return m_cf.szFaceName; }
    const wxFont& GetTextFont() const { return m_font; }

    // The first line at the top of the control.
    long GetFirstVisibleLine() const;

  private:
    struct CharFormat {
        std::string szFaceName;  // UTF-8
        int yHeight = 0;         // twips
    };

    CEKViewDoc& Doc() const;
    void UseFont();
    // Sets every run's colour and weight, from the last run to the first: GTK's
    // cost of a style grows with the text before it.
    void ApplyRuns();
    void ScrollToStart();
    void ScrollOneLine(int direction);
    void PageDown();
    void OnFont();
    void SaveSettings();

    void OnSize(wxSizeEvent& event);
    void OnTextKeyDown(wxKeyEvent& event);
    void OnTextChar(wxKeyEvent& event);

    CMainFrame& m_frame;
    settings::ColorRef m_clrQuote = 0;
    settings::ColorRef m_clrMail = 0;
    settings::ColorRef m_clrUrl = 0;
    std::string m_strQuote;  // UTF-8, as the profile holds it
    int m_bAllHeaders = 1;
    int m_bDecode = 0;
    CharFormat m_cf;
    wxTextCtrl* m_wndText = nullptr;

    wxFont m_font;
    wxFont m_boldFont;
    // The runs of the text on display, in character positions, for a font change.
    std::vector<StyleRun> m_runs;
};

// The maker that CMainFrame::CreatePanes calls for the text pane.
CContentPane* CreateContentView(CMainFrame& frame, wxWindow* parent);

}  // namespace ek
