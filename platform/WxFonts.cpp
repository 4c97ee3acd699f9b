#include "platform/WxFonts.h"

#include <wx/fontenum.h>

#include <map>

#include "platform/FontFallback.h"

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

}  // namespace ek
