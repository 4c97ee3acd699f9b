// RFC 4180 CSV for spreadsheets: UTF-8 fields, CR LF records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ek::cli {

// One field: quoted (with quotes doubled) when it holds a comma, a quote, CR or LF,
// or begins or ends with a space.
std::string CsvField(std::string_view utf8);

// The fields joined by commas and ended with CR LF.
std::string CsvRecord(const std::vector<std::string>& utf8Fields);

}  // namespace ek::cli
