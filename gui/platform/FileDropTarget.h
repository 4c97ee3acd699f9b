// Files dropped onto a window: the first one is handed on to be opened as if it
// had been chosen in the File menu.
#pragma once

#include <wx/dnd.h>

#include <functional>
#include <string>
#include <vector>

class wxEvtHandler;

namespace ek {

class CFileDropTarget : public wxDropTarget {
  public:
    // `canOpen` says whether a drop is welcome now; `open` receives the path (its
    // bytes as the system names the file) through `owner`'s event queue, after the
    // drop has ended, so that the program the file came from is not kept waiting
    // while the mailbox is read.
    CFileDropTarget(wxEvtHandler& owner, std::function<bool()> canOpen,
                    std::function<void(const std::string&)> open);

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

    // The files of the data received; false when none is opened.
    bool OnDropReceived();
    bool OnDropPaths(const std::vector<std::string>& paths);

  private:
    wxDragResult Offer() const;

    wxEvtHandler& m_owner;
    std::function<bool()> m_canOpen;
    std::function<void(const std::string&)> m_open;
};

}  // namespace ek
