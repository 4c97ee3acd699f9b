#pragma once

#include <string>
#include <vector>

#include "core/document/EKViewDoc.h"

namespace ek::cli {

// The row of message `index` as list prints it, appended to `out`: a JSON object line,
// or a terminal row with the number right-aligned to `indexWidth`. `row` is room for
// the row's fields, reused from one row to the next.
void AppendListRow(std::string& out, const CEKViewDoc& doc, int index, int indexWidth, bool json,
                   bool decode, std::vector<std::string>& row);

// ekview-cli list [--json|--csv] [--decode] FILE
int RunList(const std::vector<std::string>& args);

}  // namespace ek::cli
