// ekview-cli run as a process on hostile mailboxes and profiles: it ends with a clear
// message or a sound result, never sends the mail's control sequences to the
// terminal, and leaves the mailbox and everything beside it as they were.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "core/platform/NativePath.h"
#include "core/platform/ReadOnlyFile.h"
#include "tests/support/HostileSupport.h"
#include "tests/support/ProcessSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using CliResult = ProcessResult;

std::string Describe(const std::vector<std::string>& args, const CliResult& run) {
    std::string text = "ekview-cli";
    for (const std::string& arg : args) {
        text += " " + arg;
    }
    return text + "\nexit " + std::to_string(run.exitCode) + ", signal " +
           std::to_string(run.signal) + "\nstderr: " + run.err;
}

// Nothing a terminal would act on: no C0 control but LF, no DEL, no C1 control, and
// nothing but well-formed UTF-8.
bool IsSafeForATerminal(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b < 0x20 && b != '\n') || b == 0x7F) {
            return false;
        }
        if (b >= 0x80) {
            const std::size_t extra = b >= 0xF5   ? 9
                                      : b >= 0xF0 ? 3
                                      : b >= 0xE0 ? 2
                                      : b >= 0xC2 ? 1
                                                  : 9;
            if (extra == 9 || i + extra >= text.size()) {
                return false;
            }
            for (std::size_t k = 1; k <= extra; ++k) {
                if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                    return false;
                }
            }
            if (b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
                return false;
            }
            i += extra;
        }
    }
    return true;
}

std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

const std::vector<std::vector<std::string>> kCommands = {{"list"},
                                                         {"list", "--json"},
                                                         {"threads"},
                                                         {"threads", "--json"},
                                                         {"show", "@", "0"},
                                                         {"show", "--json", "@", "0"},
                                                         {"show", "--short-headers", "@", "0"}};

// The command with "@" (or, when there is none, a last argument) standing for `path`.
std::vector<std::string> WithPath(std::vector<std::string> command, const std::string& path) {
    auto at = std::find(command.begin(), command.end(), "@");
    if (at != command.end()) {
        *at = path;
    } else {
        command.push_back(path);
    }
    return command;
}

struct FileCase {
    const char* name;
    std::string bytes;
    int messages;  // 0: the file holds none
};

// Test names show the case, not its bytes.
void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kInvalidSjis = "\x80\xa0\xfd\xfe\xff\x81\x20\x85\x40\xeb\x40\xfc\xfc\x9f";

class CliHostileFile : public testing::TestWithParam<FileCase> {};

TEST_P(CliHostileFile, EveryCommandEndsCleanly) {
    const FileCase& c = GetParam();
    TempFile file(c.bytes);
    for (const std::vector<std::string>& command : kCommands) {
        const std::vector<std::string> args = WithPath(command, file.path());
        const CliResult run = RunCli(args);
        SCOPED_TRACE(Describe(args, run));
        ASSERT_TRUE(run.finished);
        if (c.messages == 0) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err, "EK-Mailメールファイルではありません\n");
            EXPECT_EQ(run.out, "");
            continue;
        }
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(IsSafeForATerminal(run.out));
        if (command[0] != "show") {
            EXPECT_EQ(CountLines(run.out), static_cast<std::size_t>(c.messages));
        }
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliHostileFile,
    testing::Values(
        FileCase{"Empty", "", 0}, FileCase{"NulBytes", std::string(4096, '\0'), 0},
        FileCase{"Binary",
                 [] {
                     std::string bytes;
                     for (int i = 0; i < 65536; ++i) {
                         bytes += static_cast<char>((i * 2654435761u) >> 24);
                     }
                     return bytes;
                 }(),
                 0},
        FileCase{"NulBytesInMessages",
                 Repeat(Message({std::string("Subject: a\0b", 12), std::string("From: \0", 7)},
                                {std::string(3, '\0')}),
                        2),
                 2},
        FileCase{"EndOfTextInTheMiddle",
                 Repeat(Message({"Subject: kept"}), 3) + "\x1a" + Message({"Subject: lost"}), 3},
        FileCase{
            "LoneLeadByteBeforeEveryLf",
            Repeat(kStart + "\n" + kStatus + "\x82\nSubject: \x82\nFrom: \x82 <\x82>\n\n\x82\n", 4),
            4},
        FileCase{
            "InvalidShiftJisEverywhere",
            Repeat(Message({"Date: " + kInvalidSjis, "From: " + kInvalidSjis,
                            "Subject: " + kInvalidSjis, "Message-Id: " + kInvalidSjis,
                            "In-Reply-To: " + kInvalidSjis,
                            "Content-Type: multipart/mixed; boundary=\"" + kInvalidSjis + "\""},
                           {kInvalidSjis, "--" + kInvalidSjis, kInvalidSjis}),
                   3),
            3}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.name; });

struct PathCase {
    const char* name;
    std::function<std::string(const std::string& dir)> make;
};

// Test names show the case, not its bytes.
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class CliHostilePath : public testing::TestWithParam<PathCase> {};

TEST_P(CliHostilePath, IsRefusedWithItsReason) {
    TempFile holder(Message({"Subject: a"}));
    const std::string path = GetParam().make(holder.dir());
    for (const std::vector<std::string>& command : kCommands) {
        const std::vector<std::string> args = WithPath(command, path);
        const CliResult run = RunCli(args);
        SCOPED_TRACE(Describe(args, run));
        ASSERT_TRUE(run.finished) << "ekview-cli blocked";
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("ekview-cli: " + path + ": ", 0), 0u);
    }
}

#ifndef _WIN32

INSTANTIATE_TEST_SUITE_P(
    Kinds, CliHostilePath,
    testing::Values(
        PathCase{"Directory", [](const std::string& dir) { return dir; }},
        PathCase{"Missing", [](const std::string& dir) { return dir + "/missing.mbx"; }},
        PathCase{"SymbolicLinkLoop",
                 [](const std::string& dir) {
                     ::symlink((dir + "/b").c_str(), (dir + "/a").c_str());
                     ::symlink((dir + "/a").c_str(), (dir + "/b").c_str());
                     return dir + "/a";
                 }},
        PathCase{"Fifo",
                 [](const std::string& dir) {
                     ::mkfifo((dir + "/pipe").c_str(), 0600);
                     return dir + "/pipe";
                 }},
        PathCase{"EndlessDevice", [](const std::string&) { return std::string("/dev/zero"); }}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });

#else

INSTANTIATE_TEST_SUITE_P(
    Kinds, CliHostilePath,
    testing::Values(PathCase{"Directory", [](const std::string& dir) { return dir; }},
                    PathCase{"Missing",
                             [](const std::string& dir) { return dir + "/missing.mbx"; }},
                    PathCase{"EmptyDevice", [](const std::string&) { return std::string("NUL"); }}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });

#endif

TEST(CliHostile, AFileAnotherProcessIsWritingIsRefused) {
    TempFile file(Message({"Subject: a"}));
    LockHolder writer(file.path(), LockKind::Write);
    ASSERT_TRUE(writer.locked());
    const CliResult run = RunCli({"list", file.path()});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "ekview-cli: " + file.path() + ": " + ReadOnlyFile::kInUseReason + "\n");
    writer.Release();
    EXPECT_EQ(RunCli({"list", file.path()}).exitCode, 0);
}

TEST(CliHostile, AFileWithoutReadPermissionIsRefused) {
#ifdef _WIN32
    GTEST_SKIP()
        << "file modes and a user to drop to are POSIX; Windows access lists are not tried";
#else
    TempFile file(Message({"Subject: a"}));
    ASSERT_EQ(::chmod(file.dir().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(file.path().c_str(), 0), 0);
    const CliResult run = RunCli({"list", file.path()}, {file.dir(), ::geteuid() == 0});
    ASSERT_TRUE(run.finished);
    if (run.exitCode == 124 || run.exitCode == 126) {
        GTEST_SKIP() << "cannot run ekview-cli as an unprivileged user here";
    }
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "ekview-cli: " + file.path() + ": Permission denied\n");
#endif
}

TEST(CliHostile, NonAsciiPathsAreRead) {
    for (const std::string name : {"受信箱 ☃.mbx", "\x8e\xf3\x90\x4d.mbx"}) {
        TempFile file(Message({"Subject: a"}) + Message({"Subject: b"}), name);
        const CliResult run = RunCli({"list", file.path()});
        SCOPED_TRACE(Describe({"list", name}, run));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(CountLines(run.out), 2u);
    }
}

// A profile that is no regular file gives the defaults at once: a folder must not
// stop the tool, nor a FIFO that nobody writes to block it.
TEST(CliHostile, AProfileThatIsNoRegularFileDoesNotStopShow) {
    TempFile file(Message({"Subject: a"}, {"> quoted"}));
#ifdef _WIN32
    // FIFOs in the file system are POSIX only.
    const std::vector<bool> kinds = {false};
#else
    const std::vector<bool> kinds = {false, true};
#endif
    for (bool fifo : kinds) {
        SCOPED_TRACE(fifo ? "FIFO" : "folder");
        TempFile config("unused");
        const std::string profile = config.dir() + "/Ubrik/EKView.conf";
        ASSERT_TRUE(std::filesystem::create_directory(NativePath(config.dir() + "/Ubrik")));
#ifdef _WIN32
        ASSERT_TRUE(std::filesystem::create_directory(NativePath(profile)));
#else
        ASSERT_EQ(fifo ? ::mkfifo(profile.c_str(), 0600) : ::mkdir(profile.c_str(), 0700), 0);
#endif
        const CliResult run =
            RunCli({"show", file.path(), "0"}, {config.dir(), false, std::chrono::seconds(10)});
        ASSERT_TRUE(run.finished) << "ekview-cli blocked on the profile";
        EXPECT_EQ(run.exitCode, 0) << "signal " << run.signal << ", stderr: " << run.err;
        EXPECT_NE(run.out.find("> quoted"), std::string::npos);
    }
}

// ---- Control sequences in mail never reach the terminal ----

const std::string kSequences[] = {
    "\x1b[2J",                 // erase the screen
    "\x1b]0;owned\x07",        // set the window title
    "\x1b]52;c;ZXZpbA==\x07",  // write the clipboard
    "\x1b[6n",                 // ask the terminal to type its cursor position
    "\x1bP+q544e\x1b\\",       // a device control string
    "\x9b"
    "31m",                 // CSI as one byte (a CP932 lead byte here)
    "\x07\x08\x7f\r\x0e",  // bell, backspace, delete, return, shift out
};

std::string Hostile(const std::string& where) {
    std::string text = where;
    for (const std::string& sequence : kSequences) {
        text += sequence + "x";
    }
    return text;
}

TEST(CliHostile, MailControlSequencesNeverReachTheTerminal) {
    TempFile file(
        Message({"Date: " + Hostile("Sun, 2 Jan 2000 "), "From: " + Hostile("name ") + " <a@b>",
                 "Subject: " + Hostile("subject "), "Message-Id: <1>"},
                {Hostile("body "), "> " + Hostile("quoted ")}) +
        Message({"From: <" + Hostile("") + ">", "Subject: " + Hostile("Re: "), "In-Reply-To: <1>"},
                {Hostile("")}));
    const std::regex ourColours("\x1b\\[[0-9;]*m");
    for (std::vector<std::string> command :
         std::vector<std::vector<std::string>>{{"list"},
                                               {"list", "--json"},
                                               {"threads"},
                                               {"threads", "--json"},
                                               {"show", "@", "0"},
                                               {"show", "@", "1"},
                                               {"show", "--json", "@", "0"},
                                               {"show", "--color=always", "--quote", ">", "@", "0"},
                                               {"show", "--color=always", "@", "1"}}) {
        const std::vector<std::string> args = WithPath(command, file.path());
        const CliResult run = RunCli(args);
        SCOPED_TRACE(Describe(args, run));
        ASSERT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.find("\\x1b") != std::string::npos ||
                    run.out.find("\\u001b") != std::string::npos)
            << "the sequences are shown escaped";
        EXPECT_TRUE(IsSafeForATerminal(std::regex_replace(run.out, ourColours, "")));
        EXPECT_TRUE(IsSafeForATerminal(run.err));
    }
}

// ---- The read-only promise ----

struct FileState {
    std::string bytes;
    std::uintmax_t size = 0;
    std::filesystem::perms permissions{};
    std::filesystem::file_time_type written{};
#ifndef _WIN32
    struct stat info {};  // for the change time, which only POSIX keeps
#endif
};

FileState StateOf(const std::filesystem::path& path) {
    FileState state;
    std::error_code error;
    state.size =
        std::filesystem::is_regular_file(path, error) ? std::filesystem::file_size(path, error) : 0;
    state.permissions = std::filesystem::symlink_status(path, error).permissions();
    state.written = std::filesystem::last_write_time(path, error);
    if (std::filesystem::is_regular_file(path, error)) {
        state.bytes = ReadFile(PathBytes(path));
    }
#ifndef _WIN32
    ::lstat(path.c_str(), &state.info);
#endif
    return state;
}

// Every entry of `dir` with its bytes and status, and the folder's own status.
std::map<std::string, FileState> Snapshot(const std::string& dir) {
    std::map<std::string, FileState> state;
    state["."] = StateOf(NativePath(dir));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(dir), error)) {
        state[PathBytes(entry.path().filename())] = StateOf(entry.path());
    }
    return state;
}

void ExpectUnchanged(const std::map<std::string, FileState>& before,
                     const std::map<std::string, FileState>& after) {
    ASSERT_EQ(before.size(), after.size()) << "a file was created or removed";
    for (const auto& [name, was] : before) {
        SCOPED_TRACE(name);
        ASSERT_EQ(after.count(name), 1u);
        const FileState& now = after.at(name);
        EXPECT_EQ(now.bytes, was.bytes);
        EXPECT_EQ(now.size, was.size);
        EXPECT_EQ(now.permissions, was.permissions);
        EXPECT_EQ(now.written, was.written);
#ifndef _WIN32
        EXPECT_EQ(now.info.st_mode, was.info.st_mode);
        EXPECT_EQ(now.info.st_ctim.tv_sec, was.info.st_ctim.tv_sec);
        EXPECT_EQ(now.info.st_ctim.tv_nsec, was.info.st_ctim.tv_nsec);
#endif
    }
}

TEST(CliReadOnly, EveryCommandLeavesTheMailboxAndItsFolderAsTheyWere) {
    TempFile file(Message({"Date: Sun, 2 Jan 2000 10:00:00", "Subject: a", "Message-Id: <a>"},
                          {"> quoted http://example.jp/ a@b.jp"}) +
                  Message({"Subject: Re: a", "In-Reply-To: <a>",
                           "Content-Type: multipart/mixed; boundary=\"b\""},
                          {"--b", "", "text", "--b--"}));
    WriteFile(file.dir() + "/neighbour.txt", "left alone\n");
    TempFile config("", "unused");
    ASSERT_TRUE(std::filesystem::create_directory(NativePath(config.dir() + "/Ubrik")));
    WriteFile(config.dir() + "/Ubrik/EKView.conf", "[Settings]\nQuote=> |\nQuoteClr=255\n");
    const auto mailboxBefore = Snapshot(file.dir());
    const auto configBefore = Snapshot(config.dir() + "/Ubrik");

    int runs = 0;
    for (std::vector<std::string> command :
         std::vector<std::vector<std::string>>{{"list"},
                                               {"list", "--json"},
                                               {"threads"},
                                               {"threads", "--json"},
                                               {"show", "@", "0"},
                                               {"show", "@", "1"},
                                               {"show", "--json", "--short-headers", "@", "1"},
                                               {"show", "--color=always", "@", "0"},
                                               {"show", "@", "2"},
                                               {"show", "@", "-1"},
                                               {"list", "--bogus"}}) {
        const std::vector<std::string> args = WithPath(command, file.path());
        const CliResult run = RunCli(args, {config.dir(), false});
        SCOPED_TRACE(Describe(args, run));
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1 || run.exitCode == 2);
        ++runs;
    }
    EXPECT_EQ(runs, 11);
    ExpectUnchanged(mailboxBefore, Snapshot(file.dir()));
    ExpectUnchanged(configBefore, Snapshot(config.dir() + "/Ubrik"));
}

}  // namespace
}  // namespace ek::test
