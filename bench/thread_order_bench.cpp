// Times BuildThreadOrder on synthetic mailboxes of 300,000 messages against a baseline
// measured on the same input in the same run: copying and hashing every Message-Id and
// In-Reply-To value once.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/views/ThreadLink.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMessages = 300000;
constexpr int kRepeats = 7;

std::string MakeId(int serial) {
    char text[80];
    std::snprintf(text, sizeof text, "<2023%08d.%05d@mail%d.example.co.jp>", serial * 7 % 99999991,
                  serial % 99991, serial % 13);
    return text;
}

// Mostly roots and short threads near their parents; a few long chains and wide fans;
// some duplicated ids, replies ahead of their parents, unknown ids and self-replies.
ek::ThreadMessages RealisticMailbox() {
    std::mt19937 rng(12345);
    auto pick = [&rng](int bound) {
        return static_cast<int>(rng() % static_cast<unsigned>(bound));
    };
    std::vector<ek::ThreadMessage> messages(kMessages);
    for (int i = 0; i < kMessages; ++i) {
        messages[i].messageId = i > 0 && pick(100) == 0 ? messages[pick(i)].messageId : MakeId(i);
        messages[i].hasParts = pick(10) == 0;
    }
    const int chains = 8;
    const int fans = 4;
    std::vector<int> chainTip(chains, -1);
    std::vector<int> fanRoot(fans);
    for (int& root : fanRoot) {
        root = pick(kMessages / 10);
    }
    for (int i = 0; i < kMessages; ++i) {
        const int roll = pick(1000);
        std::string& reply = messages[i].inReplyTo;
        if (roll < 550) {
            continue;
        }
        if (roll < 850) {
            reply = i > 0 ? messages[std::max(0, i - 1 - pick(300))].messageId : "";
        } else if (roll < 880) {
            reply = i + 1 < kMessages
                        ? messages[std::min(kMessages - 1, i + 1 + pick(50))].messageId
                        : "";
        } else if (roll < 900) {
            reply = "<unknown" + std::to_string(i) + "@elsewhere.example>";
        } else if (roll < 940) {
            int& tip = chainTip[pick(chains)];
            if (tip >= 0) {
                reply = messages[tip].messageId;
            }
            tip = i;
        } else if (roll < 960) {
            const int root = fanRoot[pick(fans)];
            if (root < i) {
                reply = messages[root].messageId;
            }
        } else if (roll < 961) {
            reply = messages[i].messageId;
        } else {
            reply = messages[std::max(0, i - 1 - pick(5000))].messageId;
        }
    }
    return ek::ThreadMessages(std::move(messages));
}

// Each message answers the one before it (`offset` -1) or the one after it (+1), or
// every message answers message 0 (`offset` 0).
ek::ThreadMessages Shape(int offset) {
    std::vector<ek::ThreadMessage> messages(kMessages);
    for (int i = 0; i < kMessages; ++i) {
        messages[i].messageId = MakeId(i);
    }
    for (int i = 0; i < kMessages; ++i) {
        const int parent = offset == 0 ? 0 : i + offset;
        if (parent >= 0 && parent < kMessages && parent != i) {
            messages[i].inReplyTo = messages[parent].messageId;
        }
    }
    return ek::ThreadMessages(std::move(messages));
}

double MedianSeconds(const std::function<void()>& run) {
    std::vector<double> times;
    for (int r = 0; r < kRepeats; ++r) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::size_t g_sink = 0;

void Measure(const char* name, ek::ThreadMessages& input) {
    const double baseline = MedianSeconds([&input] {
        std::vector<std::string> copies;
        copies.reserve(2 * static_cast<std::size_t>(kMessages));
        std::hash<std::string_view> hash;
        for (const ek::ThreadMessage& m : input.Messages()) {
            copies.push_back(m.messageId);
            copies.push_back(m.inReplyTo);
            g_sink += hash(copies[copies.size() - 2]) ^ hash(copies.back());
        }
    });
    const double build =
        MedianSeconds([&input] { g_sink += BuildThreadOrder(input, nullptr).back().index; });
    std::printf("%-28s build %8.2f ms   baseline %7.2f ms   ratio %5.2f\n", name, build * 1e3,
                baseline * 1e3, build / baseline);
}

}  // namespace

int main() {
    std::printf("BuildThreadOrder, %d messages, median of %d runs\n", kMessages, kRepeats);
    ek::ThreadMessages realistic = RealisticMailbox();
    Measure("realistic mailbox", realistic);
    ek::ThreadMessages chain = Shape(-1);
    Measure("one chain", chain);
    ek::ThreadMessages ahead = Shape(1);
    Measure("each answers the next", ahead);
    ek::ThreadMessages fan = Shape(0);
    Measure("one fan", fan);
    return g_sink == 42 ? 1 : 0;
}
