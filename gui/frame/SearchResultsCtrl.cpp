#include "gui/frame/SearchResultsCtrl.h"

#include <algorithm>

#include "gui/frame/MainFrame.h"
#include "gui/platform/WxText.h"
#include "gui/views/TitleView.h"
#include "shell/DecodedView.h"
#include "shell/Strings.h"

namespace ek {

CSearchResultsCtrl::CSearchResultsCtrl(CMainFrame& frame, wxWindow* parent)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(600, 300),
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxBORDER_SIMPLE),
      m_frame(frame) {
    // The subject list's look: its font and its present column widths.
    const CEKTitleView* list = frame.GetTitleView();
    if (list != nullptr) {
        SetFont(list->GetFont());
    }
    const char* titles[] = {str::kColumnSubject, str::kColumnSender, str::kColumnDate};
    const int defaults[] = {300, 150, 120};
    for (int column = 0; column < 3; ++column) {
        int width = list != nullptr && list->GetColumnCount() == 3 ? list->GetColumnWidth(column)
                                                                   : defaults[column];
        InsertColumn(column, FromUtf8(titles[column]), wxLIST_FORMAT_LEFT, width);
    }
    SetImageList(frame.GetListImages(), wxIMAGE_LIST_SMALL);
}

void CSearchResultsCtrl::SetResults(const std::vector<int>& indexes) {
    // A running search only appends: the rows shown stay as they are.
    const bool appended = indexes.size() >= m_indexes.size() &&
                          std::equal(m_indexes.begin(), m_indexes.end(), indexes.begin());
    const long selected = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (selected >= 0 && !appended) {
        SetItemState(selected, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
    if (!appended) {
        m_cells.clear();
    }
    m_indexes = indexes;
    SetItemCount(static_cast<long>(m_indexes.size()));
    if (!appended) {
        Refresh();
    }
}

int CSearchResultsCtrl::MessageOfRow(long row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_indexes.size()) {
        return -1;
    }
    return m_indexes[static_cast<std::size_t>(row)];
}

wxString CSearchResultsCtrl::OnGetItemText(long item, long column) const {
    const int index = MessageOfRow(item);
    const CEKViewDoc& doc = m_frame.GetDocManager().GetDocument();
    if (index < 0 || index >= doc.GetMessageCount() || column < 0 || column > 2) {
        return {};
    }
    const bool decoded = m_frame.IsDecodedView();
    if (decoded != m_cellsDecoded) {
        m_cells.clear();
        m_cellsDecoded = decoded;
    }
    auto [cell, made] = m_cells.try_emplace(index);
    std::array<wxString, 3>& cells = cell->second;
    if (made) {
        std::vector<std::string> row;
        doc.GetListRow(index, row);
        // The row holds date, sender, subject; the columns are subject, sender, date.
        cells[2] = FromCp932(row[0]);
        // The decoded view's lists show decoded senders and subjects, and so do the rows.
        if (decoded) {
            DecodeListFields(doc, index, row);
            cells[0] = FromUtf8(row[2]);
            cells[1] = FromUtf8(row[1]);
        } else {
            cells[0] = FromCp932(row[2]);
            cells[1] = FromCp932(row[1]);
        }
    }
    return cells[static_cast<std::size_t>(column)];
}

int CSearchResultsCtrl::OnGetItemImage(long item) const {
    const int index = MessageOfRow(item);
    const CEKViewDoc& doc = m_frame.GetDocManager().GetDocument();
    if (index < 0 || index >= doc.GetMessageCount()) {
        return -1;
    }
    return doc.GetBoundary(index).empty() ? 1 : 0;
}

}  // namespace ek
