#include "gui/platform/FileDropTarget.h"

#include <wx/dataobj.h>
#include <wx/event.h>

#include "core/platform/PathNames.h"
#include "gui/platform/WxText.h"

namespace ek {

namespace {

#ifdef __WXGTK__
// The file manager's list of file URIs, taken as bytes: wxFileDataObject would
// turn a name that is not UTF-8 (a Shift-JIS one) into an empty string.
constexpr const char* kUriListFormat = "text/uri-list";
#endif

}  // namespace

CFileDropTarget::CFileDropTarget(wxEvtHandler& owner, std::function<bool()> canOpen,
                                 std::function<void(const std::string&)> open)
    : m_owner(owner), m_canOpen(std::move(canOpen)), m_open(std::move(open)) {
#ifdef __WXGTK__
    SetDataObject(new wxCustomDataObject(wxDataFormat(kUriListFormat)));
#else
    SetDataObject(new wxFileDataObject);
#endif
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

wxDragResult CFileDropTarget::OnData(wxCoord, wxCoord, wxDragResult) {
    if (!GetData()) {
        return wxDragNone;
    }
    return OnDropReceived() ? wxDragCopy : wxDragNone;
}

bool CFileDropTarget::OnDropReceived() {
    std::vector<std::string> paths;
#ifdef __WXGTK__
    const auto* list = static_cast<const wxCustomDataObject*>(GetDataObject());
    paths = pathname::FilesOfUriList(
        std::string_view(static_cast<const char*>(list->GetData()), list->GetSize()));
#else
    const auto* files = static_cast<const wxFileDataObject*>(GetDataObject());
    for (const wxString& name : files->GetFilenames()) {
        paths.push_back(ToUtf8(name));
    }
#endif
    return OnDropPaths(paths);
}

bool CFileDropTarget::OnDropPaths(const std::vector<std::string>& paths) {
    // One document at a time: of several files, the first is opened.
    if (paths.empty() || !m_canOpen()) {
        return false;
    }
    m_owner.CallAfter([open = m_open, path = paths.front()] { open(path); });
    return true;
}

}  // namespace ek
