#include <gtest/gtest.h>

#include <algorithm>

#include "shell/CommandLine.h"

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

TEST(CommandLineTest, TheToolkitGetsAsciiStandInsAndTheBytesComeBack) {
    const std::string cp932 = "/tmp/\x8e\xf3\x90M\x94\xa0.mbx";
    const std::vector<std::vector<std::string>> lines = {
        {},
        {cp932},
        {"--display", ":1", "/home/me/受信箱.mbx"},
        {"--", cp932, "--name", "ekview"},
        // Arguments that look like stand-ins are neither taken for one nor mixed up.
        {"@ekview-argument-0", cp932, "@ekview-argument@-1"},
    };
    for (const std::vector<std::string>& given : lines) {
        SCOPED_TRACE(testing::PrintToString(given));
        ArgumentShield shield(given);
        const std::vector<std::string>& forToolkit = shield.ForToolkit();
        ASSERT_EQ(forToolkit.size(), given.size());
        for (std::size_t i = 0; i < given.size(); ++i) {
            for (char c : forToolkit[i]) {
                EXPECT_LT(static_cast<unsigned char>(c), 0x80) << forToolkit[i];
            }
            EXPECT_EQ(shield.Restore(forToolkit[i]), given[i]);
            // Toolkit options such as --display :1 reach it as they are.
            const bool ascii = std::all_of(given[i].begin(), given[i].end(),
                                           [](char c) { return (c & 0x80) == 0; });
            EXPECT_EQ(forToolkit[i] == given[i], ascii) << forToolkit[i];
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_NE(forToolkit[i], forToolkit[j]);
            }
        }
    }
    EXPECT_EQ(ArgumentShield().Restore("inbox.mbx"), "inbox.mbx");
}

TEST(CommandLineTest, HelpAndVersionTexts) {
    EXPECT_NE(UsageText("ekview").find("Usage: ekview"), std::string::npos);
    EXPECT_NE(UsageText("ekview").find("--version"), std::string::npos);
    EXPECT_EQ(VersionText(), "EKView Version 1.51\n");
}

}  // namespace
}  // namespace ek
