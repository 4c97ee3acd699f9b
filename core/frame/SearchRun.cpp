#include "core/frame/SearchRun.h"

namespace ek {

namespace {

// About a millisecond of searching between looks at the clock: decoding costs far
// more per byte than matching stored bytes does.
constexpr std::size_t kSliceBytes = 1 << 20;
constexpr std::size_t kDecodedSliceBytes = 1 << 15;

}  // namespace

search::QueryStatus SearchRun::Start(const std::string& utf8, search::SearchField field,
                                     search::FieldTextProvider& text, Clock::time_point now) {
    Clear();
    search::SearchQuery query = search::CompileQuery(utf8, text.Encoding());
    m_status = query.status;
    if (query.ok()) {
        m_search = std::make_unique<search::MailSearch>(std::move(query), field, text, 0,
                                                        text.MessageCount());
        m_started = now;
        m_sliceBytes =
            text.Encoding() == search::TextEncoding::Utf8 ? kDecodedSliceBytes : kSliceBytes;
    }
    return m_status;
}

void SearchRun::Clear() {
    m_search.reset();
    m_status = search::QueryStatus::Empty;
}

bool SearchRun::Step(Clock::duration budget) {
    if (!Running()) {
        return false;
    }
    const Clock::time_point end = Clock::now() + budget;
    while (m_search->RunSlice(m_sliceBytes) && Clock::now() < end) {
    }
    return Running();
}

const std::vector<int>& SearchRun::Results() const {
    static const std::vector<int> kNone;
    return m_search != nullptr ? m_search->Results() : kNone;
}

int SearchRun::Percent() const {
    if (m_search == nullptr) {
        return 0;
    }
    const long long range = m_search->Last() - m_search->First();
    if (range <= 0) {
        return 100;
    }
    return static_cast<int>(100LL * (m_search->NextIndex() - m_search->First()) / range);
}

}  // namespace ek
