#pragma once

#include <string>
#include <vector>

#include "document/EKViewDoc.h"

namespace ek::cli {

// The row of message `index` as list prints it: a JSON object line, or a terminal
// row with the number right-aligned to `indexWidth`.
std::string ListRowText(const CEKViewDoc& doc, int index, int indexWidth, bool json,
                        bool decode = false);

// ekview-cli list [--json|--csv] [--decode] FILE
int RunList(const std::vector<std::string>& args);

}  // namespace ek::cli
