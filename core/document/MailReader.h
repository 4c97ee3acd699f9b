// Reads a mailbox into one block of text: every line of every message, each
// followed by exactly one LF, and the messages as ranges of that block in file order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/document/MailText.h"
#include "core/document/ReadResult.h"
#include "core/platform/FileMapping.h"

namespace ek {

class CProgressDlg;

// The block that holds the stored text: memory of our own, or the mailbox file mapped
// copy on write, where a message that needed no change is left as the file has it.
class StoredText {
  public:
    StoredText() = default;
    explicit StoredText(std::unique_ptr<char[]> block) : m_block(std::move(block)) {}
    explicit StoredText(FileMapping mapping) : m_mapping(std::move(mapping)) {}
    const char* get() const { return m_block ? m_block.get() : m_mapping.data(); }
    void reset() {
        m_block.reset();
        m_mapping.Unmap();
    }
    // The mapped file was cut short by someone else: part of the text reads as zeros.
    bool LostPages() const { return m_mapping.LostPages(); }

  private:
    std::unique_ptr<char[]> m_block;
    FileMapping m_mapping;
};

// A message's text is a contiguous range of `text`; messages may have gaps between
// them (the CRs a message lost, or text before the first message).
struct MailboxText {
    StoredText text;
    std::size_t size = 0;
    std::vector<MessageSpan> messages;
};

// Fills `buffer` with up to `count` bytes; returns the count, 0 at the end, or -1 with
// `reason` set on a read error.
using ByteSource = std::function<long long(char* buffer, std::size_t count, std::string& reason)>;

// Splits the bytes of `source` (about `expectedSize` bytes) into messages. Reports
// SetPosition after each message-start pair and CheckCancel after each line.
// Returns Ok (even with no message), Cancelled (nothing kept) or ReadError (the
// messages completed before the error kept).
ReadResult ReadMailbox(const ByteSource& source, std::uint64_t expectedSize, CProgressDlg& progress,
                       MailboxText& out);

// Mapped inputs from this size on are read in two halves at once, on two cores.
inline constexpr std::size_t kSplitReadMinimum = std::size_t{16} << 20;

// The slack to map a file of `size` bytes with, so that every message of it could be
// written to the spare memory after it (virtual memory: only what is used is taken).
constexpr std::size_t MappedReadSlack(std::size_t size) {
    // The largest page size in use, so that the rounding of the file's end never
    // takes from the room.
    constexpr std::size_t kLargestPage = std::size_t{64} << 10;
    return size + 2 + kLargestPage;
}

// The same over a mapped file, which becomes the stored text: a message whose lines
// all end in a plain LF stays where it is. One that changes is written to the spare
// memory after the file when the mapping was made with MappedReadSlack, so that no
// page of the file is written; with less slack (at least one byte) it is compacted
// in place, and its pages copied. From `splitFrom` bytes on, the second half (from a
// message-start pair past the middle) is read by a second thread; the messages are
// the same as one thread's.
ReadResult ReadMappedMailbox(FileMapping mapping, CProgressDlg& progress, MailboxText& out,
                             std::size_t splitFrom = kSplitReadMinimum);

// The same over bytes in memory.
ReadResult ReadMailboxBytes(std::string_view bytes, CProgressDlg& progress, MailboxText& out);

}  // namespace ek
