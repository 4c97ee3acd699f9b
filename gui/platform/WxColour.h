// Colours as the profile keeps them (0x00BBGGRR) and as wxWidgets draws them.
#pragma once

#include <wx/colour.h>

#include "core/frame/SettingsFormats.h"

namespace ek {

inline wxColour ToColour(settings::ColorRef color) {
    return wxColour(settings::RedOf(color), settings::GreenOf(color), settings::BlueOf(color));
}

inline settings::ColorRef FromColour(const wxColour& colour) {
    return settings::MakeColor(colour.Red(), colour.Green(), colour.Blue());
}

}  // namespace ek
