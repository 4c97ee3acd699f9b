// The three panes of the main frame as the frame sees them. The subject list is
// made with the frame; the text pane and the thread list come from factories that
// CreatePanes calls, so a run without them simply has no such pane.
#pragma once

#include <functional>
#include <string>

#include "core/frame/SettingsFormats.h"
#include "shell/DocManager.h"

class wxWindow;

namespace ek {

class PaneHost;

// A pane: a view of the document with a window of its own. Its child-window
// identifier (59648 for the visible pane) is kept here: wxWidgets keeps window ids
// below 32767.
class CPane : public CView {
  public:
    virtual wxWindow* GetPaneWindow() = 0;

    int GetDlgCtrlID() const { return m_nDlgCtrlID; }
    void SetDlgCtrlID(int id) { m_nDlgCtrlID = id; }

  private:
    int m_nDlgCtrlID = 0;
};

// The subject list and the thread list: steps through the current list.
class CListPane : public CPane {
  public:
    virtual bool CanGoNext() const = 0;
    virtual bool CanGoPrev() const = 0;
    virtual void GoNext() = 0;
    virtual void GoPrev() = 0;
    // Selects and scrolls to the row of message `index`, which becomes current; a
    // list without rows leaves the current message to its caller.
    virtual void SelectMessage(int /*index*/) {}
    // Makes every row anew, as when the decoded view is switched.
    virtual void RedrawRows() {}
};

// What the colour dialog sets and the text pane highlights with.
struct QuoteSettings {
    std::string quote;  // UTF-8, marks separated by spaces
    settings::ColorRef quoteColor = 0;
    settings::ColorRef mailColor = 0;
    settings::ColorRef httpColor = 0;
};

// The message text pane.
class CContentPane : public CPane {
  public:
    virtual void ShowMessage(int index) = 0;
    virtual void SetQuoteSettings(const QuoteSettings& settings) = 0;
    // The decoded view (MIME decoded) instead of the stored bytes.
    virtual bool IsDecoded() const { return false; }
    virtual void SetDecoded(bool) {}
};

// Makers of the panes that CreatePanes adds. Each makes its window a hidden child of
// `parent`; the frame gives it its pane identifier, adds it to the document's views
// and gives it its initial update. An empty function leaves that pane out.
struct PaneFactory {
    std::function<CContentPane*(PaneHost& host, wxWindow* parent)> createContent;
    std::function<CListPane*(PaneHost& host, wxWindow* parent)> createThread;
};

}  // namespace ek
