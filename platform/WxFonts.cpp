#include "platform/WxFonts.h"

#include <wx/fontenum.h>
#include <wx/utils.h>

#include <map>

#include "platform/FontFallback.h"

#ifdef __WXGTK__
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#endif

namespace ek {

std::string ResolveFaceName(const std::string& face) {
    // Asking the system is slow; the answer does not change during a run.
    static std::map<std::string, std::string> resolved;
    auto found = resolved.find(face);
    if (found != resolved.end()) {
        return found->second;
    }
    std::string choice = ChooseInstalledFace(face, [](const std::string& name) {
        return wxFontEnumerator::IsValidFacename(wxString::FromUTF8(name));
    });
    resolved.emplace(face, choice);
    return choice;
}

wxFont MakePointFont(int tenths, const std::string& face) {
    wxFontInfo info(tenths / 10.0);
    info.FaceName(wxString::FromUTF8(ResolveFaceName(face)));
    return wxFont(info);
}

void UseSlightHintingWhereUnset() {
#ifdef __WXGTK__
    wxDisplayInfo info = wxGetDisplayInfo();
    if (info.type != wxDisplayX11 || info.dpy == nullptr) {
        return;
    }
    auto* display = static_cast<Display*>(info.dpy);
    // The first look-up loads the display's resources the way cairo will see them.
    if (XGetDefault(display, "Xft", "hintstyle") != nullptr) {
        return;
    }
    XrmDatabase resources = XrmGetDatabase(display);
    XrmPutStringResource(&resources, "Xft.hintstyle", "hintslight");
    XrmSetDatabase(display, resources);
#endif
}

}  // namespace ek
