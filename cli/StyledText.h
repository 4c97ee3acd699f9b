// A shown message as terminal text: CP932 decoded to UTF-8, control characters
// escaped, tabs expanded, and the style runs turned into colour escapes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/frame/SettingsFormats.h"
#include "core/views/StyleRuns.h"

namespace ek::cli {

struct Palette {
    settings::ColorRef url;
    settings::ColorRef mail;
    settings::ColorRef quote;
    settings::ColorRef note;
};

// With `color` false the runs are ignored and the text is plain. With `utf8` the text
// is decoded UTF-8 rather than CP932 (positions are bytes either way).
std::string StyledText(std::string_view cp932, const std::vector<StyleRun>& runs,
                       const Palette& palette, bool color, bool utf8 = false);

}  // namespace ek::cli
