#include "core/document/MailReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "core/document/ByteScan.h"
#include "core/document/EKViewDoc.h"
#include "core/document/SplitPoint.h"
#include "core/document/TextRules.h"
#include "core/platform/ProgressDlg.h"

namespace ek {

namespace {

constexpr std::size_t kChunkSize = std::size_t{8} << 20;
// Room past the expected size: the LF added to a last line without one, and space
// for the read that finds the end, so an exactly sized block never has to grow.
constexpr std::size_t kSlack = std::size_t{64} << 10;

// Faults in the next stretch of the block with one call before the read fills it,
// instead of one trap per page inside the read. Only what is about to be read is
// committed, so a read that stops early has taken no more memory than before.
void Prefault(char* data, std::size_t size) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto from = reinterpret_cast<std::uintptr_t>(data) & ~(page - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(data) + size;
    // A failure (an older kernel) only means the read faults the pages in itself.
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

// The indexed prefixes begin with different letters: the one prefix a line can
// begin with, by its first byte in either case, or -1.
constexpr std::array<std::int8_t, 256> kPrefixSlotOf = [] {
    std::array<std::int8_t, 256> slots{};
    slots.fill(-1);
    for (std::size_t k = 0; k < kIndexedPrefixes.size(); ++k) {
        const auto first = static_cast<unsigned char>(AsciiLower(kIndexedPrefixes[k][0]));
        slots[first] = static_cast<std::int8_t>(k);
        slots[first - 32] = static_cast<std::int8_t>(k);
    }
    return slots;
}();

// A growable byte block that is never zero-filled: a mailbox may be a gigabyte.
class Block {
  public:
    Block() = default;
    explicit Block(std::size_t capacity) { Allocate(std::max<std::size_t>(capacity, 1)); }
    char* data() { return m_data.get(); }
    std::size_t capacity() const { return m_capacity; }
    void Reserve(std::size_t needed, std::size_t used) {
        if (needed <= m_capacity) {
            return;
        }
        std::unique_ptr<char[]> old = std::move(m_data);
        Allocate(std::max(needed, m_capacity + m_capacity / 2));
        std::memcpy(m_data.get(), old.get(), used);
    }
    std::unique_ptr<char[]> Release() { return std::move(m_data); }

  private:
    void Allocate(std::size_t capacity) {
        m_data = std::make_unique_for_overwrite<char[]>(capacity);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
};

// The line splitter and message builder. Line feeds are found 64 bytes at a time
// (ByteScan.h) and handed out one by one from a bit mask. Each message is compacted
// in place, from where its start line lies: each line moves down to the write
// position (never past its own source) with its CR dropped and one LF after it.
// Consecutive lines that need no change move together, as one run, when a dropped
// byte or line ends the run; a message whose lines all end in a plain LF moves
// nothing at all, which is what lets a mapped file stay shared with the page cache.
class Reader {
  public:
    static constexpr std::size_t kNoSpare = static_cast<std::size_t>(-1);

    Reader(const ByteSource& source, std::uint64_t expectedSize, CProgressDlg& progress)
        : m_source(&source),
          m_expectedSize(std::max<std::uint64_t>(expectedSize, 1)),
          m_progress(progress),
          m_block(static_cast<std::size_t>(expectedSize) + kSlack),
          m_data(m_block.data()),
          m_spareNext(kNoSpare),
          m_spareEnd(0),
          m_sparePopulated(0) {}
    // The input [begin, end) of `data` is there already; the byte after it is free.
    // Messages are compacted where they lie, so a stretch that begins with a message's
    // start pair is read as the whole input would read it there.
    // A message that changes is written to [spareBegin, spareEnd) of `data` when that
    // range is given (it must hold end - begin + 1 bytes), else in place.
    Reader(char* data, std::size_t begin, std::size_t end, std::uint64_t expectedSize,
           CProgressDlg& progress, std::size_t spareBegin = kNoSpare, std::size_t spareEnd = 0)
        : m_expectedSize(std::max<std::uint64_t>(expectedSize, 1)),
          m_progress(progress),
          m_data(data),
          m_spareNext(spareBegin),
          m_spareEnd(spareEnd),
          m_sparePopulated(spareBegin),
          m_filled(end),
          m_parsePos(begin),
          m_writePos(begin),
          m_runStart(begin),
          m_runEnd(begin),
          m_window(begin),
          m_windowEnd(begin),
          m_endOfInput(true) {}

    // Fills the messages and the size; the text stays the caller's (see Release).
    ReadResult Run(MailboxText& out);
    std::unique_ptr<char[]> Release() { return m_block.Release(); }
    // The input ended at a text-end byte (0x1A) rather than at its last byte.
    bool StoppedAtTextEnd() const { return m_stoppedAtTextEnd; }

  private:
    struct Line {
        std::size_t start;
        std::size_t end;   // without CR and LF
        std::size_t next;  // start of the following line
    };

    // The common cases inline: a line feed already found, and a line that only
    // lengthens the pending run.
    bool NextLine(Line& line, ReadResult& error) {
        if (m_lineFeeds == 0) {
            return NextLineAfterWindow(line, error);
        }
        const std::size_t at = m_window + static_cast<std::size_t>(std::countr_zero(m_lineFeeds));
        m_lineFeeds &= m_lineFeeds - 1;
        line = {m_parsePos, at, at + 1};
        if (at > line.start && m_data[at - 1] == '\r') {
            --line.end;
        }
        m_parsePos = at + 1;
        return true;
    }
    void Append(const Line& line) {
        const std::size_t length = line.end - line.start;
        if (length != 0 && line.start == m_runEnd && line.next == line.end + 1) {
            const char first = m_data[line.start];
            const int slot = kPrefixSlotOf[static_cast<unsigned char>(first)];
            if ((slot < 0 || m_firstLine[static_cast<std::size_t>(slot)] != kPrefixAbsent) &&
                first != '>' && first != 'F') {
                m_runEnd = line.next;
                m_writePos += length + 1;
                return;
            }
        }
        AppendLine(line);
    }

    bool NextLineAfterWindow(Line& line, ReadResult& error);
    void MoveToSpare();
    void PopulateSpare(std::size_t end);
    void FinishWriting();
    bool ReadMore(ReadResult& error);
    void ScanWindow();
    void AppendLine(const Line& line);
    void FlushRun();
    void FinishMessage(MailboxText& out);

    const ByteSource* m_source = nullptr;
    std::uint64_t m_expectedSize;
    CProgressDlg& m_progress;
    Block m_block;
    // The input and the text: m_block's bytes or the caller's.
    char* m_data;
    // Where the next message that changes goes when the input must stay unwritten (a
    // mapped file, whose written pages would each be copied), and how far the memory
    // there has been committed.
    std::size_t m_spareNext;
    std::size_t m_spareEnd;
    std::size_t m_sparePopulated;
    // The current message has moved to the spare memory.
    bool m_moved = false;
    std::size_t m_filled = 0;
    std::size_t m_parsePos = 0;
    // The text written so far ends here once the pending run has moved.
    std::size_t m_writePos = 0;
    // Kept bytes not moved yet: they belong just before m_writePos.
    std::size_t m_runStart = 0;
    std::size_t m_runEnd = 0;
    // The scanned window [m_window, m_windowEnd) and its line feeds not handed out yet.
    std::size_t m_window = 0;
    std::size_t m_windowEnd = 0;
    std::uint64_t m_lineFeeds = 0;
    bool m_endOfInput = false;
    bool m_stoppedAtTextEnd = false;
    bool m_haveMessage = false;
    std::size_t m_messageStart = 0;
    std::array<std::uint32_t, kIndexedPrefixes.size()> m_firstLine{};
    std::uint32_t m_headerEnd = kPrefixAbsent;
    bool m_fromLines = false;
};

bool Reader::ReadMore(ReadResult& error) {
    // One byte always stays free for the LF that may follow the last line.
    if (m_block.capacity() - m_filled <= 1) {
        m_block.Reserve(m_filled + kSlack, m_filled);
        m_data = m_block.data();
    }
    std::size_t room = std::min(kChunkSize, m_block.capacity() - m_filled - 1);
    std::string reason;
    Prefault(m_data + m_filled, room);
    long long got = (*m_source)(m_data + m_filled, room, reason);
    if (got < 0) {
        error = {ReadStatus::ReadError, reason};
        return false;
    }
    if (got == 0) {
        m_endOfInput = true;
        return true;
    }
    m_filled += static_cast<std::size_t>(got);
    return true;
}

// Scans the next window; a text-end byte there ends the input.
void Reader::ScanWindow() {
    m_window = m_windowEnd;
    std::size_t count = std::min(kScanWidth, m_filled - m_window);
    ByteMasks masks = ScanBytes(m_data + m_window, count);
    if (masks.textEnds != 0) {
        count = static_cast<std::size_t>(std::countr_zero(masks.textEnds));
        masks.lineFeeds &= (std::uint64_t{1} << count) - 1;
        m_filled = m_window + count;
        m_endOfInput = true;
        m_stoppedAtTextEnd = true;
    }
    m_windowEnd = m_window + count;
    m_lineFeeds = masks.lineFeeds;
}

// False at the end of the input (or on a read error, which `error` then holds).
bool Reader::NextLineAfterWindow(Line& line, ReadResult& error) {
    for (;;) {
        if (m_lineFeeds != 0) {
            std::size_t at = m_window + static_cast<std::size_t>(std::countr_zero(m_lineFeeds));
            m_lineFeeds &= m_lineFeeds - 1;
            line = {m_parsePos, at, at + 1};
            break;
        }
        if (m_windowEnd < m_filled) {
            ScanWindow();
            continue;
        }
        if (m_endOfInput) {
            if (m_parsePos == m_filled) {
                return false;
            }
            line = {m_parsePos, m_filled, m_filled};
            break;
        }
        if (!ReadMore(error)) {
            return false;
        }
    }
    if (line.end > line.start && m_data[line.end - 1] == '\r' && line.next > line.end) {
        --line.end;
    }
    m_parsePos = line.next;
    return true;
}

void Reader::AppendLine(const Line& line) {
    char* base = m_data;
    std::size_t length = line.end - line.start;
    if (!m_fromLines && length != 0 && (base[line.start] == '>' || base[line.start] == 'F') &&
        IsMboxFromLine(std::string_view(base + line.start, length))) {
        m_fromLines = true;
    }
    if (length == 0) {
        if (m_headerEnd == kPrefixAbsent) {
            std::size_t at = m_writePos - m_messageStart;
            m_headerEnd = at < kPrefixUnknown ? static_cast<std::uint32_t>(at) : kPrefixUnknown;
        }
    } else if (const int slot = kPrefixSlotOf[static_cast<unsigned char>(base[line.start])];
               slot >= 0 && m_firstLine[static_cast<std::size_t>(slot)] == kPrefixAbsent &&
               StartsWithIgnoringAsciiCase(std::string_view(base + line.start, length),
                                           kIndexedPrefixes[static_cast<std::size_t>(slot)])) {
        std::size_t at = m_writePos - m_messageStart;
        m_firstLine[static_cast<std::size_t>(slot)] =
            at < kPrefixUnknown ? static_cast<std::uint32_t>(at) : kPrefixUnknown;
    }
    if (line.next != line.end + 1 && !m_moved && m_spareNext != kNoSpare) {
        MoveToSpare();
    }
    if (line.start != m_runEnd) {
        FlushRun();
        m_runStart = m_runEnd = line.start;
    }
    if (line.next == line.end + 1) {
        // The line and its LF stay as they are.
        m_runEnd = line.next;
        m_writePos += length + 1;
        return;
    }
    // A dropped CR, or a last line without LF: the run ends with the line's text.
    m_runEnd = line.end;
    m_writePos += length;
    FlushRun();
    base[m_writePos++] = '\n';
    m_runStart = m_runEnd = line.next;
}

// The message so far, unchanged where it lies, is copied to the spare memory, and
// the rest of it is compacted there.
void Reader::MoveToSpare() {
    FlushRun();
    const std::size_t kept = m_writePos - m_messageStart;
    PopulateSpare(m_spareNext + kept);
    std::memcpy(m_data + m_spareNext, m_data + m_messageStart, kept);
    m_messageStart = m_spareNext;
    m_writePos = m_spareNext + kept;
    m_moved = true;
}

// Commits the spare memory up to `end` and some way beyond, with one call instead of
// a fault per page.
void Reader::PopulateSpare(std::size_t end) {
    constexpr std::size_t kStep = std::size_t{2} << 20;
    if (end <= m_sparePopulated) {
        return;
    }
    const std::size_t to = std::min(std::max(end, m_sparePopulated + kStep), m_spareEnd);
    Prefault(m_data + m_sparePopulated, to - m_sparePopulated);
    m_sparePopulated = to;
}

// Writes what is pending of the current message; one that moved leaves the spare
// memory after it for the next.
void Reader::FinishWriting() {
    FlushRun();
    if (m_moved) {
        m_spareNext = m_writePos;
        m_moved = false;
    }
}

void Reader::FlushRun() {
    std::size_t length = m_runEnd - m_runStart;
    if (m_moved) {
        // One byte more for the LF that may follow the run.
        PopulateSpare(m_writePos + 1);
    }
    std::size_t to = m_writePos - length;
    if (to != m_runStart) {
        std::memmove(m_data + to, m_data + m_runStart, length);
    }
    m_runStart = m_runEnd;
}

void Reader::FinishMessage(MailboxText& out) {
    out.messages.push_back(
        {m_messageStart, m_writePos - m_messageStart, m_firstLine, m_headerEnd, m_fromLines});
}

ReadResult Reader::Run(MailboxText& out) {
    out = MailboxText{};
    ReadResult result;
    Line x{};
    while (NextLine(x, result)) {
        // Only a 31-byte line that begins with 'F' can open a message.
        if (x.end - x.start == kStartLineLength && m_data[x.start] == 'F' &&
            CEKViewDoc::IsMessageStart(std::string_view(m_data + x.start, x.end - x.start))) {
            Line y{};
            if (!NextLine(y, result)) {
                if (result.status != ReadStatus::Ok) {
                    break;
                }
                if (m_haveMessage) {
                    Append(x);
                }
                break;
            }
            const bool opens =
                CEKViewDoc::IsStatusLine(std::string_view(m_data + y.start, y.end - y.start));
            if (opens) {
                if (m_haveMessage) {
                    FinishMessage(out);
                }
                // The message is compacted from where it lies; the bytes its
                // predecessor dropped stay behind as a gap.
                FinishWriting();
                m_writePos = m_runStart = m_runEnd = x.start;
                m_haveMessage = true;
                m_messageStart = m_writePos;
                m_firstLine.fill(kPrefixAbsent);
                m_headerEnd = kPrefixAbsent;
            }
            if (m_haveMessage) {
                Append(x);
                if (opens) {
                    // The message's own start line is not one of its lines to quote.
                    m_fromLines = false;
                }
                Append(y);
            }
            std::uint64_t percent = std::min<std::uint64_t>(
                static_cast<std::uint64_t>(y.next) * 100 / m_expectedSize, 100);
            m_progress.SetPosition(static_cast<int>(percent));
        } else if (m_haveMessage) {
            Append(x);
        }
        if (m_progress.CheckCancel()) {
            out = MailboxText{};
            return {ReadStatus::Cancelled, {}};
        }
    }
    if (result.status == ReadStatus::Ok && m_haveMessage) {
        FinishMessage(out);
    }
    // After a read error the partly read message is discarded.
    FinishWriting();
    // The spare memory lies after all of the input.
    out.size = m_spareNext != kNoSpare ? m_spareNext : m_writePos;
    return result;
}

// Splitting pays for a thread only on a large input with a second core to run it.
bool ShouldSplit(std::size_t size, std::size_t splitFrom) {
    return size >= splitFrom && std::thread::hardware_concurrency() > 1;
}

}  // namespace

ReadResult ReadMailbox(const ByteSource& source, std::uint64_t expectedSize, CProgressDlg& progress,
                       MailboxText& out) {
    // A file larger than memory (a sparse file of a terabyte, say) is a read error,
    // not the end of the program.
    try {
        Reader reader(source, expectedSize, progress);
        ReadResult result = reader.Run(out);
        out.text = StoredText(reader.Release());
        return result;
    } catch (const std::bad_alloc&) {
        out = MailboxText{};
        return {ReadStatus::ReadError, std::generic_category().message(ENOMEM)};
    }
}

ReadResult ReadMappedMailbox(FileMapping mapping, CProgressDlg& progress, MailboxText& out,
                             std::size_t splitFrom) {
    char* data = mapping.data();
    const std::size_t size = mapping.size();
    const std::size_t split =
        ShouldSplit(size, splitFrom) ? FindSplitPoint(std::string_view(data, size)) : 0;
    // Room for every message to move, plus the LF a last line may lack; else the
    // messages that change are compacted in place, and their pages copied.
    const bool haveSpare = mapping.Extent() - mapping.SpareBegin() >= size + 2;
    const std::size_t spare = haveSpare ? mapping.SpareBegin() : Reader::kNoSpare;
    if (split == 0) {
        Reader reader(data, 0, size, size, progress, spare, haveSpare ? spare + size + 1 : 0);
        ReadResult result = reader.Run(out);
        out.text = StoredText(std::move(mapping));
        return result;
    }
    // The second half is read on another core. It reports no progress: the first
    // half's reports stand for both.
    MailboxText tail;
    ReadResult tailResult;
    CProgressDlg silent;
    const std::size_t tailSpare = haveSpare ? spare + split + 1 : Reader::kNoSpare;
    std::thread worker([&] {
        tailResult = Reader(data, split, size, size, silent, tailSpare,
                            haveSpare ? tailSpare + (size - split) + 1 : 0)
                         .Run(tail);
    });
    Reader head(data, 0, split, size, progress, spare, haveSpare ? spare + split + 1 : 0);
    ReadResult result = head.Run(out);
    worker.join();
    out.text = StoredText(std::move(mapping));
    if (result.status != ReadStatus::Ok || head.StoppedAtTextEnd()) {
        // A text end in the first half ends the whole input.
        return result;
    }
    out.messages.insert(out.messages.end(), tail.messages.begin(), tail.messages.end());
    out.size = tail.size;
    return tailResult;
}

ReadResult ReadMailboxBytes(std::string_view bytes, CProgressDlg& progress, MailboxText& out) {
    std::size_t offset = 0;
    ByteSource source = [&](char* buffer, std::size_t count, std::string&) -> long long {
        std::size_t n = std::min(count, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, n);
        offset += n;
        return static_cast<long long>(n);
    };
    return ReadMailbox(source, bytes.size(), progress, out);
}

}  // namespace ek
