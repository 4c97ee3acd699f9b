#include "gui/views/TitleView.h"

#include "core/document/ReadResult.h"
#include "core/platform/ProgressDlg.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/WxText.h"
#include "shell/DecodedView.h"
#include "shell/DocManager.h"
#include "shell/PaneHost.h"
#include "shell/Strings.h"

namespace ek {

CEKTitleView::CEKTitleView(PaneHost& host, wxWindow* parent)
    : CListPaneCtrl(host, parent, settings::kTFont, settings::kLVH) {}

void CEKTitleView::OnInitialUpdate() {
    PaneHost& host = Host();
    PrepareColumns();
    if (!host.IsListShown()) {
        host.OnToggleContent();
    }
    ResetRows(0);

    CEKViewDoc& doc = Doc();
    SetImageList(host.GetListImages(), wxIMAGE_LIST_SMALL);
    // A new, untitled document reads nothing but keeps the messages it holds, and
    // lists them as the thread list does, so that both lists agree with the count.
    if (!doc.GetPathName().empty()) {
        ReadResult read = doc.ReadMailFile();
        if (read.status == ReadStatus::ReadError) {
            // The messages read before the error stay and are listed.
            AfxMessageBox(host.GetMessageBoxParent(), read.reason, MessageIcon::Stop);
        } else if (!read) {
            AfxMessageBox(host.GetMessageBoxParent(), kNotMailFile, MessageIcon::Stop);
            return;
        }
    }
    if (doc.GetMessageCount() == 0) {
        return;
    }

    CProgressDlg progress(doc.GetProgressUi());
    progress.Create();
    progress.SetWindowText(str::kListBuilding);
    const int count = doc.GetMessageCount();
    // Rows are made when shown; the dialog still walks the count as the rows "fill".
    int shown = -1;
    for (int i = 0; i < count; ++i) {
        int percent = static_cast<int>(100LL * i / count);
        if (percent != shown) {
            progress.SetPosition(percent);
            shown = percent;
        }
    }
    ResetRows(count);
    SelectRow(0);
    EnsureVisible(0);
}

long CEKTitleView::RowOfMessage(int index) const {
    return index >= 0 && index < GetItemCount() ? index : -1;
}

int CEKTitleView::MessageOfRow(long row) const {
    return row >= 0 && row < GetItemCount() ? static_cast<int>(row) : -1;
}

void CEKTitleView::MakeRow(long row, RowText& out) const {
    const CEKViewDoc& doc = Doc();
    const int index = static_cast<int>(row);
    std::vector<std::string> fields;
    if (doc.GetListRow(index, fields) && fields.size() >= 3) {
        out.text = {FromCp932(fields[2]), FromCp932(fields[1]), FromCp932(fields[0])};
        if (Host().IsDecodedView()) {
            DecodeListFields(doc, index, fields);
            out.text[0] = FromUtf8(fields[2]);
            out.text[1] = FromUtf8(fields[1]);
        }
    }
    out.image = doc.IsMultipart(index) ? 0 : 1;
}

}  // namespace ek
