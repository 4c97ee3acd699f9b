#pragma once

#include <string>
#include <vector>

namespace ek::cli {

// ekview-cli threads [--json] FILE
int RunThreads(const std::vector<std::string>& args);

}  // namespace ek::cli
