// The document manager tells its views before the document's messages change: before
// the views' update on an open or a new document, and before a close; a failed open
// changes nothing and tells nobody.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "shell/DocManager.h"

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
    // A name of its own: other runs of the tests may share the folder.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("ekview-docmanager-" + std::to_string(std::random_device{}()) + ".mbx");
    std::ofstream(file) << "From - Sun Jan 02 15:04:05 2000\nX-EKMail-Status: 0001\n\nx\n";
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
         [&] { EXPECT_TRUE(manager.OpenDocumentFile(file.string())); },
         {"changing", "update"}},
        {"failed open",
         [&] { EXPECT_FALSE(manager.OpenDocumentFile((file.string() + ".missing"))); },
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
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace ek
