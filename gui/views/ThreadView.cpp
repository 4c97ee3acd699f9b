#include "gui/views/ThreadView.h"

#include "core/platform/ProgressDlg.h"
#include "gui/platform/WxText.h"
#include "shell/DecodedView.h"
#include "shell/DocManager.h"
#include "shell/PaneHost.h"

namespace ek {

namespace {

constexpr const char* kThreadBuilding = "コメントツリー作成中...";

}  // namespace

CEKThreadView::CEKThreadView(PaneHost& host, wxWindow* parent)
    : CListPaneCtrl(host, parent, settings::kTHFont, settings::kLVH2) {}

void CEKThreadView::OnInitialUpdate() {
    PrepareColumns();
    m_rows.clear();
    m_rowOfMessage.clear();
    ResetRows(0);

    CEKViewDoc& doc = Doc();
    const int count = doc.GetMessageCount();
    if (count <= 0) {
        return;
    }

    CProgressDlg progress(doc.GetProgressUi());
    progress.Create();
    progress.SetWindowText(kThreadBuilding);
    m_rows = BuildThreadOrder(doc, &progress);
    m_rowOfMessage.assign(static_cast<std::size_t>(count), -1);
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        m_rowOfMessage[static_cast<std::size_t>(m_rows[row].index)] = static_cast<long>(row);
    }
    SetImageList(Host().GetListImages(), wxIMAGE_LIST_SMALL);
    ResetRows(static_cast<long>(m_rows.size()));
    EnsureVisible(0);
    SelectRow(0);
}

long CEKThreadView::RowOfMessage(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_rowOfMessage.size()) {
        return -1;
    }
    return m_rowOfMessage[static_cast<std::size_t>(index)];
}

int CEKThreadView::MessageOfRow(long row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        return -1;
    }
    return m_rows[static_cast<std::size_t>(row)].index;
}

void CEKThreadView::MakeRow(long row, RowText& out) const {
    const ThreadRow& thread = m_rows[static_cast<std::size_t>(row)];
    std::vector<std::string> fields;
    if (Doc().GetListRow(thread.index, fields) && fields.size() >= 3) {
        out.text = {FromCp932(ThreadPrefix(thread.depth) + fields[2]), FromCp932(fields[1]),
                    FromCp932(fields[0])};
        if (Host().IsDecodedView()) {
            DecodeListFields(Doc(), thread.index, fields);
            out.text[0] = FromCp932(ThreadPrefix(thread.depth)) + FromUtf8(fields[2]);
            out.text[1] = FromUtf8(fields[1]);
        }
    }
    out.image = thread.hasParts != 0 ? 0 : 1;
}

CListPane* CreateThreadView(PaneHost& host, wxWindow* parent) {
    return new CEKThreadView(host, parent);
}

}  // namespace ek
