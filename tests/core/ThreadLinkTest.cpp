#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/Cp932Decode.h"
#include "core/platform/ProgressDlg.h"
#include "core/views/ThreadLink.h"

namespace ek {
namespace {

// Both passes of linking written out plainly, with an ordered map as the id table.
std::vector<ThreadLink> LiteralLinks(const std::vector<ThreadMessage>& messages) {
    const int n = static_cast<int>(messages.size());
    std::vector<ThreadLink> links;
    std::map<std::string, int> ids;
    for (int i = 0; i < n; ++i) {
        links.push_back({i, -1, 0, messages[i].hasParts ? 1 : 0});
        if (!messages[i].messageId.empty()) {
            ids[messages[i].messageId] = i;
        }
    }
    for (int i = 0; i < n; ++i) {
        auto it = ids.find(messages[i].inReplyTo);
        if (!messages[i].inReplyTo.empty() && it != ids.end()) {
            links[i].parent = it->second;
            links[i].depth = links[it->second].depth + 1;
        }
    }
    return links;
}

// Placement as stated: search the sequence for the parent, scan forward over entries
// at least as deep as the new one, insert there.
std::vector<ThreadRow> LiteralPlacement(const std::vector<ThreadLink>& links) {
    std::vector<int> sequence;
    for (const ThreadLink& link : links) {
        auto parentPos = std::find(sequence.begin(), sequence.end(), link.parent);
        if (link.parent < 0 || parentPos == sequence.end()) {
            sequence.push_back(link.index);
            continue;
        }
        auto q = parentPos + 1;
        while (q != sequence.end() && links[*q].depth >= link.depth) {
            ++q;
        }
        sequence.insert(q, link.index);
    }
    std::vector<ThreadRow> rows;
    for (int index : sequence) {
        rows.push_back({index, links[index].depth, links[index].hasParts});
    }
    return rows;
}

std::string Describe(const std::vector<ThreadRow>& rows) {
    std::string text;
    for (const ThreadRow& row : rows) {
        text += std::to_string(row.index) + "/" + std::to_string(row.depth) + " ";
    }
    return text;
}

struct Example {
    const char* name;
    std::vector<ThreadMessage> messages;
    // (index, depth) in thread order.
    std::vector<std::pair<int, int>> expected;
};

const std::vector<Example>& Examples() {
    static const std::vector<Example> examples = {
        {"empty mailbox", {}, {}},
        {"no replies keep list order",
         {{"<a>", "", false}, {"<b>", "", false}, {"<c>", "", false}},
         {{0, 0}, {1, 0}, {2, 0}}},
        {"two replies to one message",
         {{"<A>", "", false}, {"<B>", "<A>", false}, {"<C>", "<A>", false}},
         {{0, 0}, {1, 1}, {2, 1}}},
        {"reply to the first reply goes before the second",
         {{"<A>", "", false}, {"<B>", "<A>", false}, {"<C>", "<A>", false}, {"<D>", "<B>", false}},
         {{0, 0}, {1, 1}, {3, 2}, {2, 1}}},
        {"reply before its parent", {{"<a>", "<b>", false}, {"<b>", "", false}}, {{0, 1}, {1, 0}}},
        {"same id twice: the later carrier is the parent",
         {{"<x>", "", false}, {"<x>", "", false}, {"<r>", "<x>", false}},
         {{0, 0}, {1, 0}, {2, 1}}},
        {"self reply is appended at depth 1",
         {{"<a>", "", false}, {"<b>", "<b>", false}, {"<c>", "<a>", false}},
         {{0, 0}, {1, 1}, {2, 1}}},
        {"mutual replies", {{"<a>", "<b>", false}, {"<b>", "<a>", false}}, {{0, 1}, {1, 2}}},
        {"reply skips an earlier waiting reply but not the next root",
         {{"<a>", "", false}, {"<w>", "<c>", false}, {"<c>", "", false}, {"<r>", "<a>", false}},
         {{0, 0}, {1, 1}, {3, 1}, {2, 0}}},
        {"record depths, not the tree, bound the scan",
         {{"<a>", "", false},
          {"<b>", "<a>", false},
          {"<c>", "<b>", false},
          {"<w>", "<e>", false},
          {"<e>", "", false},
          {"<f>", "<c>", false},
          {"<g>", "<b>", false}},
         {{0, 0}, {1, 1}, {2, 2}, {5, 3}, {6, 2}, {3, 1}, {4, 0}}},
        {"ids differing in case, blanks or a comment are not linked",
         {{"<a@x.jp>", "", false},
          {"<1>", "<A@X.JP>", false},
          {"<2>", " <a@x.jp>", false},
          {"<3>", "<a@x.jp> ", false},
          {"<4>", "<a@x.jp> (comment)", false},
          {"<5>", "a@x.jp", false}},
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
        {"empty values never link",
         {{"", "", false}, {"", "", false}, {"<c>", "", false}},
         {{0, 0}, {1, 0}, {2, 0}}},
        {"CP932 ids compare by bytes",
         {{"<\x83\x65\x83\x58\x83\x67>", "", false},
          {"<1>", "<\x83\x65\x83\x58\x83\x67>", false},
          {"<2>", "<\x83\x65\x83\x58\x83\x68>", false}},
         {{0, 0}, {1, 1}, {2, 0}}},
    };
    return examples;
}

TEST(ThreadOrderTest, Examples) {
    for (const Example& example : Examples()) {
        SCOPED_TRACE(example.name);
        std::vector<ThreadRow> rows = BuildThreadOrder(ThreadMessages(example.messages), nullptr);
        std::vector<std::pair<int, int>> got;
        for (const ThreadRow& row : rows) {
            got.emplace_back(row.index, row.depth);
        }
        EXPECT_EQ(got, example.expected);
        EXPECT_EQ(rows, LiteralPlacement(LiteralLinks(example.messages)));
    }
}

TEST(ThreadOrderTest, LinksRecordParentsAndParts) {
    ThreadMessages input({{"<x>", "", true},
                          {"<x>", "", false},
                          {"<r>", "<x>", true},
                          {"<s>", "<s>", false},
                          {"<t>", "<nowhere>", false}});
    std::vector<ThreadLink> expected = {
        {0, -1, 0, 1}, {1, -1, 0, 0}, {2, 1, 1, 1}, {3, 3, 1, 0}, {4, -1, 0, 0}};
    EXPECT_EQ(LinkMessages(input, nullptr), expected);

    std::vector<ThreadRow> rows = BuildThreadOrder(input, nullptr);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (ThreadRow{0, 0, 1}));
    EXPECT_EQ(rows[2], (ThreadRow{2, 1, 1}));
}

class RecordingWindow : public ProgressWindow {
  public:
    explicit RecordingWindow(std::vector<int>& positions) : m_positions(positions) {}
    void SetCaption(const std::string&) override {}
    void SetBarRange(int, int) override {}
    int SetBarPosition(int position) override {
        m_positions.push_back(position);
        return 0;
    }
    std::string GetPercentText() const override { return m_text; }
    void SetPercentText(const std::string& text) override { m_text = text; }
    void PumpPendingMessages() override {}

  private:
    std::vector<int>& m_positions;
    std::string m_text;
};

class RecordingUi : public ProgressUi {
  public:
    bool HasOwner() const override { return false; }
    bool IsOwnerEnabled() const override { return true; }
    void EnableOwner(bool) override {}
    std::unique_ptr<ProgressWindow> CreateProgressWindow(CProgressDlg&) override {
        return std::make_unique<RecordingWindow>(positions);
    }
    std::vector<int> positions;
};

TEST(ThreadOrderTest, ReportsProgressOncePerMessage) {
    RecordingUi ui;
    CProgressDlg dialog(&ui);
    ASSERT_TRUE(dialog.Create());
    ui.positions.clear();
    std::vector<ThreadMessage> messages(7, ThreadMessage{"<a>", "<a>", false});
    BuildThreadOrder(ThreadMessages(messages), &dialog);
    EXPECT_EQ(ui.positions, (std::vector<int>{0, 14, 28, 42, 57, 71, 85}));

    ui.positions.clear();
    BuildThreadOrder(ThreadMessages(), &dialog);
    EXPECT_TRUE(ui.positions.empty());
}

// Shapes of random mailboxes: how ids repeat and what replies point at.
struct Mix {
    const char* name;
    int duplicatePercent;
    int emptyIdPercent;
    // Weights of: no reply, an earlier message, a later one, itself, the one just
    // before (chains), one fixed message (fans), an id nobody carries.
    std::vector<int> replyWeights;
};

std::vector<ThreadMessage> RandomMailbox(std::mt19937& rng, const Mix& mix, int n) {
    auto pick = [&rng](int bound) {
        return static_cast<int>(rng() % static_cast<unsigned>(bound));
    };
    std::vector<ThreadMessage> messages(n);
    for (int i = 0; i < n; ++i) {
        int roll = pick(100);
        if (roll < mix.emptyIdPercent) {
            continue;
        }
        messages[i].messageId = roll < mix.emptyIdPercent + mix.duplicatePercent
                                    ? "<dup" + std::to_string(pick(4)) + "@x>"
                                    : "<m" + std::to_string(i) + "@x>";
        messages[i].hasParts = pick(5) == 0;
    }
    const int fan = n > 0 ? pick(n) : 0;
    int total = 0;
    for (int w : mix.replyWeights) {
        total += w;
    }
    for (int i = 0; i < n; ++i) {
        int roll = pick(total);
        int kind = 0;
        while (roll >= mix.replyWeights[kind]) {
            roll -= mix.replyWeights[kind++];
        }
        std::string& reply = messages[i].inReplyTo;
        switch (kind) {
            case 1:
                reply = i > 0 ? messages[pick(i)].messageId : "";
                break;
            case 2:
                reply = i + 1 < n ? messages[i + 1 + pick(n - i - 1)].messageId : "";
                break;
            case 3:
                reply = messages[i].messageId;
                break;
            case 4:
                reply = i > 0 ? messages[i - 1].messageId : "";
                break;
            case 5:
                reply = messages[fan].messageId;
                break;
            case 6:
                reply = "<gone" + std::to_string(pick(3)) + "@x>";
                break;
            default:
                break;
        }
    }
    return messages;
}

TEST(ThreadOrderTest, MatchesLiteralPlacementOnRandomMailboxes) {
    const std::vector<Mix> mixes = {
        {"even", 10, 5, {1, 1, 1, 1, 1, 1, 1}},
        {"forest", 2, 2, {4, 8, 0, 0, 2, 0, 1}},
        {"long chains", 0, 0, {1, 0, 0, 0, 30, 0, 0}},
        {"wide fans", 0, 0, {1, 2, 0, 0, 0, 20, 0}},
        {"replies ahead of parents", 5, 5, {2, 3, 6, 2, 1, 1, 1}},
        {"duplicated ids", 60, 10, {1, 4, 2, 1, 2, 1, 0}},
        {"chains mixed with waiting replies", 0, 0, {1, 2, 3, 1, 12, 2, 0}},
    };
    std::mt19937 rng(20240611);
    for (int round = 0; round < 3000; ++round) {
        const Mix& mix = mixes[round % mixes.size()];
        const int n =
            round % 10 == 9 ? static_cast<int>(rng() % 600) : static_cast<int>(rng() % 40);
        std::vector<ThreadMessage> messages = RandomMailbox(rng, mix, n);
        std::vector<ThreadLink> links = LiteralLinks(messages);
        ThreadMessages input(std::move(messages));
        ASSERT_EQ(LinkMessages(input, nullptr), links) << mix.name << " round " << round;
        std::vector<ThreadRow> expected = LiteralPlacement(links);
        std::vector<ThreadRow> rows = BuildThreadOrder(input, nullptr);
        ASSERT_EQ(rows, expected) << mix.name << " round " << round << "\n got  " << Describe(rows)
                                  << "\n want " << Describe(expected);
    }
}

TEST(ThreadOrderTest, MatchesLiteralPlacementOnLargeShapes) {
    std::mt19937 rng(7);
    for (const Mix& mix :
         {Mix{"chains", 1, 0, {1, 1, 1, 1, 40, 1, 0}}, Mix{"fans", 1, 0, {2, 3, 1, 1, 1, 40, 1}}}) {
        std::vector<ThreadMessage> messages = RandomMailbox(rng, mix, 4000);
        std::vector<ThreadLink> links = LiteralLinks(messages);
        EXPECT_EQ(BuildThreadOrder(ThreadMessages(std::move(messages)), nullptr),
                  LiteralPlacement(links))
            << mix.name;
    }
}

TEST(ThreadPrefixTest, BlanksThenCornerMark) {
    const struct {
        int depth;
        const char* bytes;
    } cases[] = {
        {-1, ""}, {0, ""}, {1, "\x84\xA4"}, {2, "  \x84\xA4"}, {3, "    \x84\xA4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        EXPECT_EQ(ThreadPrefix(c.depth), c.bytes);
    }
    EXPECT_EQ(cp932::ToUtf8(ThreadPrefix(1)), "\xE2\x94\x94");
}

TEST(ThreadPrefixTest, EqualsRightAlignedFieldOfTwiceTheDepth) {
    for (int depth = 1; depth <= 40; ++depth) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%*s", 2 * depth, "\x84\xA4");
        EXPECT_EQ(ThreadPrefix(depth), expected) << depth;
    }
}

}  // namespace
}  // namespace ek
