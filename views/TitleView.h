// The subject list: one row per message of the document (subject, sender, date, the
// paper clip on multipart messages). Its initial update reads the opened mailbox.
// Rows are made on demand from the document, so a large mailbox lists at once.
#pragma once

#include <wx/listctrl.h>

#include <array>
#include <string>

#include "frame/Panes.h"

namespace ek {

class CMainFrame;

class CEKTitleView : public wxListCtrl, public CListPane {
  public:
    CEKTitleView(CMainFrame& frame, wxWindow* parent);
    ~CEKTitleView() override;

    void OnInitialUpdate() override;
    wxWindow* GetPaneWindow() override { return this; }

    bool CanGoNext() const override;
    bool CanGoPrev() const override;
    void GoNext() override;
    void GoPrev() override;

    // Sets the list font: size in tenths of a point and face as the user chose it.
    void SetListFont(int sizeTenths, const std::string& face);
    int GetFontSize() const { return m_nFontSize; }
    const std::string& GetFaceName() const { return m_strFaceName; }

  protected:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

  private:
    struct CachedRow {
        long index = -1;
        std::array<wxString, 3> text;
        int image = 1;
    };

    CEKViewDoc& Doc() const;
    const CachedRow& Row(long item) const;
    void SelectRow(long row);
    void SaveSettings();
    void OnFont();

    void OnItemSelected(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnShow(wxShowEvent& event);

    CMainFrame& m_frame;
    int m_nFontSize = 100;
    std::string m_strFaceName;
    wxFont m_font;
    bool m_bColumnsCreated = false;
    mutable std::array<CachedRow, 64> m_rowCache;
};

}  // namespace ek
