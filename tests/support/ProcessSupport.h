// Runs a program as a process for the tests, the same way on POSIX and Windows:
// arguments in UTF-8, standard input empty, output and errors caught, a deadline.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace ek::test {

struct ProcessResult {
    bool finished = false;  // false: still running at the deadline, and killed
    int exitCode = -1;
    int signal = 0;  // POSIX: the signal that ended it
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // Variables set for the program on top of the test's own environment.
    std::vector<std::pair<std::string, std::string>> environment;
    std::chrono::milliseconds deadline = std::chrono::seconds(60);
    // POSIX, as root: run as user and group 65534. Exit code 124 when that fails.
    bool asUnprivileged = false;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

struct CliOptions {
    std::string configHome;       // XDG_CONFIG_HOME; a fresh empty folder when empty
    bool asUnprivileged = false;  // run as user and group 65534
    std::chrono::milliseconds deadline = std::chrono::seconds(60);
};

// Runs ekview-cli on its own profile folder, so that no user setting leaks in.
ProcessResult RunCli(const std::vector<std::string>& args, const CliOptions& options = {});

}  // namespace ek::test
