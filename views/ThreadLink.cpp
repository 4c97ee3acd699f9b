#include "views/ThreadLink.h"

#include <cstddef>
#include <unordered_map>

#include "frame/ProgressDlg.h"

namespace ek {

namespace {

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
    std::unordered_map<std::string_view, int> ids;
    ids.reserve(n);
    for (int i = 0; i < n; ++i) {
        links[i] = {i, -1, 0, input.HasParts(i) ? 1 : 0};
        const std::string_view id = input.GetMessageId(i);
        if (!id.empty()) {
            ids.insert_or_assign(id, i);
        }
    }
    for (int i = 0; i < n; ++i) {
        const std::string_view reply = input.GetInReplyTo(i);
        if (!reply.empty()) {
            if (auto it = ids.find(reply); it != ids.end()) {
                links[i].parent = it->second;
                links[i].depth = links[it->second].depth + 1;
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
