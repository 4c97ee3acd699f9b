#pragma once

#include <string>
#include <vector>

namespace ek::cli {

// ekview-cli show [--json] [--short-headers|--all-headers] [--quote MARKS]
//                 [--color=auto|always|never] FILE INDEX
int RunShow(const std::vector<std::string>& args);

}  // namespace ek::cli
