// The search window's results: a virtual report list in the subject list's
// columns (subject with the paper clip, sender, date), one row per matching message.
#pragma once

#include <wx/listctrl.h>

#include <array>
#include <unordered_map>
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
    // The cells made so far (subject, sender, date by message), and whether they are
    // decoded: a running search repaints the rows at every step, and decoding a row
    // costs as much as searching a message.
    mutable std::unordered_map<int, std::array<wxString, 3>> m_cells;
    mutable bool m_cellsDecoded = false;
};

}  // namespace ek
