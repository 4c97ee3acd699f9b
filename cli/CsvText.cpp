#include "cli/CsvText.h"

namespace ek::cli {

std::string CsvField(std::string_view utf8) {
    bool quote = utf8.find_first_of(",\"\r\n") != std::string_view::npos ||
                 (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) {
        return std::string(utf8);
    }
    std::string field = "\"";
    for (char c : utf8) {
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    return field + "\"";
}

std::string CsvRecord(const std::vector<std::string>& utf8Fields) {
    std::string record;
    for (std::size_t i = 0; i < utf8Fields.size(); ++i) {
        if (i > 0) {
            record += ',';
        }
        record += CsvField(utf8Fields[i]);
    }
    return record + "\r\n";
}

}  // namespace ek::cli
