#include <gtest/gtest.h>

#include <set>

#include "shell/FontFallback.h"

namespace ek {
namespace {

FaceInstalled Installed(std::set<std::string> faces) {
    return [faces = std::move(faces)](const std::string& face) { return faces.count(face) != 0; };
}

struct FaceCase {
    std::string requested;
    std::set<std::string> installed;
    std::string expected;
};

TEST(FontFallbackTest, ChoosesTheFirstInstalledStandIn) {
    const FaceCase cases[] = {
        // The Windows face itself wins where it exists.
        {"ＭＳ 明朝", {"ＭＳ 明朝", "IPAMincho"}, "ＭＳ 明朝"},
        {"ＭＳ 明朝", {"DejaVu Serif", "IPAGothic", "IPAMincho"}, "IPAMincho"},
        {"ＭＳ 明朝", {"Noto Serif CJK JP", "IPAGothic"}, "Noto Serif CJK JP"},
        // Without any serif Japanese face a Gothic one is better than none.
        {"ＭＳ 明朝", {"IPAGothic"}, "IPAGothic"},
        {"ＭＳ Ｐゴシック", {"IPAMincho", "IPAGothic", "IPAPGothic"}, "IPAPGothic"},
        {"ＭＳ ゴシック", {"IPAMincho", "IPAGothic", "IPAPGothic"}, "IPAGothic"},
        {"MS PGothic", {"IPAPGothic"}, "IPAPGothic"},
        // Nothing Japanese installed: the name stays and the system substitutes.
        {"ＭＳ 明朝", {"DejaVu Serif"}, "ＭＳ 明朝"},
        // Latin faces are left to the system.
        {"Courier New", {"IPAMincho"}, "Courier New"},
        {"", {"IPAMincho"}, ""},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.requested);
        EXPECT_EQ(ChooseInstalledFace(c.requested, Installed(c.installed)), c.expected);
    }
}

TEST(FontFallbackTest, RecognisesJapaneseFaceNames) {
    EXPECT_TRUE(IsJapaneseFaceName("ＭＳ 明朝"));
    EXPECT_TRUE(IsJapaneseFaceName("MS Mincho"));
    EXPECT_TRUE(IsJapaneseFaceName("ＭＳ Ｐゴシック"));
    EXPECT_FALSE(IsJapaneseFaceName("Arial"));
    EXPECT_FALSE(IsJapaneseFaceName("DejaVu Sans"));
}

}  // namespace
}  // namespace ek
