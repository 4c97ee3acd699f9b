// The text pane's text as the control keeps it: UTF-8, one position per byte, with
// the style runs moved from character positions to byte positions. The control
// asks for the styles of what it paints; StylesInRange answers for any stretch,
// and UnstyledRanges remembers what was passed over, so that showing a message
// costs what the screen shows, not what the message holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/views/StyleRuns.h"

namespace ek {

struct Utf8Display {
    std::string text;
    // In byte positions of `text`, ascending, none empty.
    std::vector<StyleRun> runs;
};

// `text` encoded as UTF-8 and `runs` (character positions of `text`, ascending)
// moved onto the bytes of their characters. A character UTF-8 cannot hold (a lone
// surrogate) becomes U+FFFD.
Utf8Display ToUtf8Display(std::wstring_view text, const std::vector<StyleRun>& runs);

// One control style per colour and weight; 0 is the plain text.
inline constexpr int kRunStyleCount = 10;
int StyleOfRun(RunColour colour, bool bold);
RunColour ColourOfStyle(int style);
bool IsBoldStyle(int style);

struct StyleSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    int style = 0;

    bool operator==(const StyleSpan&) const = default;
};

// Spans covering [from, to) without gap, in order, style 0 between runs; adjacent
// spans of one style are merged. Binary search, then only the runs in the range.
std::vector<StyleSpan> StylesInRange(const std::vector<StyleRun>& runs, std::size_t from,
                                     std::size_t to);

// Stretches of the text left unstyled because the view jumped past them.
class UnstyledRanges {
  public:
    void Clear() { m_ranges.clear(); }
    bool Empty() const { return m_ranges.empty(); }
    // Adds [from, to); overlapping and touching stretches join.
    void Add(std::size_t from, std::size_t to);
    // The first position of a stretch inside [from, to); `to` when there is none.
    std::size_t FirstIn(std::size_t from, std::size_t to) const;
    // Removes and returns the parts of the stretches inside [from, to).
    std::vector<std::pair<std::size_t, std::size_t>> Take(std::size_t from, std::size_t to);

  private:
    // Ascending, disjoint, none empty, none touching.
    std::vector<std::pair<std::size_t, std::size_t>> m_ranges;
};

}  // namespace ek
