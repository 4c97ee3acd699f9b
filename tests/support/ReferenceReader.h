// The reading rules written out plainly, line by line, kept slow and obvious: what the
// equality tests and the mailbox fuzz target compare the real reader against. No test
// framework here, so that the fuzz target builds it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ek::test {

using ReferenceMessages = std::vector<std::vector<std::string>>;

// The lines of the file as text-mode reading sees them (up to an end-of-text byte),
// without their ends.
std::vector<std::string> ReferenceLines(std::string_view bytes);

// The messages in file order, each line with "\n" as its end.
ReferenceMessages ReferenceRead(std::string_view bytes);

}  // namespace ek::test
