// Reading a mailbox: message-start pairs, line ends, the end-of-text byte, cancel,
// and the file itself (open failures, locks, the read-only promise).
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "core/document/EKViewDoc.h"
#include "core/document/MailReader.h"
#include "core/platform/FileMapping.h"
#include "core/platform/NativePath.h"
#include "core/platform/ReadOnlyFile.h"
#include "tests/support/ReferenceReader.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using Messages = ReferenceMessages;

// The lines of each message; checks on the way that the reader's note of lines an
// mbox must quote agrees with the lines themselves.
Messages Collect(const MailboxText& mailbox) {
    Messages messages;
    for (const MessageSpan& span : mailbox.messages) {
        messages.emplace_back();
        bool fromLines = false;
        for (std::string_view line :
             LineRange(std::string_view(mailbox.text.get() + span.offset, span.length))) {
            fromLines = fromLines || (!messages.back().empty() && IsMboxFromLine(line));
            messages.back().emplace_back(line);
        }
        EXPECT_EQ(span.fromLines, fromLines) << "message " << messages.size() - 1;
    }
    return messages;
}

Messages ReadInChunks(const std::string& bytes, std::size_t chunk) {
    std::size_t offset = 0;
    ByteSource source = [&](char* buffer, std::size_t count, std::string&) -> long long {
        std::size_t n = std::min({count, chunk, bytes.size() - offset});
        std::memcpy(buffer, bytes.data() + offset, n);
        offset += n;
        return static_cast<long long>(n);
    };
    CProgressDlg progress;
    MailboxText mailbox;
    EXPECT_TRUE(ReadMailbox(source, bytes.size(), progress, mailbox).ok());
    return Collect(mailbox);
}

// The bytes as a file read through a copy-on-write mapping (where there is none, as
// on Windows, through the copying read). The file must keep its bytes.
Messages ReadMappedOnce(const std::string& bytes, std::size_t splitFrom, std::size_t slack) {
    TempFile file(bytes);
    ReadOnlyFile reader;
    std::string reason;
    EXPECT_TRUE(reader.Open(file.path(), FileSharing::Exclusive, reason)) << reason;
    FileMapping mapping;
    if (!reader.Map(mapping, slack)) {
        return ReadInChunks(bytes, 4096);
    }
    CProgressDlg progress;
    MailboxText mailbox;
    EXPECT_TRUE(ReadMappedMailbox(std::move(mapping), progress, mailbox, splitFrom).ok());
    Messages messages = Collect(mailbox);
    mailbox = MailboxText{};
    reader.Close();
    std::ifstream in(NativePath(file.path()), std::ios::binary);
    const std::string after{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(after, bytes) << "the mapped file was written";
    return messages;
}

// The mapped read by one thread compacting in place, checked against the reads that
// move changed messages after the file, by one thread and in two halves at once.
Messages ReadMapped(const std::string& bytes) {
    Messages inPlace = ReadMappedOnce(bytes, kSplitReadMinimum, 1);
    const std::size_t slack = MappedReadSlack(bytes.size());
    EXPECT_EQ(ReadMappedOnce(bytes, kSplitReadMinimum, slack), inPlace) << "moved";
    EXPECT_EQ(ReadMappedOnce(bytes, 1, slack), inPlace) << "moved, in two halves";
    EXPECT_EQ(ReadMappedOnce(bytes, 1, 1), inPlace) << "in place, in two halves";
    return inPlace;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char buf[4];
        std::snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7f ? "%c" : "\\%02x", c);
        out += (c >= 0x20 && c < 0x7f) ? std::string(1, static_cast<char>(c)) : buf;
    }
    return out;
}

struct StartCase {
    const char* line;
    bool isStart;
};

class MessageStartLine : public testing::TestWithParam<StartCase> {};

TEST_P(MessageStartLine, IsRecognisedByLengthNamesAndDigitsOnly) {
    EXPECT_EQ(CEKViewDoc::IsMessageStart(GetParam().line), GetParam().isStart)
        << "line: '" << GetParam().line << "'";
}

INSTANTIATE_TEST_SUITE_P(Variants, MessageStartLine,
                         testing::Values(StartCase{"From - Sun Jan 02 15:04:05 2000", true},
                                         StartCase{"From - sun JAN 02 15:04:05 2000", true},
                                         StartCase{"From - Mon Feb 30 99:99:99 0000", true},
                                         StartCase{"From - Sun-Jan/02.15x04y05z2000", true},
                                         StartCase{"From - Sat Dec 31 23:59:59 9999", true},
                                         StartCase{"From - Sun Jan  2 15:04:05 2000", false},
                                         StartCase{"From - Sun Jan 02 15:04:05 2000 ", false},
                                         StartCase{"From - Sun Jan 02 15:04:05 200", false},
                                         StartCase{"from - Sun Jan 02 15:04:05 2000", false},
                                         StartCase{"From  Sun Jan 02 15:04:05 2000 ", false},
                                         StartCase{"From - Sux Jan 02 15:04:05 2000", false},
                                         StartCase{"From - Sun Jax 02 15:04:05 2000", false},
                                         StartCase{"From - Sun Jan 02 15:04:05 20O0", false},
                                         StartCase{" From - Sun Jan 02 15:04:05 2000", false},
                                         StartCase{"From - Sun Jan 02 15:04:05 2000\r", false},
                                         StartCase{"From - ", false}, StartCase{"", false}));

TEST(StatusLine, BeginsWithTheExactName) {
    EXPECT_TRUE(CEKViewDoc::IsStatusLine("X-EKMail-Status: "));
    EXPECT_TRUE(CEKViewDoc::IsStatusLine("X-EKMail-Status: 0001 anything"));
    EXPECT_FALSE(CEKViewDoc::IsStatusLine("X-EKMail-Status:"));
    EXPECT_FALSE(CEKViewDoc::IsStatusLine("x-ekmail-status: 0001"));
    EXPECT_FALSE(CEKViewDoc::IsStatusLine(" X-EKMail-Status: 0001"));
}

struct ReadCase {
    const char* name;
    std::string bytes;
    Messages expected;
};

class Reading : public testing::TestWithParam<ReadCase> {};

TEST_P(Reading, StoresEachLineWithOneLf) {
    const ReadCase& c = GetParam();
    SCOPED_TRACE("input: " + Hex(c.bytes));
    CEKViewDoc doc;
    ReadResult result = ReadInto(doc, c.bytes);
    EXPECT_EQ(result.ok(), !c.expected.empty());
    // One message stays in file order; the ordering is tested on its own.
    EXPECT_EQ(StoredMessages(doc), c.expected);
}

const std::string S = kStart;
const std::string T = kStatus;

INSTANTIATE_TEST_SUITE_P(
    Rules, Reading,
    testing::Values(
        ReadCase{"Empty", "", {}}, ReadCase{"NoStartPair", "hello\nworld\n", {}},
        ReadCase{"TextBeforeFirstMessageDropped",
                 "junk\n" + S + "\n" + T + "\nSubject: a\n",
                 {{S + "\n", T + "\n", "Subject: a\n"}}},
        ReadCase{"CrLfEqualsLf",
                 S + "\r\n" + T + "\r\nSubject: a\r\n\r\nbody\r\n",
                 {{S + "\n", T + "\n", "Subject: a\n", "\n", "body\n"}}},
        ReadCase{"OnlyOneCrDropped",
                 S + "\n" + T + "\na\r\r\nb\rc\n",
                 {{S + "\n", T + "\n", "a\r\n", "b\rc\n"}}},
        ReadCase{
            "CrAtEndWithoutLfKept", S + "\n" + T + "\nend\r", {{S + "\n", T + "\n", "end\r\n"}}},
        ReadCase{"LastLineWithoutLf", S + "\n" + T + "\nlast", {{S + "\n", T + "\n", "last\n"}}},
        ReadCase{"EndOfTextByteEndsFile",
                 S + "\n" + T + "\nkept\nhalf\x1alost\n" + S + "\n",
                 {{S + "\n", T + "\n", "kept\n", "half\n"}}},
        ReadCase{"NulBytesKept",
                 S + "\n" + T + "\na" + std::string(1, '\0') + "b\n",
                 {{S + "\n", T + "\n", std::string("a\0b\n", 4)}}},
        ReadCase{"StartWithoutStatusIsOrdinary",
                 S + "\n" + T + "\nx\n" + S + "\nnot status\n",
                 {{S + "\n", T + "\n", "x\n", S + "\n", "not status\n"}}},
        ReadCase{"LineAfterStartIsNeverTestedAsStart",
                 S + "\n" + T + "\n" + S + "\n" + S + "\n" + T + "\n",
                 {{S + "\n", T + "\n", S + "\n", S + "\n", T + "\n"}}},
        ReadCase{"TwoStartsThenStatusOpenNothing", S + "\n" + S + "\n" + T + "\n", {}},
        ReadCase{"StatusWithoutStartIsOrdinary",
                 S + "\n" + T + "\n" + T + "\n",
                 {{S + "\n", T + "\n", T + "\n"}}},
        ReadCase{"LastLineIsStartLine",
                 S + "\n" + T + "\nbody\n" + S,
                 {{S + "\n", T + "\n", "body\n", S + "\n"}}},
        ReadCase{"EmptyLinesStored", S + "\n" + T + "\n\n\n", {{S + "\n", T + "\n", "\n", "\n"}}},
        ReadCase{"LoneLeadByteBeforeLf",
                 S + "\n" + T + "\n\x82\n\x82",
                 {{S + "\n", T + "\n", "\x82\n", "\x82\n"}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(Reading, MatchesThePlainRulesOnEveryPrefixAndChunking) {
    const std::string mailbox = "pre\r\n" + S + "\r\n" + T + "\r\nDate: x\r\n\r\nbody\n" + S +
                                "\n" + "plain\n" + S + "\n" + T + "\nlast\r\n" + S;
    for (std::size_t length = 0; length <= mailbox.size(); ++length) {
        std::string prefix = mailbox.substr(0, length);
        SCOPED_TRACE("prefix: " + Hex(prefix));
        Messages expected = ReferenceRead(prefix);
        for (std::size_t chunk : {1u, 2u, 3u, 7u, 1000u}) {
            EXPECT_EQ(ReadInChunks(prefix, chunk), expected) << "chunk " << chunk;
        }
        if (!prefix.empty()) {
            EXPECT_EQ(ReadMapped(prefix), expected) << "mapped";
        }
    }
}

TEST(Reading, MatchesThePlainRulesOnRandomMailboxes) {
    const std::vector<std::string> pieces = {S,          T,       "Date: Sun, 2 Jan 2000 15:04:05",
                                             "",         "x",     "\r",
                                             "\x1a",     "\x82",  "From - Sun Jan  2 1",
                                             ">>From x", "From ", "From: a"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            bytes += pieces[random() % pieces.size()];
            bytes += (random() % 3 == 0) ? "\r\n" : "\n";
        }
        SCOPED_TRACE("input: " + Hex(bytes));
        EXPECT_EQ(ReadInChunks(bytes, 1 + random() % 11), ReferenceRead(bytes));
        if (!bytes.empty()) {
            EXPECT_EQ(ReadMapped(bytes), ReferenceRead(bytes)) << "mapped";
        }
    }
}

// Lines of many lengths, so that line ends, CR LF pairs, empty lines and the text-end
// byte fall on both sides of the 64-byte scan windows and of the chunk edges.
TEST(Reading, MatchesThePlainRulesAcrossScanWindows) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        while (bytes.size() < 700) {
            switch (random() % 6) {
                case 0:
                    bytes += S;
                    break;
                case 1:
                    bytes += T;
                    break;
                case 2:
                    bytes += "Content-Type: m; boundary=\"b\"";
                    break;
                case 3:
                    break;
                default:
                    bytes += std::string(random() % 140, 'x');
            }
            bytes += (random() % 3 == 0) ? "\r\n" : "\n";
        }
        if (round % 4 == 0) {
            bytes[random() % bytes.size()] = '\x1a';
        }
        SCOPED_TRACE("input: " + Hex(bytes));
        const Messages expected = ReferenceRead(bytes);
        for (std::size_t chunk : {63u, 64u, 65u, 4096u}) {
            EXPECT_EQ(ReadInChunks(bytes, chunk), expected) << "chunk " << chunk;
        }
        EXPECT_EQ(ReadMapped(bytes), expected) << "mapped";
    }
}

// A mapped file that fills its last page exactly: the LF added after a last line
// without one, or in place of the text-end byte, goes into the slack after the file.
TEST(Reading, MappedFileEndingOnAPageEdge) {
    const std::string head = S + "\n" + T + "\nSubject: a\r\n\n";
    for (std::size_t size : {std::size_t{4096}, std::size_t{8192}, std::size_t{65536}}) {
        for (const char* tail : {"x", "\r", "\n", "\r\n", "\x1a", "x\x1a"}) {
            std::string bytes = head;
            bytes += std::string(size - bytes.size() - std::strlen(tail), 'b');
            bytes += tail;
            ASSERT_EQ(bytes.size(), size);
            SCOPED_TRACE("size " + std::to_string(size) + ", tail " + Hex(tail));
            EXPECT_EQ(ReadMapped(bytes), ReferenceRead(bytes));
        }
    }
}

TEST(Reading, KeepsLongLinesWhole) {
    std::string longLine(3 << 20, 'a');
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, S + "\n" + T + "\n" + longLine + "\n").ok());
    Messages stored = StoredMessages(doc);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][2], longLine + "\n");
}

TEST(Reading, NeedsAPathName) {
    CEKViewDoc doc;
    EXPECT_EQ(doc.ReadMailFile().status, ReadStatus::NoPath);
    EXPECT_EQ(doc.ReadMailBytes(Message({})).status, ReadStatus::NoPath);
}

TEST(Reading, CancelLeavesAnEmptyListAndTheNextReadStartsAfresh) {
    ProgressLog log;
    FakeProgressUi ui(log);
    ui.onPump = [](CProgressDlg& dialog, int) { dialog.OnCancel(); };
    CEKViewDoc doc;
    doc.SetProgressUi(&ui);
    std::string mailbox;
    for (int i = 0; i < 400; ++i) {
        mailbox += Message({"Subject: " + std::to_string(i)}, {"line"});
    }
    EXPECT_EQ(ReadInto(doc, mailbox).status, ReadStatus::Cancelled);
    EXPECT_EQ(doc.GetMessageCount(), 0);
    EXPECT_TRUE(log.ownerEnabled);
    EXPECT_EQ(log.windowsDestroyed, log.windowsCreated);

    ui.onPump = nullptr;
    EXPECT_TRUE(ReadInto(doc, mailbox).ok());
    EXPECT_EQ(doc.GetMessageCount(), 400);
}

TEST(Reading, ShowsProgressWithTheOwnerDisabled) {
    ProgressLog log;
    FakeProgressUi ui(log);
    bool ownerEnabledDuringRead = true;
    ui.onPump = [&](CProgressDlg&, int) { ownerEnabledDuringRead = log.ownerEnabled; };
    CEKViewDoc doc;
    doc.SetProgressUi(&ui);
    std::string mailbox;
    for (int i = 0; i < 600; ++i) {
        mailbox += Message({"Date: Sun, 2 Jan 2000 15:04:05"});
    }
    ASSERT_TRUE(ReadInto(doc, mailbox).ok());
    EXPECT_FALSE(ownerEnabledDuringRead);
    EXPECT_TRUE(log.ownerEnabled);
    EXPECT_EQ(log.windowsCreated, 1);
    EXPECT_EQ(log.windowsDestroyed, 1);
    ASSERT_GE(log.captions.size(), 2u);
    EXPECT_EQ(log.captions[log.captions.size() - 2], "ファイル読込中...");
    EXPECT_EQ(log.captions.back(), "メールソート中...");
    ASSERT_FALSE(log.positions.empty());
    EXPECT_LE(*std::max_element(log.positions.begin(), log.positions.end()), 100);
}

TEST(Reading, WithoutAProgressWindowStillReads) {
    ProgressLog log;
    FakeProgressUi ui(log);
    ui.failCreate = true;
    CEKViewDoc doc;
    doc.SetProgressUi(&ui);
    EXPECT_TRUE(ReadInto(doc, Message({"Subject: a"})).ok());
    EXPECT_TRUE(log.ownerEnabled);
}

TEST(MailFile, ReadsTheFileAndLeavesItUntouched) {
    // The CR LF message is compacted, which a mapped read does in its private copy.
    const std::string bytes = Message({"Subject: a"}, {"body"}) +
                              Lines({kStart, kStatus, "Subject: b", "", "x"}, "\r\n") + "last";
    for (bool mapped : {false, true}) {
        SCOPED_TRACE(mapped ? "mapped" : "copied");
        TempFile file(bytes);
        const std::filesystem::path native = NativePath(file.path());
        const auto writtenBefore = std::filesystem::last_write_time(native);
        CEKViewDoc doc;
        doc.SetMappedRead(mapped);
        ASSERT_TRUE(doc.OpenMailFile(file.path()).ok());
        EXPECT_EQ(doc.m_strMailFile, file.path());
        EXPECT_EQ(doc.GetPathName(), file.path());
        EXPECT_EQ(doc.GetMessageCount(), 2);
        EXPECT_EQ(doc.GetHeaderValue(1, "Subject: "), "b");
        EXPECT_EQ(StoredMessages(doc)[1].back(), "last\n");
        doc.OnCloseDocument();
        std::ifstream in(native, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
        EXPECT_EQ(std::filesystem::last_write_time(native), writtenBefore);
    }
}

TEST(MailFile, OpenFailuresGiveTheSystemReason) {
    TempFile file("x");
    CEKViewDoc doc;
    ReadResult missing = doc.OnOpenDocument(file.dir() + "/missing.mbx");
    EXPECT_EQ(missing.status, ReadStatus::OpenFailed);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_TRUE(doc.m_strMailFile.empty()) << "a failed open keeps the previous file";

    EXPECT_EQ(doc.OnOpenDocument(file.dir()).status, ReadStatus::OpenFailed);

    doc.SetPathName("x");
    doc.m_strMailFile = file.dir() + "/missing.mbx";
    EXPECT_EQ(doc.ReadMailFile().status, ReadStatus::OpenFailed);
}

// The open records both names before the read, and only when the file opens.
TEST(MailFile, OpenMailFileRecordsTheNamesBeforeReading) {
    TempFile file(Message({"Subject: a"}));
    TempFile notMail("just text\n");
    struct Case {
        const char* name;
        std::string path;
        ReadStatus status;
        bool recorded;
    };
    const Case cases[] = {
        {"mailbox", file.path(), ReadStatus::Ok, true},
        {"no message in it", notMail.path(), ReadStatus::NoMessages, true},
        {"missing", file.dir() + "/missing.mbx", ReadStatus::OpenFailed, false},
        {"a folder", file.dir(), ReadStatus::OpenFailed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CEKViewDoc doc;
        doc.m_strMailFile = "before.mbx";
        doc.SetPathName("before.mbx");
        EXPECT_EQ(doc.OpenMailFile(c.path).status, c.status);
        const std::string expected = c.recorded ? c.path : "before.mbx";
        EXPECT_EQ(doc.m_strMailFile, expected);
        EXPECT_EQ(doc.GetPathName(), expected);
        EXPECT_EQ(doc.GetMessageCount(), c.status == ReadStatus::Ok ? 1 : 0);
    }
}

TEST(MailFile, FifoIsRefusedWithoutWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs in the file system are POSIX only";
#else
    TempFile file("x");
    std::string fifo = file.dir() + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CEKViewDoc doc;
    EXPECT_EQ(doc.OnOpenDocument(fifo).status, ReadStatus::OpenFailed);
#endif
}

TEST(MailFile, RefusesAFileThatAnotherProgramIsWriting) {
    TempFile file(Message({"Subject: a"}));
#ifdef _WIN32
    // A writer that lets others read and write, as a mail program appending does.
    HANDLE writer = CreateFileW(NativePath(file.path()).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
#else
    int writer = ::open(file.path().c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(writer, F_OFD_SETLK, &lock), 0);
#endif

    CEKViewDoc doc;
    doc.SetPathName(file.path());
    doc.m_strMailFile = file.path();
    ReadResult locked = doc.ReadMailFile();
    EXPECT_EQ(locked.status, ReadStatus::OpenFailed);
    EXPECT_FALSE(locked.reason.empty());

#ifdef _WIN32
    CloseHandle(writer);
#else
    ::close(writer);
#endif
    EXPECT_TRUE(doc.ReadMailFile().ok());
}

TEST(Document, LifecycleKeepsMessagesUntilClosed) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: a"})).ok());
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetMessageCount(), 1) << "a new document leaves the messages in memory";
    EXPECT_FALSE(doc.OnSaveDocument("anything"));
    doc.OnCloseDocument();
    EXPECT_EQ(doc.GetMessageCount(), 0);
    EXPECT_EQ(doc.m_nCurrent, -1);
}

}  // namespace
}  // namespace ek::test
