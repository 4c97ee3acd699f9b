// Ordering the messages by date key, oldest first.
#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>

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

int Percent(std::size_t done, std::size_t whole) {
    return static_cast<int>(static_cast<unsigned long long>(done) * 100 / whole);
}

}  // namespace

// Three passes, each reporting its progress from 0 towards 100: the keys, the new
// order, and the old order dropped. Messages with equal keys keep their file order.
void CEKViewDoc::SortByDateKey(CProgressDlg& progress) {
    progress.SetWindowText("メールソート中...");
    progress.SetPosition(0);

    // The keys stand one after another in one string, folded to lower case once, so
    // that the sort compares them as plain bytes and no key has an allocation of its own.
    const std::size_t count = m_messages.size();
    std::string keys;
    keys.reserve(count * 20);
    std::vector<std::size_t> ends(count);
    std::string key;
    for (std::size_t i = 0; i < count; ++i) {
        PrefetchLine(static_cast<int>(i) + kPrefetchAhead, Prefetched::DateLine);
        NormalizeDate(HeaderView(static_cast<int>(i), "Date: "), key);
        for (char& c : key) {
            c = AsciiLower(c);
        }
        keys += key;
        ends[i] = keys.size();
        progress.SetPosition(Percent(i, count));
    }
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
