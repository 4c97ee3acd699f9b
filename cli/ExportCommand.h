#pragma once

#include <string>
#include <vector>

namespace ek::cli {

// ekview-cli export (--mbox OUT | --eml DIR) [--message INDEX]... [--force] FILE
int RunExport(const std::vector<std::string>& args);

}  // namespace ek::cli
