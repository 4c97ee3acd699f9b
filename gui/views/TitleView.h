// The subject list: one row per message of the document (subject, sender, date, the
// paper clip on multipart messages); row i shows message i. Its initial update reads
// the opened mailbox. Rows are made on demand from the document, so a large mailbox
// lists at once.
#pragma once

#include "gui/views/ListPaneCtrl.h"

namespace ek {

class CEKTitleView : public CListPaneCtrl {
  public:
    CEKTitleView(PaneHost& host, wxWindow* parent);

    void OnInitialUpdate() override;

    long RowOfMessage(int index) const override;
    int MessageOfRow(long row) const override;

  protected:
    void MakeRow(long row, RowText& out) const override;
};

}  // namespace ek
