// The program's command line: at most one mailbox file, and the usual --help and
// --version. Free of any toolkit, so that both work without a display.
#pragma once

#include <string>
#include <vector>

namespace ek {

struct CommandLineInfo {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // The mailbox to open; empty for a new, untitled document.
    std::string fileName;
    // For Error: what was wrong, in one line.
    std::string error;
};

// `args` are the arguments after the program name.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(const std::string& programName);
std::string VersionText();

}  // namespace ek
