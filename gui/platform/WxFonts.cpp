#include "gui/platform/WxFonts.h"

#include <wx/fontenum.h>
#include <wx/utils.h>

#include <map>
#include <memory>

#include "gui/platform/WxText.h"
#include "shell/FontFallback.h"

#ifdef __WXGTK__
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <fontconfig/fontconfig.h>
#endif

namespace ek {

#ifdef __WXGTK__
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// IPAMincho's gasp table asks for black-and-white hinting at text sizes, where even
// slight hinting snaps its thin horizontal strokes away in GTK's widgets (田 reads as 川).
constexpr char kUnhintMinchoRule[] = R"(<?xml version="1.0"?>
<fontconfig>
  <match target="font">
    <test name="family" compare="contains"><string>Mincho</string></test>
    <edit name="hintstyle" mode="assign"><const>hintnone</const></edit>
  </match>
</fontconfig>
)";

// The hint style fontconfig gives a Mincho face when a program asks for `asked`.
int MinchoHintStyle(FcConfig* config, int asked) {
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("IPAMincho"));
    FcPatternAddInteger(pattern.get(), FC_HINT_STYLE, asked);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr font(FcFontMatch(config, pattern.get(), &result));
    int style = asked;
    if (font) {
        FcPatternGetInteger(font.get(), FC_HINT_STYLE, 0, &style);
    }
    return style;
}

// Whether the desktop's X resources name a hint style; read from the server's
// string so that this program's own additions to its copy do not count.
bool DesktopSetsHintStyle(Display* display) {
    const char* text = XResourceManagerString(display);
    if (text == nullptr) {
        return false;
    }
    XrmInitialize();
    XrmDatabase resources = XrmGetStringDatabase(text);
    char* type = nullptr;
    XrmValue value{};
    bool set = XrmGetResource(resources, "Xft.hintstyle", "Xft.Hintstyle", &type, &value) != 0;
    XrmDestroyDatabase(resources);
    return set;
}

}  // namespace
#endif

std::string ResolveFaceName(const std::string& face) {
    // Asking the system is slow; the answer does not change during a run.
    static std::map<std::string, std::string> resolved;
    auto found = resolved.find(face);
    if (found != resolved.end()) {
        return found->second;
    }
    std::string choice = ChooseInstalledFace(face, [](const std::string& name) {
        return wxFontEnumerator::IsValidFacename(FromUtf8(name));
    });
    resolved.emplace(face, choice);
    return choice;
}

wxFont MakePointFont(int tenths, const std::string& face) {
    wxFontInfo info(tenths / 10.0);
    info.FaceName(FromUtf8(ResolveFaceName(face)));
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

void KeepMinchoStrokes() {
#ifdef __WXGTK__
    wxDisplayInfo info = wxGetDisplayInfo();
    if (info.type != wxDisplayX11 || info.dpy == nullptr ||
        DesktopSetsHintStyle(static_cast<Display*>(info.dpy))) {
        return;
    }
    if (!FcInit()) {
        return;
    }
    FcConfig* config = FcConfigGetCurrent();
    // A configuration that answers the same whatever is asked has chosen itself.
    if (MinchoHintStyle(config, FC_HINT_NONE) == MinchoHintStyle(config, FC_HINT_FULL)) {
        return;
    }
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kUnhintMinchoRule),
                                   FcFalse);
#endif
}

}  // namespace ek
