#include "core/views/ThreadLink.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/platform/ProgressDlg.h"

namespace ek {

namespace {

std::uint64_t HashId(std::string_view id) {
    constexpr std::uint64_t kMix = 0xBF58476D1CE4E5B9ULL;
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ id.size();
    const char* p = id.data();
    std::size_t left = id.size();
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        h = (h ^ word) * kMix;
        h ^= h >> 31;
    }
    std::uint64_t word = 0;
    std::memcpy(&word, p, left);
    h = (h ^ word) * kMix;
    h ^= h >> 29;
    h *= 0x94D049BB133111EBULL;
    return h ^ (h >> 32);
}

// Message ids to the highest index that carries each, by exact bytes: open addressing
// over a table sized once, so that linking allocates nothing per message. The views
// stay the input's.
class IdTable {
  public:
    explicit IdTable(int count)
        : m_ids(static_cast<std::size_t>(count)),
          m_slots(std::bit_ceil(2 * static_cast<std::size_t>(count) + 2)),
          m_mask(m_slots.size() - 1) {}

    void Assign(std::string_view id, int index) {
        m_ids[static_cast<std::size_t>(index)] = id;
        const std::uint64_t hash = HashId(id);
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            Slot& slot = m_slots[at];
            if (slot.index < 0) {
                slot = {static_cast<std::uint32_t>(hash >> 32), index};
                return;
            }
            if (Holds(slot, hash, id)) {
                slot.index = index;
                return;
            }
        }
    }

    // The index, or -1.
    int Find(std::string_view id) const {
        const std::uint64_t hash = HashId(id);
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (slot.index < 0) {
                return -1;
            }
            if (Holds(slot, hash, id)) {
                return slot.index;
            }
        }
    }

  private:
    struct Slot {
        std::uint32_t tag = 0;  // the hash's high half
        int index = -1;
    };

    bool Holds(const Slot& slot, std::uint64_t hash, std::string_view id) const {
        return slot.tag == static_cast<std::uint32_t>(hash >> 32) &&
               m_ids[static_cast<std::size_t>(slot.index)] == id;
    }

    std::vector<std::string_view> m_ids;
    std::vector<Slot> m_slots;
    std::size_t m_mask;
};

// Placement without inserting into a sequence. A message placed below its parent p
// (p < i) has depth(p) + 1, so it goes at the end of the run of entries after p that are
// deeper than p. Every other message is appended, at depth 0 (no parent) or 1 (parent
// not placed yet). Hang each message below a host: p when placed below it; for a depth-1
// append, the latest depth-0 message, whose run reaches the end; nothing otherwise. Then
// every host is one level above its guests, a host's run is exactly its guests' subtrees,
// and hostless depth-1 messages all precede the first depth-0 message. So the sequence is
// the preorder walk of this forest with guests and hostless messages in index order.
std::vector<ThreadRow> PlaceThreadOrder(const std::vector<ThreadLink>& links) {
    const int n = static_cast<int>(links.size());
    // Slot n stands for "no host"; guests of slot s are guests[first[s]..first[s+1]).
    std::vector<int> host(n);
    std::vector<int> first(static_cast<std::size_t>(n) + 2, 0);
    int latestTop = n;
    for (int i = 0; i < n; ++i) {
        const int parent = links[i].parent;
        if (parent < 0) {
            host[i] = n;
            latestTop = i;
        } else if (parent < i) {
            host[i] = parent;
        } else {
            host[i] = latestTop;
        }
        ++first[host[i] + 1];
    }
    for (int s = 0; s <= n; ++s) {
        first[s + 1] += first[s];
    }
    std::vector<int> guests(n);
    std::vector<int> fill(first.begin(), first.end() - 1);
    for (int i = 0; i < n; ++i) {
        guests[fill[host[i]]++] = i;
    }

    std::vector<ThreadRow> rows;
    rows.reserve(n);
    std::vector<int> stack;
    auto pushGuests = [&](int slot) {
        for (int k = first[slot + 1]; k > first[slot]; --k) {
            stack.push_back(guests[k - 1]);
        }
    };
    pushGuests(n);
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        rows.push_back({i, links[i].depth, links[i].hasParts});
        pushGuests(i);
    }
    return rows;
}

}  // namespace

std::vector<ThreadLink> LinkMessages(const ThreadInput& input, CProgressDlg* progress) {
    const int n = input.GetMessageCount();
    if (n <= 0) {
        return {};
    }
    std::vector<ThreadLink> links(n);
    IdTable ids(n);
    for (int i = 0; i < n; ++i) {
        links[i] = {i, -1, 0, input.HasParts(i) ? 1 : 0};
        const std::string_view id = input.GetMessageId(i);
        if (!id.empty()) {
            ids.Assign(id, i);
        }
    }
    for (int i = 0; i < n; ++i) {
        const std::string_view reply = input.GetInReplyTo(i);
        if (!reply.empty()) {
            if (const int parent = ids.Find(reply); parent >= 0) {
                links[i].parent = parent;
                links[i].depth = links[parent].depth + 1;
            }
        }
        if (progress != nullptr) {
            progress->SetPosition(static_cast<int>(100LL * i / n));
        }
    }
    return links;
}

std::vector<ThreadRow> BuildThreadOrder(const ThreadInput& input, CProgressDlg* progress) {
    return PlaceThreadOrder(LinkMessages(input, progress));
}

std::string ThreadPrefix(int depth) {
    if (depth <= 0) {
        return {};
    }
    std::string prefix(2 * (static_cast<std::size_t>(depth) - 1), ' ');
    prefix += "\x84\xA4";
    return prefix;
}

}  // namespace ek
