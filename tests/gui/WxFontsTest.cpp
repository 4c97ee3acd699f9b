#include <fontconfig/fontconfig.h>
#include <wx/utils.h>

#include <cstring>
#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "gui/platform/WxFonts.h"

// Last: Xlib's macros (None, Bool) would break the test framework's headers.
#include <X11/Xlib.h>

namespace ek::test {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// What fontconfig answers for `family` when a program asks for full hinting.
struct Matched {
    std::string family;
    int hintStyle = -1;
};

Matched MatchWithFullHinting(const char* family) {
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern.get(), FC_HINT_STYLE, FC_HINT_FULL);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr font(FcFontMatch(nullptr, pattern.get(), &result));
    Matched matched;
    FcChar8* name = nullptr;
    if (font && FcPatternGetString(font.get(), FC_FAMILY, 0, &name) == FcResultMatch) {
        matched.family = reinterpret_cast<const char*>(name);
    }
    if (font) {
        FcPatternGetInteger(font.get(), FC_HINT_STYLE, 0, &matched.hintStyle);
    }
    return matched;
}

TEST(KeepMinchoStrokesTest, UnhintsMinchoFacesOnlyAndOnlyOnce) {
    EKVIEW_REQUIRE_DISPLAY();
    auto* display = static_cast<Display*>(wxGetDisplayInfo().dpy);
    const char* resources = display != nullptr ? XResourceManagerString(display) : nullptr;
    if (resources != nullptr && std::strstr(resources, "Xft.hintstyle") != nullptr) {
        GTEST_SKIP() << "the desktop chose the hinting";
    }
    if (MatchWithFullHinting("IPAMincho").family != "IPAMincho") {
        GTEST_SKIP() << "IPAMincho is not installed";
    }
    if (MatchWithFullHinting("IPAMincho").hintStyle != FC_HINT_FULL) {
        GTEST_SKIP() << "the fontconfig setup already chooses the Mincho hinting";
    }

    KeepMinchoStrokes();
    EXPECT_EQ(MatchWithFullHinting("IPAMincho").hintStyle, FC_HINT_NONE);
    Matched gothic = MatchWithFullHinting("IPAGothic");
    if (gothic.family == "IPAGothic") {
        EXPECT_EQ(gothic.hintStyle, FC_HINT_FULL);
    }
    // A second call finds the setup already decided and adds nothing.
    KeepMinchoStrokes();
    EXPECT_EQ(MatchWithFullHinting("IPAMincho").hintStyle, FC_HINT_NONE);
}

}  // namespace
}  // namespace ek::test
