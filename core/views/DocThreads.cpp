#include <algorithm>
#include <cstddef>

#include "core/document/EKViewDoc.h"
#include "core/views/ThreadLink.h"

namespace ek {

namespace {

// Reads the values as linking asks for them, so that the In-Reply-To lookups run
// inside the pass that reports progress. The values are views of the document's
// text, which stays put while the build runs.
class DocThreadInput : public ThreadInput {
  public:
    explicit DocThreadInput(const CEKViewDoc& doc) : m_doc(doc) {}

    int GetMessageCount() const override { return std::max(m_doc.GetMessageCount(), 0); }
    std::string_view GetMessageId(int index) const override {
        m_doc.PrefetchHeader(index + kPrefetchAhead);
        return m_doc.HeaderView(index, "Message-Id: ");
    }
    std::string_view GetInReplyTo(int index) const override {
        m_doc.PrefetchHeader(index + kPrefetchAhead);
        return m_doc.HeaderView(index, "In-Reply-To: ");
    }
    bool HasParts(int index) const override { return m_doc.IsMultipart(index); }

  private:
    // Linking asks in index order, which is date order and not the text's order.
    static constexpr int kPrefetchAhead = 8;
    const CEKViewDoc& m_doc;
};

}  // namespace

std::vector<ThreadRow> BuildThreadOrder(const CEKViewDoc& doc, CProgressDlg* progress) {
    return BuildThreadOrder(DocThreadInput(doc), progress);
}

}  // namespace ek
