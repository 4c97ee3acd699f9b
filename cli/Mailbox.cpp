#include "cli/Mailbox.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace ek::cli {

bool LoadMailbox(CEKViewDoc& doc, const std::string& path, bool& readError) {
    readError = false;
    // A command's run is short: the file's pages are used where they lie.
    doc.SetMappedRead(true);
    ReadResult read = doc.OpenMailFile(path);
    switch (read.status) {
        case ReadStatus::Ok:
            return true;
        case ReadStatus::ReadError:
            std::fprintf(stderr, "ekview-cli: %s: read error: %s\n", path.c_str(),
                         read.reason.c_str());
            readError = true;
            return true;
        case ReadStatus::OpenFailed:
            std::fprintf(stderr, "ekview-cli: %s: %s\n", path.c_str(), read.reason.c_str());
            return false;
        case ReadStatus::NoMessages:
        case ReadStatus::NoPath:
        case ReadStatus::Cancelled:
            std::fprintf(stderr, "%s\n", kNotMailFile);
            return false;
    }
    return false;
}

// A whole decimal number; out-of-range values saturate, so that they are reported as
// outside the mailbox.
std::optional<long long> ParseIndex(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return text[0] == '-' ? -1 : std::numeric_limits<long long>::max();
    }
    return error == std::errc() ? std::optional<long long>(value) : std::nullopt;
}

std::string ParseJsonAndFile(const std::string& command, const std::vector<std::string>& args,
                             bool& json, std::string& path, bool& decode) {
    json = false;
    decode = false;
    path.clear();
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg == "--decode") {
            decode = true;
        } else if (path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
            path = arg;
        } else {
            return command + ": unexpected argument '" + arg + "'";
        }
    }
    return path.empty() ? command + ": FILE is missing" : std::string();
}

}  // namespace ek::cli
