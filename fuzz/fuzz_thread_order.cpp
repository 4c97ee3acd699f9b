// The thread order of arbitrary reply links, against the placement written out with
// plain insertions into a sequence.
#include <fuzzer/FuzzedDataProvider.h>

#include <map>

#include "core/views/ThreadLink.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::vector<ek::ThreadLink> ReferenceLinks(const std::vector<ek::ThreadMessage>& messages) {
    const int n = static_cast<int>(messages.size());
    std::map<std::string, int> lastWithId;
    for (int i = 0; i < n; ++i) {
        if (!messages[i].messageId.empty()) {
            lastWithId[messages[i].messageId] = i;
        }
    }
    std::vector<ek::ThreadLink> links;
    for (int i = 0; i < n; ++i) {
        links.push_back({i, -1, 0, messages[i].hasParts ? 1 : 0});
    }
    for (int i = 0; i < n; ++i) {
        auto it = messages[i].inReplyTo.empty() ? lastWithId.end()
                                                : lastWithId.find(messages[i].inReplyTo);
        if (it != lastWithId.end()) {
            links[i].parent = it->second;
            links[i].depth = links[it->second].depth + 1;
        }
    }
    return links;
}

std::vector<ek::ThreadRow> ReferenceOrder(const std::vector<ek::ThreadLink>& links) {
    std::vector<ek::ThreadRow> rows;
    for (const ek::ThreadLink& link : links) {
        const ek::ThreadRow row{link.index, link.depth, link.hasParts};
        if (link.parent < 0 || link.parent >= link.index) {
            rows.push_back(row);
            continue;
        }
        std::size_t at = 0;
        while (rows[at].index != link.parent) {
            ++at;
        }
        for (++at; at < rows.size() && rows[at].depth >= link.depth; ++at) {
        }
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), row);
    }
    return rows;
}

}  // namespace

// Each message takes a Message-Id and an In-Reply-To from a small set of names (so that
// links, duplicates, self-replies and forward replies all occur) and a parts flag.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int names = input.ConsumeIntegralInRange(1, 64);
    std::vector<ek::ThreadMessage> messages;
    while (input.remaining_bytes() > 0 && messages.size() < 3000) {
        ek::ThreadMessage message;
        const int id = input.ConsumeIntegralInRange(0, names);
        const int reply = input.ConsumeIntegralInRange(0, names);
        message.messageId = id == 0 ? "" : "<" + std::to_string(id) + ">";
        message.inReplyTo = reply == 0 ? "" : "<" + std::to_string(reply) + ">";
        message.hasParts = input.ConsumeBool();
        messages.push_back(std::move(message));
    }
    const std::vector<ek::ThreadLink> expectedLinks = ReferenceLinks(messages);
    const ek::ThreadMessages threadInput(messages);
    EK_FUZZ_CHECK(ek::LinkMessages(threadInput, nullptr) == expectedLinks);

    const std::vector<ek::ThreadRow> rows = ek::BuildThreadOrder(threadInput, nullptr);
    EK_FUZZ_CHECK(rows.size() == messages.size());
    std::vector<bool> seen(rows.size(), false);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const ek::ThreadRow& row = rows[k];
        EK_FUZZ_CHECK(row.index >= 0 && row.index < static_cast<int>(rows.size()));
        EK_FUZZ_CHECK(!seen[row.index]);
        seen[row.index] = true;
        EK_FUZZ_CHECK(row.depth >= 0 && row.hasParts == (messages[row.index].hasParts ? 1 : 0));
        // An entry is at most one level deeper than the one above it.
        EK_FUZZ_CHECK(row.depth <= (k == 0 ? 1 : rows[k - 1].depth + 1));
    }
    EK_FUZZ_CHECK(rows == ReferenceOrder(expectedLinks));
    return 0;
}
