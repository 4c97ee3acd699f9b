// The search on worker threads: the same results as one search in one go, in list
// order and only growing at their end, on any number of workers; a new query or a
// clear stops the workers, which read nothing after; the last notice leaves
// everything collectable.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/document/MailSearch.h"
#include "core/frame/SearchRun.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using search::QueryStatus;
using search::RawFieldText;
using search::SearchField;

// Message i holds "needle" in its body when i % 7 == 3, "pin" in its subject when
// i % 11 == 0.
std::string Mailbox(int count) {
    std::string box;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        box += kStart + "\n" + kStatus + "\nSubject: " + (i % 11 == 0 ? "pin " : "item ") + n +
               "\n\n" + (i % 7 == 3 ? "a needle " : "hay ") + n + "\n";
    }
    return box;
}

std::vector<int> Expected(int count, int every, int at) {
    std::vector<int> found;
    for (int i = at; i < count; i += every) {
        found.push_back(i);
    }
    return found;
}

// The stored text, two milliseconds a message, counting what it is asked.
class SlowText : public RawFieldText {
  public:
    SlowText(const CEKViewDoc& doc, std::atomic<int>& reads) : RawFieldText(doc), m_reads(reads) {}
    void AppendFieldText(int index, SearchField field,
                         std::vector<std::string_view>& pieces) override {
        ++m_reads;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        RawFieldText::AppendFieldText(index, field, pieces);
    }

  private:
    std::atomic<int>& m_reads;
};

class SearchRunWorkers : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { ASSERT_TRUE(ReadInto(m_doc, Mailbox(kCount))); }
    SearchRun::TextMaker Raw() {
        return [this] { return std::make_unique<RawFieldText>(m_doc); };
    }
    SearchRun::TextMaker Slow(std::atomic<int>& reads) {
        return [this, &reads] { return std::make_unique<SlowText>(m_doc, reads); };
    }

    static constexpr int kCount = 1000;
    CEKViewDoc m_doc;
};

TEST_P(SearchRunWorkers, FindWhatOneSearchFindsInListOrderGrowingAtTheEnd) {
    struct Case {
        const char* query;
        SearchField field;
        std::vector<int> expected;  // where it is easily said
    };
    const Case cases[] = {
        {"needle", SearchField::Body, Expected(kCount, 7, 3)},
        {"pin", SearchField::Subject, Expected(kCount, 11, 0)},
        {"needle", SearchField::Subject, {}},
        {"item 99", SearchField::All, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        // Each notice is collected on this thread, as the window collects them.
        std::mutex mutex;
        std::condition_variable noted;
        int notices = 0;
        SearchRun run([&] {
            std::lock_guard lock(mutex);
            ++notices;
            noted.notify_one();
        });
        ASSERT_EQ(run.Start(c.query, c.field, Raw(), SearchRun::Clock::now(), GetParam()),
                  QueryStatus::Ok);
        std::vector<int> seen;
        while (run.Running()) {
            {
                std::unique_lock lock(mutex);
                ASSERT_TRUE(noted.wait_for(lock, std::chrono::seconds(60), [&] {
                    return notices > 0;
                })) << "a notice is missing";
                notices = 0;
            }
            run.Collect();
            const std::vector<int>& now = run.Results();
            ASSERT_GE(now.size(), seen.size());
            ASSERT_TRUE(std::equal(seen.begin(), seen.end(), now.begin()))
                << "results changed before their end";
            seen = now;
        }
        EXPECT_TRUE(run.Finished());
        EXPECT_EQ(run.Percent(), 100);
        RawFieldText text(m_doc);
        search::MailSearch once(search::CompileQuery(c.query, text.Encoding()), c.field, text, 0,
                                kCount);
        once.RunSlice(SIZE_MAX);
        EXPECT_EQ(run.Results(), once.Results());
        if (!c.expected.empty()) {
            EXPECT_EQ(run.Results(), c.expected);
        }
    }
}

TEST_P(SearchRunWorkers, ANewQueryStopsTheWorkersUnderWay) {
    std::atomic<int> slowReads = 0;
    std::mutex mutex;
    std::condition_variable noted;
    bool started = false;
    SearchRun run([&] {
        std::lock_guard lock(mutex);
        started = true;
        noted.notify_one();
    });
    // A second a worker at least: stopped long before it could end.
    ASSERT_EQ(run.Start("needle", SearchField::Body, Slow(slowReads), SearchRun::Clock::now(),
                        GetParam()),
              QueryStatus::Ok);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(noted.wait_for(lock, std::chrono::seconds(60), [&] { return started; }));
    }
    ASSERT_EQ(run.Start("pin", SearchField::Subject, Raw(), SearchRun::Clock::now(), GetParam()),
              QueryStatus::Ok);
    const int readsWhenStopped = slowReads;
    EXPECT_LT(readsWhenStopped, kCount);
    EXPECT_FALSE(run.Wait(std::chrono::seconds(60)));
    EXPECT_EQ(run.Results(), Expected(kCount, 11, 0)) << "nothing of the old query stays";
    EXPECT_EQ(slowReads, readsWhenStopped) << "a stopped worker read on";

    // A clear stops them the same way and leaves nothing running.
    ASSERT_EQ(run.Start("needle", SearchField::Body, Slow(slowReads), SearchRun::Clock::now(),
                        GetParam()),
              QueryStatus::Ok);
    run.Clear();
    const int readsWhenCleared = slowReads;
    EXPECT_LT(readsWhenCleared - readsWhenStopped, kCount);
    EXPECT_FALSE(run.Running());
    EXPECT_FALSE(run.Finished());
    EXPECT_TRUE(run.Results().empty());
    EXPECT_EQ(run.Status(), QueryStatus::Empty);
    EXPECT_FALSE(run.Wait(std::chrono::milliseconds(1)));
    EXPECT_EQ(slowReads, readsWhenCleared);
}

INSTANTIATE_TEST_SUITE_P(Workers, SearchRunWorkers, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Workers" + std::to_string(info.param);
                         });

TEST(SearchRunTest, AnEmptyMailboxIsSearchedAtOnce) {
    CEKViewDoc doc;
    SearchRun run;
    auto text = [&doc] { return std::make_unique<RawFieldText>(doc); };
    EXPECT_EQ(run.Start("x", SearchField::All, text, SearchRun::Clock::now()), QueryStatus::Ok);
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(run.Percent(), 100);
    EXPECT_TRUE(run.Results().empty());
}

}  // namespace
}  // namespace ek::test
