#include "document/MailReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>

#include "document/EKViewDoc.h"
#include "document/TextRules.h"
#include "frame/ProgressDlg.h"

namespace ek {

namespace {

constexpr std::size_t kChunkSize = std::size_t{8} << 20;
// Room past the expected size: the LF added to a last line without one, and space
// for the read that finds the end, so an exactly sized block never has to grow.
constexpr std::size_t kSlack = std::size_t{64} << 10;
constexpr char kTextEnd = 0x1A;  // ends the file as text-mode reading sees it

// A growable byte block that is never zero-filled: a mailbox may be a gigabyte.
class Block {
  public:
    explicit Block(std::size_t capacity)
        : m_data(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(capacity, 1))),
          m_capacity(std::max<std::size_t>(capacity, 1)) {}
    char* data() { return m_data.get(); }
    std::size_t capacity() const { return m_capacity; }
    void Reserve(std::size_t needed, std::size_t used) {
        if (needed <= m_capacity) {
            return;
        }
        std::size_t grown = std::max(needed, m_capacity + m_capacity / 2);
        auto bigger = std::make_unique_for_overwrite<char[]>(grown);
        std::memcpy(bigger.get(), m_data.get(), used);
        m_data = std::move(bigger);
        m_capacity = grown;
    }
    std::unique_ptr<char[]> Release() { return std::move(m_data); }

  private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity;
};

// The line splitter and message builder. Lines are compacted in place: each kept
// line moves down to the write position (never past its own source) with its CR
// dropped and one LF after it, so the block ends up holding only message text.
class Reader {
  public:
    Reader(const ByteSource& source, std::uint64_t expectedSize, CProgressDlg& progress)
        : m_source(source),
          m_expectedSize(std::max<std::uint64_t>(expectedSize, 1)),
          m_progress(progress),
          m_block(static_cast<std::size_t>(expectedSize) + kSlack) {}

    ReadResult Run(MailboxText& out);

  private:
    struct Line {
        std::size_t start;
        std::size_t end;   // without CR and LF
        std::size_t next;  // start of the following line
    };

    bool NextLine(Line& line, ReadResult& error);
    bool ReadMore(ReadResult& error);
    void Append(const Line& line);
    void FinishMessage(MailboxText& out);

    const ByteSource& m_source;
    std::uint64_t m_expectedSize;
    CProgressDlg& m_progress;
    Block m_block;
    std::size_t m_filled = 0;
    std::size_t m_parsePos = 0;
    std::size_t m_writePos = 0;
    bool m_endOfInput = false;
    bool m_haveMessage = false;
    std::size_t m_messageStart = 0;
    std::array<std::uint32_t, kIndexedPrefixes.size()> m_firstLine{};
};

bool Reader::ReadMore(ReadResult& error) {
    // One byte always stays free for the LF that may follow the last line.
    if (m_block.capacity() - m_filled <= 1) {
        m_block.Reserve(m_filled + kSlack, m_filled);
    }
    std::size_t room = std::min(kChunkSize, m_block.capacity() - m_filled - 1);
    std::string reason;
    long long got = m_source(m_block.data() + m_filled, room, reason);
    if (got < 0) {
        error = {ReadStatus::ReadError, reason};
        return false;
    }
    if (got == 0) {
        m_endOfInput = true;
        return true;
    }
    char* fresh = m_block.data() + m_filled;
    const void* textEnd = std::memchr(fresh, kTextEnd, static_cast<std::size_t>(got));
    if (textEnd != nullptr) {
        got = static_cast<const char*>(textEnd) - fresh;
        m_endOfInput = true;
    }
    m_filled += static_cast<std::size_t>(got);
    return true;
}

// False at the end of the input (or on a read error, which `error` then holds).
bool Reader::NextLine(Line& line, ReadResult& error) {
    std::size_t searchFrom = m_parsePos;
    for (;;) {
        const char* base = m_block.data();
        const void* lf = std::memchr(base + searchFrom, '\n', m_filled - searchFrom);
        if (lf != nullptr) {
            std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - base);
            line = {m_parsePos, at, at + 1};
            break;
        }
        if (m_endOfInput) {
            if (m_parsePos == m_filled) {
                return false;
            }
            line = {m_parsePos, m_filled, m_filled};
            break;
        }
        searchFrom = m_filled;
        if (!ReadMore(error)) {
            return false;
        }
    }
    if (line.end > line.start && m_block.data()[line.end - 1] == '\r' && line.next > line.end) {
        --line.end;
    }
    m_parsePos = line.next;
    return true;
}

void Reader::Append(const Line& line) {
    char* base = m_block.data();
    std::size_t length = line.end - line.start;
    std::string_view text(base + line.start, length);
    char first = text.empty() ? '\0' : AsciiLower(text.front());
    if (first == 'd' || first == 'f' || first == 's' || first == 'm' || first == 'i') {
        std::size_t at = m_writePos - m_messageStart;
        for (std::size_t k = 0; k < kIndexedPrefixes.size(); ++k) {
            if (m_firstLine[k] == kPrefixAbsent &&
                StartsWithIgnoringAsciiCase(text, kIndexedPrefixes[k])) {
                m_firstLine[k] =
                    at < kPrefixUnknown ? static_cast<std::uint32_t>(at) : kPrefixUnknown;
            }
        }
    }
    if (m_writePos != line.start) {
        std::memmove(base + m_writePos, base + line.start, length);
    }
    m_writePos += length;
    base[m_writePos++] = '\n';
}

void Reader::FinishMessage(MailboxText& out) {
    out.messages.push_back({m_messageStart, m_writePos - m_messageStart, m_firstLine});
}

ReadResult Reader::Run(MailboxText& out) {
    out = MailboxText{};
    ReadResult result;
    Line x{};
    while (NextLine(x, result)) {
        std::string_view xText(m_block.data() + x.start, x.end - x.start);
        if (CEKViewDoc::IsMessageStart(xText)) {
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
            std::string_view yText(m_block.data() + y.start, y.end - y.start);
            if (CEKViewDoc::IsStatusLine(yText)) {
                if (m_haveMessage) {
                    FinishMessage(out);
                }
                m_haveMessage = true;
                m_messageStart = m_writePos;
                m_firstLine.fill(kPrefixAbsent);
            }
            if (m_haveMessage) {
                Append(x);
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
    out.size = m_writePos;
    out.text = m_block.Release();
    return result;
}

}  // namespace

ReadResult ReadMailbox(const ByteSource& source, std::uint64_t expectedSize, CProgressDlg& progress,
                       MailboxText& out) {
    // A file larger than memory (a sparse file of a terabyte, say) is a read error,
    // not the end of the program.
    try {
        Reader reader(source, expectedSize, progress);
        return reader.Run(out);
    } catch (const std::bad_alloc&) {
        out = MailboxText{};
        return {ReadStatus::ReadError, std::generic_category().message(ENOMEM)};
    }
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
