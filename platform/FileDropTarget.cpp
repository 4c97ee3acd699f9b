#include "platform/FileDropTarget.h"

#include <wx/event.h>

#include "platform/WxText.h"

namespace ek {

CFileDropTarget::CFileDropTarget(wxEvtHandler& owner, std::function<bool()> canOpen,
                                 std::function<void(const std::string&)> open)
    : m_owner(owner), m_canOpen(std::move(canOpen)), m_open(std::move(open)) {
    SetDefaultAction(wxDragCopy);
}

// Always a copy, whatever the keys held: a move would let the file manager delete
// the mailbox once the drop succeeded.
wxDragResult CFileDropTarget::Offer() const {
    return m_canOpen() ? wxDragCopy : wxDragNone;
}

wxDragResult CFileDropTarget::OnEnter(wxCoord, wxCoord, wxDragResult) {
    return Offer();
}

wxDragResult CFileDropTarget::OnDragOver(wxCoord, wxCoord, wxDragResult) {
    return Offer();
}

wxDragResult CFileDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult) {
    if (!GetData()) {
        return wxDragNone;
    }
    auto* files = static_cast<wxFileDataObject*>(GetDataObject());
    return OnDropFiles(x, y, files->GetFilenames()) ? wxDragCopy : wxDragNone;
}

bool CFileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& fileNames) {
    // One document at a time: of several files, the first is opened.
    if (fileNames.empty() || !m_canOpen()) {
        return false;
    }
    std::string path = ToUtf8(fileNames[0]);
    m_owner.CallAfter([open = m_open, path] { open(path); });
    return true;
}

}  // namespace ek
