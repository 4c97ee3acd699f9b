// The mailbox reader on arbitrary bytes: the in-memory read the viewer uses, then the
// same bytes delivered in small chunks, by a source that fails half-way, and by sources
// whose announced size is wrong (a file that grew or shrank after it was measured),
// and cut in two where a read in two halves would cut it.
#include <algorithm>
#include <cstring>
#include <map>

#include "core/document/EKViewDoc.h"
#include "core/document/MailReader.h"
#include "core/document/SplitPoint.h"
#include "core/document/TextRules.h"
#include "core/platform/ProgressDlg.h"
#include "core/views/ThreadLink.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/ReferenceReader.h"

namespace {

using ek::CEKViewDoc;
using Message = std::vector<std::string>;
using Messages = std::vector<Message>;

std::string_view TextPart(std::string_view bytes) {
    return bytes.substr(0, std::min(bytes.find('\x1a'), bytes.size()));
}

std::size_t CountStartLines(std::string_view bytes) {
    const std::vector<std::string> lines = ek::test::ReferenceLines(bytes);
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [](const auto& l) { return CEKViewDoc::IsMessageStart(l); }));
}

Message LinesOf(ek::LineRange range) {
    Message lines;
    for (std::string_view line : range) {
        lines.emplace_back(line);
    }
    return lines;
}

Messages FromMailbox(const ek::MailboxText& mailbox) {
    Messages messages;
    for (const ek::MessageSpan& span : mailbox.messages) {
        EK_FUZZ_CHECK(span.offset + span.length <= mailbox.size);
        messages.push_back(LinesOf(
            ek::LineRange(std::string_view(mailbox.text.get() + span.offset, span.length))));
    }
    return messages;
}

std::string DateKey(const Message& message) {
    std::string_view value;
    for (const std::string& line : message) {
        if (ek::StartsWithIgnoringAsciiCase(line, "Date: ")) {
            value = std::string_view(line).substr(6, line.size() - 7);
            break;
        }
    }
    std::string key;
    CEKViewDoc::NormalizeDate(value, key);
    return key;
}

struct SourcePlan {
    std::size_t chunk;        // most bytes handed out per call
    std::size_t failAfter;    // the source fails once this many bytes are out (<= size)
    std::uint64_t announced;  // the size the reader is told to expect
};

ek::ReadResult ReadThrough(std::string_view bytes, const SourcePlan& plan, ek::MailboxText& out) {
    std::size_t offset = 0;
    ek::ByteSource source = [&](char* buffer, std::size_t count, std::string& reason) {
        if (offset == plan.failAfter && offset < bytes.size()) {
            reason = "input/output error";
            return -1LL;
        }
        std::size_t n = std::min({count, plan.chunk, plan.failAfter - offset});
        std::memcpy(buffer, bytes.data() + offset, n);
        offset += n;
        return static_cast<long long>(n);
    };
    ek::CProgressDlg progress;
    return ek::ReadMailbox(source, plan.announced, progress, out);
}

void CheckDocument(const CEKViewDoc& doc, const Messages& expected) {
    const int count = doc.GetMessageCount();
    EK_FUZZ_CHECK(count == static_cast<int>(expected.size()));
    // The document's order is the file order stably sorted by date key.
    std::vector<std::size_t> order(expected.size());
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        order[i] = i;
        keys.push_back(DateKey(expected[i]));
    }
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return ek::CompareIgnoringAsciiCase(keys[a], keys[b]) < 0;
    });
    std::vector<std::string> row;
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        const Message stored = LinesOf(doc.MessageLines(i));
        EK_FUZZ_CHECK(stored == expected[order[static_cast<std::size_t>(i)]]);
        EK_FUZZ_CHECK(stored.size() >= 2);
        EK_FUZZ_CHECK(CEKViewDoc::IsMessageStart(std::string_view(stored[0]).substr(0, 31)));
        EK_FUZZ_CHECK(CEKViewDoc::IsStatusLine(stored[1]));
        for (const std::string& line : stored) {
            EK_FUZZ_CHECK(ek::fuzz::IsStoredLine(line));
            EK_FUZZ_CHECK(line.find('\x1a') == std::string::npos);
        }
        EK_FUZZ_CHECK(doc.GetListRow(i, row) && row.size() == 3);
        EK_FUZZ_CHECK(row[0] == keys[order[static_cast<std::size_t>(i)]]);
        EK_FUZZ_CHECK(doc.GetMessageLines(i, shown, true) && shown == stored);
        EK_FUZZ_CHECK(doc.GetMessageLines(i, shown, false) && shown.size() <= stored.size());
    }
    std::vector<ek::ThreadRow> threads = ek::BuildThreadOrder(doc, nullptr);
    EK_FUZZ_CHECK(threads.size() == static_cast<std::size_t>(count));
    std::vector<bool> seen(threads.size(), false);
    for (const ek::ThreadRow& thread : threads) {
        EK_FUZZ_CHECK(thread.index >= 0 && thread.index < count && !seen[thread.index]);
        seen[thread.index] = true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = ek::fuzz::AsText(data, size);
    const Messages expected = ek::test::ReferenceRead(bytes);
    EK_FUZZ_CHECK(expected.size() <= CountStartLines(bytes));

    CEKViewDoc doc;
    doc.SetPathName("fuzz.mbx");
    const ek::ReadResult read = doc.ReadMailBytes(bytes);
    EK_FUZZ_CHECK(read.ok() == !expected.empty());
    EK_FUZZ_CHECK(read.ok() || read.status == ek::ReadStatus::NoMessages);
    CheckDocument(doc, expected);

    // The reader never depends on how the bytes arrive or on the announced size.
    const std::size_t chunk = size == 0 ? 1 : 1 + data[0] % 16;
    const SourcePlan plans[] = {{chunk, size, size},
                                {chunk, size, size / 3},
                                {std::size_t{1} << 20, size, std::uint64_t{size} * 2 + 100}};
    for (const SourcePlan& plan : plans) {
        ek::MailboxText mailbox;
        EK_FUZZ_CHECK(ReadThrough(bytes, plan, mailbox).ok());
        EK_FUZZ_CHECK(FromMailbox(mailbox) == expected);
    }

    // A read in two halves cut at the split point gives the whole read's messages: the
    // first half's, then (unless a text end came first) the second half's.
    if (const std::size_t split = ek::FindSplitPoint(bytes); split != 0) {
        const std::string_view head = bytes.substr(0, split);
        Messages halves = ek::test::ReferenceRead(head);
        if (head.find('\x1a') == std::string_view::npos) {
            const Messages tail = ek::test::ReferenceRead(bytes.substr(split));
            halves.insert(halves.end(), tail.begin(), tail.end());
        }
        EK_FUZZ_CHECK(halves == expected);
    }

    // A read error keeps the messages completed before it: a prefix of the file's.
    const std::size_t failAfter = size == 0 ? 0 : (size - 1) - data[size - 1] % size;
    ek::MailboxText partial;
    const ek::ReadResult failed = ReadThrough(bytes, {chunk, failAfter, size}, partial);
    const Messages kept = FromMailbox(partial);
    if (failAfter < TextPart(bytes).size()) {
        EK_FUZZ_CHECK(failed.status == ek::ReadStatus::ReadError && !failed.reason.empty());
    }
    EK_FUZZ_CHECK(kept.size() <= expected.size());
    EK_FUZZ_CHECK(std::equal(kept.begin(), kept.end(), expected.begin()));
    return 0;
}
