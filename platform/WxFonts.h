// Fonts asked for by face name and point size, with a Japanese stand-in where the
// system lacks the face (see FontFallback.h).
#pragma once

#include <wx/font.h>

#include <string>

namespace ek {

// The installed face that shows `face` (UTF-8).
std::string ResolveFaceName(const std::string& face);

// A font of `tenths` tenths of a point in `face` or its stand-in.
wxFont MakePointFont(int tenths, const std::string& face);

}  // namespace ek
