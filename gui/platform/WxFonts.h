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

// Text that wxWidgets draws itself (lists, trees, headers) takes its hinting from
// the X display's Xft resources, not from GTK's settings. Where no desktop set them,
// cairo hints fully, which wipes the thin strokes of the Mincho faces at list sizes;
// this gives such a display the slight hinting GTK and fontconfig use. Call it once
// before the first window paints.
void UseSlightHintingWhereUnset();

// Even slight hinting leaves the Mincho faces without their thin horizontal strokes
// in the text GTK's own widgets draw; this has fontconfig render Mincho families
// unhinted unless the desktop's X resources or the fontconfig setup already choose
// their hinting. Call it once before the first window exists.
void KeepMinchoStrokes();

}  // namespace ek
