#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CommandRouter.h"

namespace ek {
namespace {

constexpr int kServed = 100;
constexpr int kGated = 101;
constexpr int kUnserved = 102;
constexpr int kShared = 103;
constexpr int kRangeFirst = 200;
constexpr int kRangeLast = 204;

// A target that records what it ran.
class Target : public CCmdTarget {
  public:
    explicit Target(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name)), m_log(log) {}

    void Serve(int id) {
        MapCommand(id, [this, id] { m_log.push_back(m_name + ":" + std::to_string(id)); });
    }
    void Gate(int id, const bool& enabled) {
        MapUpdate(id, [&enabled](CCmdUI& ui) { ui.Enable(enabled); });
    }
    void Label(int id, std::string text) {
        MapUpdate(id, [text](CCmdUI& ui) { ui.SetText(text); });
    }
    void ServeRange() {
        MapCommandRange(kRangeFirst, kRangeLast,
                        [this](int id) { m_log.push_back(m_name + ":" + std::to_string(id)); });
        MapUpdateRange(kRangeFirst, kRangeLast, [](CCmdUI& ui) {
            ui.Enable(ui.GetID() % 2 == 0);
            ui.SetCheck(1);
        });
    }

  private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class CommandRouterTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;
    Target pane{"pane", log};
    Target doc{"doc", log};
    Target frame{"frame", log};
    Target app{"app", log};
    bool paneVisible = true;
    CommandRouter router{[this] {
        return std::vector<CCmdTarget*>{paneVisible ? &pane : nullptr, &doc, &frame, &app};
    }};
};

TEST_F(CommandRouterTest, TheFirstTargetInTheChainRunsTheCommand) {
    pane.Serve(kShared);
    frame.Serve(kShared);
    app.Serve(kShared);
    app.Serve(kServed);
    EXPECT_TRUE(router.Execute(kShared));
    EXPECT_TRUE(router.Execute(kServed));
    paneVisible = false;
    EXPECT_TRUE(router.Execute(kShared));
    EXPECT_EQ(log, (std::vector<std::string>{"pane:103", "app:100", "frame:103"}));
}

TEST_F(CommandRouterTest, UnservedCommandsAreDisabledAndDropped) {
    EXPECT_FALSE(router.Query(kUnserved).IsEnabled());
    EXPECT_FALSE(router.Execute(kUnserved));
    // A label alone does not enable a command nobody serves.
    frame.Label(kUnserved, "text");
    CCmdUI ui = router.Query(kUnserved);
    EXPECT_FALSE(ui.IsEnabled());
    EXPECT_EQ(ui.GetText(), "text");
    EXPECT_TRUE(log.empty());
}

TEST_F(CommandRouterTest, TheUpdateHandlerGatesEveryExecution) {
    bool enabled = false;
    frame.Gate(kGated, enabled);
    app.Serve(kGated);
    EXPECT_FALSE(router.Query(kGated).IsEnabled());
    EXPECT_FALSE(router.Execute(kGated));
    enabled = true;
    EXPECT_TRUE(router.Execute(kGated));
    EXPECT_EQ(log, (std::vector<std::string>{"app:101"}));
}

TEST_F(CommandRouterTest, TheFirstUpdateHandlerDecides) {
    bool paneSays = false;
    bool frameSays = true;
    pane.Gate(kGated, paneSays);
    frame.Gate(kGated, frameSays);
    frame.Serve(kGated);
    EXPECT_FALSE(router.Execute(kGated));
    // Hidden panes are not asked.
    paneVisible = false;
    EXPECT_TRUE(router.Execute(kGated));
}

TEST_F(CommandRouterTest, RangesServeEveryIdentifierInThem) {
    app.ServeRange();
    for (int id = kRangeFirst - 1; id <= kRangeLast + 1; ++id) {
        SCOPED_TRACE(id);
        bool inRange = id >= kRangeFirst && id <= kRangeLast;
        CCmdUI ui = router.Query(id);
        EXPECT_EQ(ui.IsEnabled(), inRange && id % 2 == 0);
        EXPECT_EQ(ui.GetCheck(), inRange ? 1 : -1);
        EXPECT_EQ(router.Execute(id), inRange && id % 2 == 0);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"app:200", "app:202", "app:204"}));
}

}  // namespace
}  // namespace ek
