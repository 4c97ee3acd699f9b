// The thread list: one row per message in thread order, each reply below the
// message it answers, its subject indented by depth behind "└". Rows are made on
// demand from the thread order, so a large mailbox lists at once.
#pragma once

#include <vector>

#include "core/views/ThreadLink.h"
#include "gui/views/ListPaneCtrl.h"

namespace ek {

class CEKThreadView : public CListPaneCtrl {
  public:
    CEKThreadView(PaneHost& host, wxWindow* parent);

    // Builds the rows from the messages the document holds now; the subject list's
    // update, which reads the file, reaches the document's views first.
    void OnInitialUpdate() override;

    long RowOfMessage(int index) const override;
    int MessageOfRow(long row) const override;

    // The thread order of the last build: the row's message, depth and parts flag.
    const std::vector<ThreadRow>& GetThreadRows() const { return m_rows; }

  protected:
    void MakeRow(long row, RowText& out) const override;

  private:
    std::vector<ThreadRow> m_rows;
    // The row of every message, so that no step searches the rows.
    std::vector<long> m_rowOfMessage;
};

// The maker that CMainFrame::CreatePanes calls for the thread list.
CListPane* CreateThreadView(PaneHost& host, wxWindow* parent);

}  // namespace ek
