// The search window's running search: a query started over the whole mailbox and
// run by worker threads beside the window, replaced by the next query, with the rule
// for when its progress shows. The messages are cut into chunks that the workers take
// in list order; a chunk's matches count once every chunk before it is done, so the
// results only ever grow at their end and stay in list order.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "core/document/MailSearch.h"

namespace ek {

class SearchRun {
  public:
    using Clock = std::chrono::steady_clock;
    // Makes a reader of the searched text for one worker; called on the owner's thread.
    using TextMaker = std::function<std::unique_ptr<search::FieldTextProvider>()>;

    // A search that has run this long shows its progress.
    static constexpr Clock::duration kProgressDelay = std::chrono::milliseconds(200);

    // `notify` is called from a worker whenever more results or progress can be
    // collected, at most about every 20 ms, and once when the last worker ends; it
    // must be safe to call from any thread.
    explicit SearchRun(std::function<void()> notify = {});
    ~SearchRun();
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // Stops any search under way and starts `utf8` in `field` over every message, on
    // `workers` threads (0: one per core, at most two). The texts made must outlive
    // the search: Clear() or the next Start() before their document changes. A refused
    // query starts nothing: the status says why and the results are empty.
    search::QueryStatus Start(const std::string& utf8, search::SearchField field,
                              const TextMaker& makeText, Clock::time_point now, int workers = 0);
    // Stops the search under way (waiting for its workers) and drops its results.
    void Clear();

    // Takes over what the workers found since the last call; true when the results
    // or the progress changed. The state below is what was collected.
    bool Collect();
    // Waits until the workers are done or `timeout` has passed, then collects; true
    // while messages remain.
    bool Wait(Clock::duration timeout);

    bool Running() const { return m_shared != nullptr && !m_finished; }
    // True once a search has looked at every message.
    bool Finished() const { return m_shared != nullptr && m_finished; }
    search::QueryStatus Status() const { return m_status; }
    // The matching message indexes collected so far, in list order.
    const std::vector<int>& Results() const { return m_results; }
    // Share of the messages looked at, 0 to 100.
    int Percent() const { return m_percent; }
    bool ShowsProgress(Clock::time_point now) const {
        return Running() && now - m_started >= kProgressDelay;
    }

  private:
    struct Shared;
    void Work(std::stop_token stop, search::FieldTextProvider& text);

    std::function<void()> m_notify;
    std::shared_ptr<Shared> m_shared;
    std::vector<std::unique_ptr<search::FieldTextProvider>> m_texts;
    std::vector<std::jthread> m_workers;
    search::QueryStatus m_status = search::QueryStatus::Empty;
    Clock::time_point m_started;
    std::vector<int> m_results;
    std::size_t m_chunksCollected = 0;
    int m_percent = 0;
    bool m_finished = false;
};

}  // namespace ek
