#include "shell/FontFallback.h"

#include <algorithm>

namespace ek {

namespace {

const std::vector<std::string> kSerif = {
    "IPAMincho",   "IPA明朝",   "Noto Serif CJK JP", "IPAexMincho", "IPAex明朝",
    "TakaoMincho", "Takao明朝", "IPAPMincho",        "IPA P明朝",
};
const std::vector<std::string> kProportionalGothic = {
    "IPAPGothic",    "IPA Pゴシック", "Noto Sans CJK JP", "IPAexGothic",
    "IPAexゴシック", "TakaoPGothic",  "VL PGothic",
};
const std::vector<std::string> kFixedGothic = {
    "IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "TakaoGothic", "VL Gothic",
};
const std::vector<std::string> kLastResort = {"Droid Sans Fallback"};

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

void Append(std::vector<std::string>& out, const std::vector<std::string>& faces) {
    out.insert(out.end(), faces.begin(), faces.end());
}

}  // namespace

bool IsJapaneseFaceName(const std::string& face) {
    bool nonAscii = std::any_of(face.begin(), face.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return nonAscii || Contains(face, "Mincho") || Contains(face, "Gothic") ||
           face.rfind("MS ", 0) == 0 || face.rfind("ＭＳ", 0) == 0;
}

std::vector<std::string> JapaneseStandIns(const std::string& requested) {
    std::vector<std::string> faces;
    bool gothic = Contains(requested, "ゴシック") || Contains(requested, "Gothic");
    bool proportional =
        Contains(requested, "Ｐ") || Contains(requested, " P") || Contains(requested, "PGothic");
    if (!gothic) {
        Append(faces, kSerif);
        Append(faces, kFixedGothic);
        Append(faces, kProportionalGothic);
    } else if (proportional) {
        Append(faces, kProportionalGothic);
        Append(faces, kFixedGothic);
        Append(faces, kSerif);
    } else {
        Append(faces, kFixedGothic);
        Append(faces, kProportionalGothic);
        Append(faces, kSerif);
    }
    Append(faces, kLastResort);
    return faces;
}

std::string ChooseInstalledFace(const std::string& requested, const FaceInstalled& installed) {
    if (requested.empty() || installed(requested) || !IsJapaneseFaceName(requested)) {
        return requested;
    }
    for (const std::string& face : JapaneseStandIns(requested)) {
        if (installed(face)) {
            return face;
        }
    }
    return requested;
}

}  // namespace ek
