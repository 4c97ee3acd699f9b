// ekview-cli: the mailbox reader for terminals and scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Decoding.h"
#include "cli/ExportCommand.h"
#include "cli/ListCommand.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/SearchCommand.h"
#include "cli/ShowCommand.h"
#include "cli/ThreadsCommand.h"
#include "core/platform/ConsoleIo.h"

int main(int argc, char** argv) {
    using namespace ek::cli;
    ek::PrepareStandardStreams();
    std::vector<std::string> args = ek::CommandLineArguments(argc, argv);
    if (args.empty()) {
        return UsageError("a command is missing");
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (command == "--version") {
        std::puts("ekview-cli (EKView) 1.51");
        return kExitOk;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return kExitOk;
        }
    }
    if (command == "list") {
        return RunList(rest);
    }
    if (command == "threads") {
        return RunThreads(rest);
    }
    if (command == "show") {
        return RunShow(rest);
    }
    if (command == "export") {
        return RunExport(rest);
    }
    if (command == "search") {
        return RunSearch(rest);
    }
    if (command == "attachments") {
        return RunAttachments(rest);
    }
    if (command == "extract") {
        return RunExtract(rest);
    }
    return UsageError("unknown command '" + command + "'");
}
