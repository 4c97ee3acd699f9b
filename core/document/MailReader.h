// Reads a mailbox into one block of text: every line of every message, each
// followed by exactly one LF, and the messages as ranges of that block in file order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/MailText.h"
#include "core/document/ReadResult.h"

namespace ek {

class CProgressDlg;

struct MailboxText {
    std::unique_ptr<char[]> text;
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

// The same over bytes in memory.
ReadResult ReadMailboxBytes(std::string_view bytes, CProgressDlg& progress, MailboxText& out);

}  // namespace ek
