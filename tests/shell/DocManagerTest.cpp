// The document manager tells its views before the document's messages change: before
// the views' update on an open or a new document, and before a close; a failed open
// changes nothing and tells nobody.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/DocManager.h"
#include "tests/support/TestSupport.h"

namespace ek {
namespace {

class RecordingView : public CView {
  public:
    explicit RecordingView(std::vector<std::string>& events) : m_events(events) {}
    void OnInitialUpdate() override { m_events.push_back("update"); }
    void OnDocumentChanging() override { m_events.push_back("changing"); }

  private:
    std::vector<std::string>& m_events;
};

TEST(DocManagerTest, ViewsHearOfAChangeBeforeItHappens) {
    const test::TempFile file("From - Sun Jan 02 15:04:05 2000\nX-EKMail-Status: 0001\n\nx\n");
    std::vector<std::string> events;
    RecordingView view(events);
    CDocManager manager;
    manager.AddView(&view);

    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> heard;
    };
    const Step steps[] = {
        {"open",
         [&] { EXPECT_TRUE(manager.OpenDocumentFile(file.path())); },
         {"changing", "update"}},
        {"failed open",
         [&] { EXPECT_FALSE(manager.OpenDocumentFile((file.path() + ".missing"))); },
         {}},
        {"new", [&] { manager.NewDocument(); }, {"changing", "update"}},
        {"close", [&] { manager.CloseDocument(); }, {"changing"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        events.clear();
        step.act();
        EXPECT_EQ(events, step.heard);
    }
}

}  // namespace
}  // namespace ek
