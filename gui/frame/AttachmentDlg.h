// The dialog of ファイル > 添付ファイルを保存: every attachment of the current message
// (file name, type, size), saved as chosen or all into a folder the user picks.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

#include "shell/DecodedView.h"

class wxListCtrl;
class wxStaticText;

namespace ek {

class CAttachmentDlg : public wxDialog {
  public:
    static constexpr int kListId = 1101;
    static constexpr int kSaveId = 1102;
    static constexpr int kSaveAllId = 1103;

    CAttachmentDlg(wxWindow* parent, const CEKViewDoc& doc, int index);

    wxListCtrl* GetList() const { return m_list; }
    // What the last save did, as the dialog shows it.
    wxString GetResultText() const;
    // Asks for a folder and saves the selected rows, or every row.
    void SaveChosen(bool all);

  private:
    const CEKViewDoc& m_doc;
    int m_index;
    std::vector<AttachmentItem> m_items;
    wxListCtrl* m_list = nullptr;
    wxStaticText* m_result = nullptr;
};

}  // namespace ek
