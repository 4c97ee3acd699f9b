// Our small single-document framework: one document for the whole run, the views
// that show it, and the open and new sequences that give the views their initial
// updates in the order they were added (the subject list first).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "shell/CommandRouter.h"

namespace ek {

// A pane that shows the document.
class CView : public CCmdTarget {
  public:
    // Rebuilds the pane from the document after it was opened or created.
    virtual void OnInitialUpdate() = 0;
    // The document's messages are about to be read again or dropped: a view that
    // reads them on another thread stops it here. OnInitialUpdate follows, unless the
    // document is closing.
    virtual void OnDocumentChanging() {}
};

// Also the document's place in the command routing; the document serves no command.
class CDocManager : public CCmdTarget {
  public:
    CEKViewDoc& GetDocument() { return m_doc; }
    const CEKViewDoc& GetDocument() const { return m_doc; }

    // Called once the path of a newly opened document is recorded, before the views
    // are updated: the title and the recent-file list follow the path there.
    void SetPathChangedHandler(std::function<void()> handler) {
        m_onPathChanged = std::move(handler);
    }

    void AddView(CView* view);
    void RemoveView(CView* view);

    // The framework's open: the document checks that the file opens; on success the
    // path is recorded and every view gets its initial update. On failure nothing
    // changes and the result tells why.
    ReadResult OpenDocumentFile(const std::string& path);
    // A new, untitled document: only the path name is emptied.
    void NewDocument();
    void CloseDocument();

    // The file name of the open document, or the untitled name.
    std::string GetTitle() const;

  private:
    void NotifyChanging();
    void UpdateAllViews();

    CEKViewDoc m_doc;
    std::vector<CView*> m_views;
    std::function<void()> m_onPathChanged;
};

}  // namespace ek
