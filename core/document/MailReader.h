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

// The same over a mapped file, which becomes the stored text: a message whose lines
// all end in a plain LF stays where it is, and only the pages of one that changes
// are copied. The mapping needs at least one byte of slack after the file.
ReadResult ReadMappedMailbox(FileMapping mapping, CProgressDlg& progress, MailboxText& out);

// The same over bytes in memory.
ReadResult ReadMailboxBytes(std::string_view bytes, CProgressDlg& progress, MailboxText& out);

}  // namespace ek
