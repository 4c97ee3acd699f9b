#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "document/EKViewDoc.h"
#include "views/ThreadLink.h"

namespace ek {

namespace {

// Reads the values as linking asks for them, so that the In-Reply-To lookups run
// inside the pass that reports progress.
class DocThreadInput : public ThreadInput {
  public:
    explicit DocThreadInput(const CEKViewDoc& doc)
        : m_doc(doc), m_ids(static_cast<std::size_t>(std::max(doc.GetMessageCount(), 0))) {}

    int GetMessageCount() const override { return static_cast<int>(m_ids.size()); }
    std::string_view GetMessageId(int index) const override {
        m_ids[index] = m_doc.GetHeaderValue(index, "Message-Id: ");
        return m_ids[index];
    }
    std::string_view GetInReplyTo(int index) const override {
        m_reply = m_doc.GetHeaderValue(index, "In-Reply-To: ");
        return m_reply;
    }
    bool HasParts(int index) const override { return !m_doc.GetBoundary(index).empty(); }

  private:
    const CEKViewDoc& m_doc;
    // The id table points into these until the build ends.
    mutable std::vector<std::string> m_ids;
    mutable std::string m_reply;
};

}  // namespace

std::vector<ThreadRow> BuildThreadOrder(const CEKViewDoc& doc, CProgressDlg* progress) {
    return BuildThreadOrder(DocThreadInput(doc), progress);
}

}  // namespace ek
