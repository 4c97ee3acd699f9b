// Stand-ins for the Windows Japanese faces on systems that lack them. Asking the
// system for "ＭＳ 明朝" where it is missing gives a Latin face without Japanese
// glyphs; a free Japanese face of the same kind stands in, while the profile keeps
// the name the user chose. Free of any toolkit.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ek {

// Whether the system has a face of exactly this name.
using FaceInstalled = std::function<bool(const std::string& face)>;

// The Japanese faces tried for `requested`, best first: serif faces for a Mincho,
// proportional or fixed Gothic faces for a Gothic, and the other kind after them.
std::vector<std::string> JapaneseStandIns(const std::string& requested);

// Whether a face name is one of the Windows Japanese faces (by its name alone).
bool IsJapaneseFaceName(const std::string& face);

// `requested` when installed or not Japanese; else the first installed stand-in;
// `requested` again when none is installed.
std::string ChooseInstalledFace(const std::string& requested, const FaceInstalled& installed);

}  // namespace ek
