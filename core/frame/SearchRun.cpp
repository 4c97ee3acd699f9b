#include "core/frame/SearchRun.h"

#include <algorithm>

namespace ek {

namespace {

// About a millisecond of searching between looks at the stop request: decoding costs
// far more per byte than matching stored bytes does.
constexpr std::size_t kSliceBytes = 1 << 20;
constexpr std::size_t kDecodedSliceBytes = 1 << 15;
// Enough chunks that two workers end close together, few enough that taking one
// costs nothing beside searching it.
constexpr int kChunksWanted = 256;
constexpr int kMinChunk = 16;
constexpr int kMaxChunk = 4096;
constexpr int kMaxWorkers = 2;
// How often a worker may wake the owner.
constexpr std::chrono::milliseconds kNotifyEvery(20);

}  // namespace

struct SearchRun::Shared {
    Shared(search::SearchQuery q, search::SearchField f, int count, std::size_t slice)
        : query(std::move(q)),
          field(f),
          messageCount(count),
          chunkSize(std::clamp(count / kChunksWanted, kMinChunk, kMaxChunk)),
          sliceBytes(slice),
          chunks(static_cast<std::size_t>((count + chunkSize - 1) / chunkSize)) {}

    struct Chunk {
        std::vector<int> results;
        bool done = false;
    };

    const search::SearchQuery query;
    const search::SearchField field;
    const int messageCount;
    const int chunkSize;
    std::atomic<int> nextChunk{0};
    std::atomic<int> looked{0};
    std::atomic<Clock::rep> lastNotify{0};
    const std::size_t sliceBytes;

    std::mutex mutex;
    std::condition_variable ended;
    // Under the mutex.
    std::vector<Chunk> chunks;
    int workersLeft = 0;
};

SearchRun::SearchRun(std::function<void()> notify) : m_notify(std::move(notify)) {}

SearchRun::~SearchRun() {
    Clear();
}

search::QueryStatus SearchRun::Start(const std::string& utf8, search::SearchField field,
                                     const TextMaker& makeText, Clock::time_point now,
                                     int workers) {
    Clear();
    std::unique_ptr<search::FieldTextProvider> first = makeText();
    if (first == nullptr) {
        return m_status;
    }
    const search::TextEncoding encoding = first->Encoding();
    search::SearchQuery query = search::CompileQuery(utf8, encoding);
    m_status = query.status;
    if (!query.ok()) {
        return m_status;
    }
    m_started = now;
    const int count = first->MessageCount();
    m_shared = std::make_shared<Shared>(
        std::move(query), field, count,
        encoding == search::TextEncoding::Utf8 ? kDecodedSliceBytes : kSliceBytes);
    if (workers <= 0) {
        workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u,
                                              static_cast<unsigned>(kMaxWorkers)));
    }
    workers = std::min(workers, static_cast<int>(m_shared->chunks.size()));
    m_shared->workersLeft = workers;
    if (workers > 0) {
        m_texts.push_back(std::move(first));
    }
    while (static_cast<int>(m_texts.size()) < workers) {
        m_texts.push_back(makeText());
    }
    for (auto& text : m_texts) {
        m_workers.emplace_back(
            [this, &text](std::stop_token stop) { Work(std::move(stop), *text); });
    }
    // Until the owner collects, the search runs, however quick its workers are.
    m_finished = m_shared->chunks.empty();
    m_percent = m_finished ? 100 : 0;
    return m_status;
}

void SearchRun::Clear() {
    // All are asked before the first is joined, so that they stop together.
    for (std::jthread& worker : m_workers) {
        worker.request_stop();
    }
    m_workers.clear();
    m_texts.clear();
    m_shared.reset();
    m_status = search::QueryStatus::Empty;
    m_results.clear();
    m_chunksCollected = 0;
    m_percent = 0;
    m_finished = false;
}

void SearchRun::Work(std::stop_token stop, search::FieldTextProvider& text) {
    Shared& shared = *m_shared;
    auto notify = [&](bool always) {
        if (!m_notify || stop.stop_requested()) {
            return;
        }
        const Clock::rep now = Clock::now().time_since_epoch().count();
        Clock::rep last = shared.lastNotify.load();
        const Clock::rep every = Clock::duration(kNotifyEvery).count();
        if (always ||
            (now - last >= every && shared.lastNotify.compare_exchange_strong(last, now))) {
            m_notify();
        }
    };
    for (int chunk = shared.nextChunk++;
         chunk < static_cast<int>(shared.chunks.size()) && !stop.stop_requested();
         chunk = shared.nextChunk++) {
        const int first = chunk * shared.chunkSize;
        const int last = std::min(first + shared.chunkSize, shared.messageCount);
        search::MailSearch search(shared.query, shared.field, text, first, last);
        int next = first;
        while (!stop.stop_requested() && search.RunSlice(shared.sliceBytes)) {
            shared.looked += search.NextIndex() - next;
            next = search.NextIndex();
            notify(false);
        }
        if (stop.stop_requested()) {
            break;
        }
        shared.looked += search.NextIndex() - next;
        {
            std::lock_guard lock(shared.mutex);
            Shared::Chunk& done = shared.chunks[static_cast<std::size_t>(chunk)];
            done.results = search.Results();
            done.done = true;
        }
        notify(false);
    }
    bool lastOut = false;
    {
        std::lock_guard lock(shared.mutex);
        lastOut = --shared.workersLeft == 0;
    }
    shared.ended.notify_all();
    if (lastOut) {
        notify(true);
    }
}

bool SearchRun::Collect() {
    if (m_shared == nullptr || m_finished) {
        return false;
    }
    Shared& shared = *m_shared;
    const std::size_t resultsBefore = m_results.size();
    const int percentBefore = m_percent;
    {
        std::lock_guard lock(shared.mutex);
        while (m_chunksCollected < shared.chunks.size() && shared.chunks[m_chunksCollected].done) {
            std::vector<int>& found = shared.chunks[m_chunksCollected].results;
            m_results.insert(m_results.end(), found.begin(), found.end());
            found = {};
            ++m_chunksCollected;
        }
    }
    m_finished = m_chunksCollected == shared.chunks.size();
    m_percent = m_finished || shared.messageCount == 0
                    ? 100
                    : static_cast<int>(100LL * shared.looked.load() / shared.messageCount);
    return m_finished || m_results.size() != resultsBefore || m_percent != percentBefore;
}

bool SearchRun::Wait(Clock::duration timeout) {
    if (m_shared != nullptr) {
        std::unique_lock lock(m_shared->mutex);
        m_shared->ended.wait_for(lock, timeout, [this] { return m_shared->workersLeft == 0; });
    }
    Collect();
    return Running();
}

}  // namespace ek
