#include "cli/Mailbox.h"

#include <cstdio>

namespace ek::cli {

namespace {

// The viewer's own words for a file that holds no message.
constexpr const char* kNotAMailFile = "EK-Mailメールファイルではありません";

}  // namespace

bool LoadMailbox(CEKViewDoc& doc, const std::string& path, bool& readError) {
    readError = false;
    ReadResult opened = doc.OnOpenDocument(path);
    if (!opened) {
        std::fprintf(stderr, "ekview-cli: %s: %s\n", path.c_str(), opened.reason.c_str());
        return false;
    }
    doc.SetPathName(path);
    ReadResult read = doc.ReadMailFile();
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
            std::fprintf(stderr, "%s\n", kNotAMailFile);
            return false;
    }
    return false;
}

std::string ParseJsonAndFile(const std::string& command, const std::vector<std::string>& args,
                             bool& json, std::string& path) {
    json = false;
    path.clear();
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
            path = arg;
        } else {
            return command + ": unexpected argument '" + arg + "'";
        }
    }
    return path.empty() ? command + ": FILE is missing" : std::string();
}

}  // namespace ek::cli
