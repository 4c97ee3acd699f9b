#include "shell/CommandLine.h"

#include "shell/Strings.h"

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

namespace {

bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

ArgumentShield::ArgumentShield(std::vector<std::string> args)
    : m_given(std::move(args)), m_tag("@ekview-argument") {
    // The stand-ins' prefix begins no argument given, so none is taken for another.
    for (bool clash = true; clash;) {
        clash = false;
        for (const std::string& arg : m_given) {
            if (arg.compare(0, m_tag.size(), m_tag) == 0) {
                m_tag += '@';
                clash = true;
            }
        }
    }
    for (std::size_t i = 0; i < m_given.size(); ++i) {
        m_forToolkit.push_back(IsAscii(m_given[i]) ? m_given[i] : m_tag + "-" + std::to_string(i));
    }
}

std::string ArgumentShield::Restore(const std::string& fromToolkit) const {
    for (std::size_t i = 0; i < m_forToolkit.size(); ++i) {
        if (m_forToolkit[i] == fromToolkit) {
            return m_given[i];
        }
    }
    return fromToolkit;
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
