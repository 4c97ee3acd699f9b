#include "app/CommandLine.h"

#include "res/Strings.h"

namespace ek {

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineInfo info;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "-h" || arg == "--help")) {
            return {CommandLineInfo::Action::Help, {}, {}};
        } else if (options && (arg == "-V" || arg == "--version")) {
            return {CommandLineInfo::Action::Version, {}, {}};
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return {CommandLineInfo::Action::Error, {}, "unknown option: " + arg};
        } else if (!info.fileName.empty()) {
            return {CommandLineInfo::Action::Error, {}, "only one mailbox file can be opened"};
        } else if (arg.empty()) {
            return {CommandLineInfo::Action::Error, {}, "empty file name"};
        } else {
            info.fileName = arg;
        }
    }
    return info;
}

std::string UsageText(const std::string& programName) {
    return "Usage: " + programName +
           " [OPTION]... [MAILBOX]\n"
           "Shows an EK-Mail mailbox file: its subject list, threads and messages.\n"
           "Without MAILBOX the window opens with an empty, untitled document.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n";
}

std::string VersionText() {
    return std::string(str::kAboutVersion) + "\n";
}

}  // namespace ek
