#pragma once

#include <string>
#include <vector>

namespace ek::cli {

// ekview-cli search [--json] [--decode] [--in FIELD] QUERY FILE
int RunSearch(const std::vector<std::string>& args);

}  // namespace ek::cli
