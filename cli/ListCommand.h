#pragma once

#include <string>
#include <vector>

namespace ek::cli {

// ekview-cli list [--json|--csv] FILE
int RunList(const std::vector<std::string>& args);

}  // namespace ek::cli
