// The search window's results: a virtual report list in the subject list's
// columns (subject with the paper clip, sender, date), one row per matching message.
#pragma once

#include <wx/listctrl.h>

#include <vector>

namespace ek {

class CMainFrame;

class CSearchResultsCtrl : public wxListCtrl {
  public:
    CSearchResultsCtrl(CMainFrame& frame, wxWindow* parent);

    // Shows these message indexes; a selected row stays selected when the new
    // indexes only add rows after the old ones.
    void SetResults(const std::vector<int>& indexes);
    // The message a row shows; -1 outside the rows.
    int MessageOfRow(long row) const;

  private:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

    CMainFrame& m_frame;
    std::vector<int> m_indexes;
};

}  // namespace ek
