// Reply linking: turns the ordered message list into the thread order, a sequence
// holding every message once, each reply below the message it answers, with depths.
//
// Messages are linked by exact byte comparison of their "Message-Id: " and
// "In-Reply-To: " values (CP932 bytes as read, nothing trimmed or decoded).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ek {

class CEKViewDoc;
class CProgressDlg;

// One record per message, made for all messages at the start of a build.
struct ThreadLink {
    int index;
    // Index of the message this one answers; -1 when none was found.
    int parent;
    // The parent's depth as it stood when this message was linked, plus 1; 0 without
    // a parent. A parent with a higher index has not been linked yet and counts as 0.
    int depth;
    int hasParts;

    bool operator==(const ThreadLink&) const = default;
};

// One entry of the thread order.
struct ThreadRow {
    int index;
    int depth;
    int hasParts;

    bool operator==(const ThreadRow&) const = default;
};

// What linking asks about each message. An empty value means the header is absent.
// A view returned by GetMessageId must stay valid until the build ends; one returned
// by GetInReplyTo only until the next call.
class ThreadInput {
  public:
    virtual ~ThreadInput() = default;
    virtual int GetMessageCount() const = 0;
    virtual std::string_view GetMessageId(int index) const = 0;
    virtual std::string_view GetInReplyTo(int index) const = 0;
    virtual bool HasParts(int index) const = 0;
};

// The values held in memory, one element per message.
struct ThreadMessage {
    std::string messageId;
    std::string inReplyTo;
    bool hasParts = false;
};

class ThreadMessages : public ThreadInput {
  public:
    ThreadMessages() = default;
    explicit ThreadMessages(std::vector<ThreadMessage> messages)
        : m_messages(std::move(messages)) {}

    int GetMessageCount() const override { return static_cast<int>(m_messages.size()); }
    std::string_view GetMessageId(int index) const override { return m_messages[index].messageId; }
    std::string_view GetInReplyTo(int index) const override { return m_messages[index].inReplyTo; }
    bool HasParts(int index) const override { return m_messages[index].hasParts; }

    std::vector<ThreadMessage>& Messages() { return m_messages; }

  private:
    std::vector<ThreadMessage> m_messages;
};

// Records and links (the first two passes). Reports (100 * i) / n to `progress`, when
// given, as message i is linked.
std::vector<ThreadLink> LinkMessages(const ThreadInput& input, CProgressDlg* progress);

// Links the messages, then places them in index order: message i is appended when it
// has no parent or its parent is not placed yet (a higher index, or i itself), and
// otherwise inserted before the first entry after its parent whose depth is smaller
// than its own (or at the end).
std::vector<ThreadRow> BuildThreadOrder(const ThreadInput& input, CProgressDlg* progress);
// Takes the values from the document: GetHeaderValue with "Message-Id: " and
// "In-Reply-To: ", and GetBoundary (non-empty: the message has parts).
std::vector<ThreadRow> BuildThreadOrder(const CEKViewDoc& doc, CProgressDlg* progress);

// The indentation before the subject of a thread row: empty at depth 0, else
// 2 * (depth - 1) blanks and "└" in CP932.
std::string ThreadPrefix(int depth);

}  // namespace ek
