#include "gui/frame/MainFrame.h"
#include "gui/frame/SearchDlg.h"
#include "shell/Resource.h"

namespace ek {

void CMainFrame::OnSearchMail() {
    if (m_pSearchDlg == nullptr) {
        m_pSearchDlg = new CSearchDlg(*this);
        m_context.docManager.AddView(m_pSearchDlg);
        // The export offers the results as a scope while the window is open.
        SetSearchResultsSource([this]() -> std::optional<std::vector<int>> {
            if (m_pSearchDlg == nullptr || !m_pSearchDlg->IsShown()) {
                return std::nullopt;
            }
            return m_pSearchDlg->FinishedResults();
        });
    }
    m_pSearchDlg->Open();
}

void CMainFrame::SelectMessage(int index) {
    CEKViewDoc& doc = m_context.docManager.GetDocument();
    if (m_pListView == nullptr || index < 0 || index >= doc.GetMessageCount()) {
        return;
    }
    m_pListView->SelectMessage(index);
    doc.m_nCurrent = index;
    if (m_bContentShown != 0 && m_pContentView != nullptr) {
        m_pContentView->ShowMessage(index);
    }
}

void CMainFrame::OpenMessage(int index) {
    const CEKViewDoc& doc = m_context.docManager.GetDocument();
    if (index < 0 || index >= doc.GetMessageCount()) {
        return;
    }
    SelectMessage(index);
    if (m_bContentShown == 0) {
        ExecuteCommand(ID_VIEW_CONTENT);
    }
}

std::vector<int> CMainFrame::GetSearchResults() const {
    return m_pSearchDlg != nullptr ? m_pSearchDlg->FinishedResults() : std::vector<int>{};
}

}  // namespace ek
