#include "shell/DocManager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/platform/PathNames.h"
#include "shell/Strings.h"

namespace ek {

void CDocManager::AddView(CView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
    }
}

void CDocManager::RemoveView(CView* view) {
    std::erase(m_views, view);
}

ReadResult CDocManager::OpenDocumentFile(const std::string& path) {
    ReadResult result = m_doc.OnOpenDocument(path);
    if (!result) {
        return result;
    }
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    m_doc.SetPathName(error ? path : full.lexically_normal().string());
    if (m_onPathChanged) {
        m_onPathChanged();
    }
    NotifyChanging();
    UpdateAllViews();
    return result;
}

void CDocManager::NewDocument() {
    NotifyChanging();
    m_doc.OnNewDocument();
    if (m_onPathChanged) {
        m_onPathChanged();
    }
    UpdateAllViews();
}

void CDocManager::CloseDocument() {
    NotifyChanging();
    m_doc.OnCloseDocument();
}

std::string CDocManager::GetTitle() const {
    const std::string& path = m_doc.GetPathName();
    if (path.empty()) {
        return str::kUntitled;
    }
    return pathname::ForDisplay(std::filesystem::path(path).filename().string());
}

void CDocManager::NotifyChanging() {
    for (CView* view : m_views) {
        view->OnDocumentChanging();
    }
}

void CDocManager::UpdateAllViews() {
    // A view's update may add or remove views; walk a copy.
    std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->OnInitialUpdate();
        }
    }
}

}  // namespace ek
