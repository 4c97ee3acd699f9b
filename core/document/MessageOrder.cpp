// Ordering the messages by date key, oldest first.
#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/platform/ProgressDlg.h"

namespace ek {

int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto x = static_cast<unsigned char>(AsciiLower(a[i]));
        auto y = static_cast<unsigned char>(AsciiLower(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

// How many messages ahead the header lines are fetched while keys are built.
constexpr int kPrefetchAhead = 8;
// From this many messages on, the keys of the second half are built on a second core.
constexpr std::size_t kSplitKeysFrom = 20000;

int Percent(std::size_t done, std::size_t whole) {
    return static_cast<int>(static_cast<unsigned long long>(done) * 100 / whole);
}

// The date keys of messages [from, to), folded to lower case, one after another.
struct DateKeys {
    std::string text;
    std::vector<std::size_t> ends;
};

void BuildKeys(const CEKViewDoc& doc, std::size_t from, std::size_t to, DateKeys& keys,
               CProgressDlg& progress) {
    keys.text.reserve((to - from) * 20);
    keys.ends.reserve(to - from);
    std::string key;
    for (std::size_t i = from; i < to; ++i) {
        doc.PrefetchLine(static_cast<int>(i) + kPrefetchAhead, CEKViewDoc::Prefetched::DateLine);
        CEKViewDoc::NormalizeDate(doc.HeaderView(static_cast<int>(i), "Date: "), key);
        for (char& c : key) {
            c = AsciiLower(c);
        }
        keys.text += key;
        keys.ends.push_back(keys.text.size());
        progress.SetPosition(Percent(i - from, to - from));
    }
}

}  // namespace

// Three passes, each reporting its progress from 0 towards 100: the keys, the new
// order, and the old order dropped. Messages with equal keys keep their file order.
void CEKViewDoc::SortByDateKey(CProgressDlg& progress) {
    progress.SetWindowText("メールソート中...");
    progress.SetPosition(0);

    // The keys stand one after another in one string, folded to lower case once, so
    // that the sort compares them as plain bytes and no key has an allocation of its own.
    // A large mailbox has the keys of its second half built on a second core.
    const std::size_t count = m_messages.size();
    const std::size_t half =
        count >= kSplitKeysFrom && std::thread::hardware_concurrency() > 1 ? count / 2 : count;
    DateKeys first;
    DateKeys second;
    CProgressDlg silent;
    std::thread worker;
    if (half < count) {
        worker = std::thread([&] { BuildKeys(*this, half, count, second, silent); });
    }
    BuildKeys(*this, 0, half, first, progress);
    if (worker.joinable()) {
        worker.join();
    }
    const std::size_t firstSize = first.text.size();
    first.text += second.text;
    for (std::size_t end : second.ends) {
        first.ends.push_back(firstSize + end);
    }
    const std::string& keys = first.text;
    const std::vector<std::size_t>& ends = first.ends;
    auto folded = [&](std::uint32_t i) {
        std::size_t start = i == 0 ? 0 : ends[i - 1];
        return std::string_view(keys).substr(start, ends[i] - start);
    };

    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&folded](std::uint32_t a, std::uint32_t b) { return folded(a) < folded(b); });

    std::vector<MessageSpan> sorted;
    sorted.reserve(count);
    for (std::size_t j = 0; j < count; ++j) {
        sorted.push_back(m_messages[order[j]]);
        progress.SetPosition(Percent(j, count));
    }
    for (std::size_t k = 0; k < count; ++k) {
        progress.SetPosition(Percent(k, count));
    }
    m_messages = std::move(sorted);
}

}  // namespace ek
