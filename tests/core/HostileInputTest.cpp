// Hostile and broken mailboxes read the way the viewer and ekview-cli read them:
// the framework's open, then ReadMailFile (OpenMailFile does both). Odd contents,
// odd kinds of file, files that change or are locked while they are read. Each ends
// in a clear status or a sound message list: no crash, no hang, no message lost or
// invented.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "core/document/EKViewDoc.h"
#include "core/document/MailReader.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/NativePath.h"
#include "core/platform/ReadOnlyFile.h"
#include "core/views/ThreadLink.h"
#include "tests/support/HostileSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

const std::string S = kStart;
const std::string T = kStatus;

// Every question the panes ask, on every message: stored lines end with exactly one
// LF, and decoding the shown text keeps every line feed (no lead byte swallows one).
void ExpectSoundMessages(const CEKViewDoc& doc) {
    std::vector<std::string> row;
    std::vector<std::string> lines;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        SCOPED_TRACE("message " + std::to_string(i));
        for (std::string_view line : doc.MessageLines(i)) {
            ASSERT_FALSE(line.empty());
            ASSERT_EQ(line.find('\n'), line.size() - 1);
        }
        ASSERT_TRUE(doc.GetListRow(i, row));
        ASSERT_EQ(row.size(), 3u);
        doc.GetBoundary(i);
        ASSERT_TRUE(doc.GetMessageLines(i, lines, true));
        std::string joined;
        for (const std::string& line : lines) {
            joined += line;
        }
        const std::wstring decoded = cp932::ToWide(joined);
        EXPECT_EQ(std::count(decoded.begin(), decoded.end(), L'\n'),
                  std::count(joined.begin(), joined.end(), '\n'));
    }
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

struct ContentCase {
    const char* name;
    // Made when the case runs, so that no test process pays for the others' inputs.
    std::function<std::string()> bytes;
    ReadStatus status;
    int count;
};

// Test names show the case, not its bytes.
void PrintTo(const ContentCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileContent : public testing::TestWithParam<ContentCase> {};

TEST_P(HostileContent, GivesTheRightCountOrNoMessages) {
    const ContentCase& c = GetParam();
    TempFile file(c.bytes());
    CEKViewDoc doc;
    EXPECT_EQ(doc.OpenMailFile(file.path()).status, c.status);
    EXPECT_EQ(doc.GetMessageCount(), c.count);
    ExpectSoundMessages(doc);
}

std::string RandomBodies(int messages) {
    std::string mailbox;
    for (int i = 0; i < messages; ++i) {
        std::string body = RandomBytes(2000, static_cast<unsigned>(i));
        std::replace(body.begin(), body.end(), '\x1a', '.');
        mailbox += Message({"Subject: " + body.substr(0, 40)}, {body});
    }
    return mailbox;
}

// Bytes that are no CP932 character: 0x80, 0xA0, 0xFD-0xFF, lead bytes without a
// trail byte, and pairs with no mapping.
const std::string kInvalidSjis = "\x80\xa0\xfd\xfe\xff\x81\x20\x85\x40\xeb\x40\xfc\xfc\x9f";

INSTANTIATE_TEST_SUITE_P(
    Files, HostileContent,
    testing::Values(
        ContentCase{"Empty", [] { return std::string(); }, ReadStatus::NoMessages, 0},
        ContentCase{"NulBytes", [] { return std::string(1 << 16, '\0'); }, ReadStatus::NoMessages,
                    0},
        ContentCase{"NulBytesInEveryLine",
                    [] {
                        return Repeat(
                            Message({std::string("Subject: a\0b", 12)}, {std::string(5, '\0')}), 3);
                    },
                    ReadStatus::Ok, 3},
        ContentCase{"RandomBinary", [] { return RandomBytes(1 << 20, 1); }, ReadStatus::NoMessages,
                    0},
        ContentCase{"RandomBinaryBodies", [] { return RandomBodies(50); }, ReadStatus::Ok, 50},
        ContentCase{"EndOfTextInTheMiddle",
                    [] {
                        return Repeat(Message({"Subject: kept"}), 10) + "\x1a" +
                               Repeat(Message({"Subject: lost"}), 10);
                    },
                    ReadStatus::Ok, 10},
        ContentCase{"LoneLeadByteBeforeEveryLf",
                    [] {
                        return Repeat(
                            S + "\n" + T + "\x82\nSubject: \x82\nFrom: \x82\n\x82\r\n\n\x82\n", 7);
                    },
                    ReadStatus::Ok, 7},
        ContentCase{"InvalidShiftJisEverywhere",
                    [] {
                        return "\xff\xfe" + kInvalidSjis + "\n" +
                               Repeat(Message({"Date: " + kInvalidSjis,
                                               "From: " + kInvalidSjis + " <" + kInvalidSjis + ">",
                                               "Subject: " + kInvalidSjis,
                                               "Content-Type: multipart/mixed; boundary=\"" +
                                                   kInvalidSjis + "\""},
                                              {kInvalidSjis, "--" + kInvalidSjis, kInvalidSjis}),
                                      5);
                    },
                    ReadStatus::Ok, 5},
        ContentCase{"OnlyLineEnds",
                    [] { return std::string(100000, '\n') + std::string(100000, '\r'); },
                    ReadStatus::NoMessages, 0},
        ContentCase{"StartPairsOnly", [] { return Repeat(S + "\n" + T + "\n", 1000); },
                    ReadStatus::Ok, 1000},
        ContentCase{"StartLinesWithoutStatus", [] { return Repeat(S + "\n", 1000); },
                    ReadStatus::NoMessages, 0}),
    [](const testing::TestParamInfo<ContentCase>& info) { return info.param.name; });

// Every byte value in each of the six separator places: the message opens unless the
// byte ends the line (LF) or the file (0x1A).
TEST(HostileContent, MessageStartWithEverySeparator) {
    const std::string before = Message({"Subject: first"});
    CEKViewDoc doc;
    for (std::size_t place : {3u, 7u, 10u, 13u, 16u, 19u}) {
        for (int value = 0; value < 256; ++value) {
            std::string start = S;
            start[7 + place] = static_cast<char>(value);
            SCOPED_TRACE("separator " + std::to_string(place) + " = " + std::to_string(value));
            ASSERT_TRUE(ReadInto(doc, before + start + "\n" + T + "\nSubject: probe\n").ok());
            const bool opens = value != '\n' && value != 0x1A;
            ASSERT_EQ(doc.GetMessageCount(), opens ? 2 : 1);
            std::vector<std::string> row;
            doc.GetListRow(doc.GetMessageCount() - 1, row);
            EXPECT_EQ(row[2], opens ? "probe" : "first");
        }
    }
}

TEST(HostileSize, AHugeSingleLineIsKeptWhole) {
    constexpr std::size_t kLineSize = std::size_t{200} << 20;
    TempFile file(S + "\n" + T + "\nSubject: huge\n\n");
    {
        std::ofstream out(file.path(), std::ios::binary | std::ios::app);
        const std::string block(1 << 20, 'x');
        for (std::size_t written = 0; written < kLineSize; written += block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        out << "\n" << Message({"Date: Sun, 2 Jan 2000 15:04:05", "Subject: after"});
    }
    CEKViewDoc doc;
    ASSERT_TRUE(doc.OpenMailFile(file.path()).ok());
    ASSERT_EQ(doc.GetMessageCount(), 2);
    std::vector<std::string_view> lines;
    for (std::string_view line : doc.MessageLines(0)) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4].size(), kLineSize + 1);
    EXPECT_EQ(lines[4].find_first_not_of('x'), kLineSize);
    EXPECT_EQ(doc.GetHeaderValue(1, "Subject: "), "after");
}

TEST(HostileSize, AMillionOneLineMessages) {
    constexpr int kCount = 1000000;
    std::string mailbox;
    mailbox.reserve(std::size_t{kCount} * 64);
    for (int i = 0; i < kCount; ++i) {
        mailbox += S + "\n" + T + "\nSubject: " + std::to_string(i) + "\n";
    }
    TempFile file(mailbox);
    mailbox = std::string();
    CEKViewDoc doc;
    ASSERT_TRUE(doc.OpenMailFile(file.path()).ok());
    ASSERT_EQ(doc.GetMessageCount(), kCount);
    // No message has a date, so the stable order is the file order.
    for (int i : {0, 1, 499999, kCount - 1}) {
        EXPECT_EQ(doc.GetHeaderValue(i, "Subject: "), std::to_string(i));
    }
    const std::vector<ThreadRow> threads = BuildThreadOrder(doc, nullptr);
    ASSERT_EQ(threads.size(), static_cast<std::size_t>(kCount));
    EXPECT_EQ(threads.back().index, kCount - 1);
}

// ---- Kinds of file that are no mailbox ----

struct PathCase {
    const char* name;
    // Makes the thing to open inside `dir` and returns its path; descriptors that must
    // stay open while it is read go to `held`.
    std::function<std::string(const std::string& dir, std::vector<int>& held)> make;
};

// Test names show the case, not its bytes.
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class HostilePath : public testing::TestWithParam<PathCase> {};

// The child reports the status and whether a reason came with it.
int ReadStatusCode(const std::string& path) {
    CEKViewDoc doc;
    ReadResult result = doc.OpenMailFile(path);
    return static_cast<int>(result.status) * 2 + (result.reason.empty() ? 0 : 1);
}

constexpr int kOpenFailedWithReason = static_cast<int>(ReadStatus::OpenFailed) * 2 + 1;

TEST_P(HostilePath, IsRefusedWithAReasonAndNeverHangs) {
    TempFile holder("unused");
    std::vector<int> held;
    const std::string path = GetParam().make(holder.dir(), held);
    ChildOutcome outcome = RunInChild([&] { return ReadStatusCode(path); });
#ifndef _WIN32
    for (int fd : held) {
        ::close(fd);
    }
#endif
    ASSERT_TRUE(outcome.finished) << "the read blocked";
    EXPECT_EQ(outcome.exitCode, kOpenFailedWithReason) << "signal " << outcome.signal;
}

#ifndef _WIN32

int MakeSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HostilePath,
    testing::Values(
        PathCase{"Directory", [](const std::string& dir, std::vector<int>&) { return dir; }},
        PathCase{"Missing",
                 [](const std::string& dir, std::vector<int>&) { return dir + "/missing.mbx"; }},
        PathCase{"SymbolicLinkLoop",
                 [](const std::string& dir, std::vector<int>&) {
                     ::symlink((dir + "/b").c_str(), (dir + "/a").c_str());
                     ::symlink((dir + "/a").c_str(), (dir + "/b").c_str());
                     return dir + "/a";
                 }},
        PathCase{"DanglingLink",
                 [](const std::string& dir, std::vector<int>&) {
                     ::symlink((dir + "/gone").c_str(), (dir + "/link").c_str());
                     return dir + "/link";
                 }},
        PathCase{"FifoWithoutWriter",
                 [](const std::string& dir, std::vector<int>&) {
                     ::mkfifo((dir + "/pipe").c_str(), 0600);
                     return dir + "/pipe";
                 }},
        PathCase{"FifoWithAWriterThatSendsNothing",
                 [](const std::string& dir, std::vector<int>& held) {
                     ::mkfifo((dir + "/pipe").c_str(), 0600);
                     // Held open for reading and writing, so the pipe has a writer.
                     held.push_back(::open((dir + "/pipe").c_str(), O_RDWR | O_CLOEXEC));
                     return dir + "/pipe";
                 }},
        PathCase{"EndlessDevice",
                 [](const std::string&, std::vector<int>&) { return std::string("/dev/zero"); }},
        PathCase{"EmptyDevice",
                 [](const std::string&, std::vector<int>&) { return std::string("/dev/null"); }},
        PathCase{"Socket",
                 [](const std::string& dir, std::vector<int>& held) {
                     held.push_back(MakeSocket(dir + "/socket"));
                     return dir + "/socket";
                 }},
        PathCase{"FileInsideAFile", [](const std::string& dir,
                                       std::vector<int>&) { return dir + "/mail.mbx/inner.mbx"; }}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });

#else

// Windows: devices and names the system reserves; FIFOs, sockets and links are
// POSIX kinds of file.
INSTANTIATE_TEST_SUITE_P(
    Kinds, HostilePath,
    testing::Values(
        PathCase{"Directory", [](const std::string& dir, std::vector<int>&) { return dir; }},
        PathCase{"Missing",
                 [](const std::string& dir, std::vector<int>&) { return dir + "/missing.mbx"; }},
        PathCase{"EmptyDevice",
                 [](const std::string&, std::vector<int>&) { return std::string("NUL"); }},
        PathCase{"DevicePath",
                 [](const std::string&, std::vector<int>&) { return std::string("\\\\.\\NUL"); }},
        PathCase{"FileInsideAFile", [](const std::string& dir,
                                       std::vector<int>&) { return dir + "/mail.mbx/inner.mbx"; }}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });

#endif

TEST(HostilePath, AFileReplacedByAFifoAfterTheOpenIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs in the file system are POSIX only";
#else
    TempFile file(Message({"Subject: a"}));
    CEKViewDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()).ok());
    doc.SetPathName(file.path());
    ASSERT_EQ(::unlink(file.path().c_str()), 0);
    ASSERT_EQ(::mkfifo(file.path().c_str(), 0600), 0);
    ChildOutcome outcome = RunInChild([&] {
        ReadResult result = doc.ReadMailFile();
        return result.status == ReadStatus::OpenFailed && !result.reason.empty() ? 0 : 1;
    });
    ASSERT_TRUE(outcome.finished) << "the read blocked";
    EXPECT_EQ(outcome.exitCode, 0);
#endif
}

TEST(HostilePath, AFileWithoutReadPermission) {
#ifdef _WIN32
    GTEST_SKIP()
        << "file modes and a user to drop to are POSIX; Windows access lists are not tried";
#else
    TempFile file(Message({"Subject: secret"}));
    ASSERT_EQ(::chmod(file.dir().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(file.path().c_str(), 0), 0);
    // Root reads any file; the check runs as an unprivileged user in a child then.
    const bool root = ::geteuid() == 0;
    constexpr int kCannotDropPrivileges = 99;
    ChildOutcome outcome = RunInChild([&] {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return kCannotDropPrivileges;
        }
        return ReadStatusCode(file.path());
    });
    ASSERT_TRUE(outcome.finished);
    if (outcome.exitCode == kCannotDropPrivileges) {
        GTEST_SKIP() << "running as root and cannot switch to an unprivileged user";
    }
    EXPECT_EQ(outcome.exitCode, kOpenFailedWithReason);
#endif
}

TEST(HostilePath, NonAsciiNamesReadLikeAnyOther) {
    const std::string mailbox = Message({"Subject: a"}) + Message({"Subject: b"});
    // UTF-8, and CP932 bytes that are no UTF-8, in the folder and file names.
    for (const std::string name : {"受信箱 ☃ (1).mbx", "\x8e\xf3\x90\x4d\x94\xa0.mbx"}) {
        SCOPED_TRACE(name);
        TempFile file(mailbox, name);
        CEKViewDoc doc;
        EXPECT_TRUE(doc.OpenMailFile(file.path()).ok());
        EXPECT_EQ(doc.GetMessageCount(), 2);
        const std::string folder = file.dir() + "/フォルダ\xff";
        ASSERT_TRUE(std::filesystem::create_directory(NativePath(folder)));
        WriteFile(folder + "/" + name, mailbox);
        EXPECT_TRUE(doc.OpenMailFile(folder + "/" + name).ok());
        EXPECT_EQ(doc.GetMessageCount(), 2);
        ReadResult missing = doc.OpenMailFile(folder + "/なし" + name);
        EXPECT_EQ(missing.status, ReadStatus::OpenFailed);
        EXPECT_FALSE(missing.reason.empty());
    }
}

}  // namespace
}  // namespace ek::test
