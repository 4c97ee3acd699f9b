// The search window's running search: a query started over the whole mailbox,
// run a slice at a time between the window's events, replaced by the next query,
// with the rule for when its progress shows.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/document/MailSearch.h"

namespace ek {

class SearchRun {
  public:
    using Clock = std::chrono::steady_clock;

    // A search that has run this long shows its progress.
    static constexpr Clock::duration kProgressDelay = std::chrono::milliseconds(200);

    // Drops any search under way and starts `utf8` in `field` over every message of
    // `text` (which must outlive the search). A refused query starts nothing: the
    // status says why and the results are empty.
    search::QueryStatus Start(const std::string& utf8, search::SearchField field,
                              search::FieldTextProvider& text, Clock::time_point now);
    // Drops the search under way and its results.
    void Clear();

    // Runs slices until `budget` has passed; true while messages remain.
    bool Step(Clock::duration budget);

    bool Running() const { return m_search != nullptr && !m_search->Done(); }
    // True once a search has looked at every message.
    bool Finished() const { return m_search != nullptr && m_search->Done(); }
    search::QueryStatus Status() const { return m_status; }
    // The matching message indexes found so far, in list order.
    const std::vector<int>& Results() const;
    // Share of the messages looked at, 0 to 100.
    int Percent() const;
    bool ShowsProgress(Clock::time_point now) const {
        return Running() && now - m_started >= kProgressDelay;
    }

  private:
    std::unique_ptr<search::MailSearch> m_search;
    search::QueryStatus m_status = search::QueryStatus::Empty;
    Clock::time_point m_started;
    std::size_t m_sliceBytes = 0;
};

}  // namespace ek
