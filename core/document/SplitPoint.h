// Where a mailbox can be cut in two so that each half reads as it would in the whole.
#pragma once

#include <cstddef>
#include <string_view>

namespace ek {

// The offset of a message-start pair at or after the middle of `text`, read there as
// the whole text would read it, or 0 when there is none. Lines are taken in pairs: a
// start line right after another start line is that one's second line, never the
// first of a pair, and a start line with a text-end byte (0x1A) in it is none.
// A text-end byte before the point is the caller's to check.
std::size_t FindSplitPoint(std::string_view text);

}  // namespace ek
