// The highlighting steps resolved into the attributes each stretch of text ends up
// with, so that the pane sets every position's format once.
#pragma once

#include <cstddef>
#include <vector>

#include "core/views/Highlight.h"

namespace ek {

enum class RunColour { None, Url, Mail, Quote, Note };

struct StyleRun {
    std::size_t start = 0;
    std::size_t end = 0;
    RunColour colour = RunColour::None;
    bool bold = false;

    bool operator==(const StyleRun&) const = default;
};

// Maximal runs [start, end) in ascending order, for a text of `textLength` positions:
// the colour of the last colour step over each position, bold where any bold step
// lies. Runs with neither are left out; spans are clipped to the text.
std::vector<StyleRun> ResolveStyleRuns(const std::vector<HighlightStep>& steps,
                                       std::size_t textLength);

}  // namespace ek
