#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace ek {
namespace {

using Action = CommandLineInfo::Action;

struct LineCase {
    std::vector<std::string> args;
    Action action;
    std::string fileName;
};

TEST(CommandLineTest, ParsesFilesAndOptions) {
    const LineCase cases[] = {
        {{}, Action::Run, ""},
        {{"inbox.mbx"}, Action::Run, "inbox.mbx"},
        {{"/home/me/受信箱.mbx"}, Action::Run, "/home/me/受信箱.mbx"},
        {{"--help"}, Action::Help, ""},
        {{"-h"}, Action::Help, ""},
        {{"inbox.mbx", "--version"}, Action::Version, ""},
        {{"-V"}, Action::Version, ""},
        {{"--", "--help"}, Action::Run, "--help"},
        {{"--", "-"}, Action::Run, "-"},
        {{"-"}, Action::Run, "-"},
        {{"--verbose"}, Action::Error, ""},
        {{"a.mbx", "b.mbx"}, Action::Error, ""},
        {{""}, Action::Error, ""},
    };
    for (const LineCase& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args) {
            shown += "[" + arg + "]";
        }
        SCOPED_TRACE(shown);
        CommandLineInfo info = ParseCommandLine(c.args);
        EXPECT_EQ(info.action, c.action);
        EXPECT_EQ(info.fileName, c.fileName);
        EXPECT_EQ(info.error.empty(), c.action != Action::Error);
    }
}

TEST(CommandLineTest, HelpAndVersionTexts) {
    EXPECT_NE(UsageText("ekview").find("Usage: ekview"), std::string::npos);
    EXPECT_NE(UsageText("ekview").find("--version"), std::string::npos);
    EXPECT_EQ(VersionText(), "EKView Version 1.51\n");
}

}  // namespace
}  // namespace ek
