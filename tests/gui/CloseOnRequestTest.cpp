// A close asked for from outside (log-out, a stop signal) ends what stands in its
// way and closes the window through the user's path, settings and all.
#include <signal.h>
#include <wx/app.h>
#include <wx/msgdlg.h>

#include "GuiTestSupport.h"
#include "gui/app/CloseOnRequest.h"
#include "gui/platform/WxProfileStore.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

class CloseOnRequestTest : public ::testing::Test {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }

    std::unique_ptr<ProgramRun> Start() {
        ProgramRun::Setup setup;
        setup.profilePath = dir.File("EKView.conf");
        setup.args = {SamplePath()};
        auto run = std::make_unique<ProgramRun>(std::move(setup));
        EXPECT_TRUE(run->Started());
        return run;
    }

    TempDir dir;
};

TEST_F(CloseOnRequestTest, AnOpenDialogIsCancelledAndTheWindowClosesAsTheUserCloses) {
    auto run = Start();
    CloseOnRequest closer(*wxTheApp, [&]() -> wxWindow* { return run->App().GetMainFrame(); });
    // The request comes while the colour dialog waits for the user.
    wxTheApp->CallAfter([&] { closer.Request(); });
    EXPECT_TRUE(run->Frame().ExecuteCommand(ID_VIEW_COLOR));
    EXPECT_TRUE(closer.IsRequested());
    EXPECT_EQ(run->App().GetProfile().GetProfileString("Settings", "Quote", "absent"), "absent")
        << "the dialog ended as with Cancel";
    RunPending();
    EXPECT_EQ(run->App().GetMainFrame(), nullptr) << "the window closed";
    run->App().ExitInstance();
    const WxProfileStore saved(dir.File("EKView.conf"));
    EXPECT_NE(saved.GetProfileString("Settings", "WindowPos", ""), "");
    EXPECT_NE(saved.GetProfileString("Settings", "TFont", ""), "");
}

TEST_F(CloseOnRequestTest, AMessageBoxOfTheSystemIsAnsweredToo) {
    auto run = Start();
    CloseOnRequest closer(*wxTheApp, [&]() -> wxWindow* { return run->App().GetMainFrame(); });
    wxTheApp->CallAfter([&] { closer.Request(); });
    {
        // As the program's message boxes live: for the call that shows them.
        wxMessageDialog box(&run->Frame(), "message", "EKView");
        box.ShowModal();
    }
    RunPending();
    EXPECT_EQ(run->App().GetMainFrame(), nullptr) << "the window closed";
}

TEST_F(CloseOnRequestTest, ASignalIsReadOnTheProgramsOwnThread) {
    auto run = Start();
    CloseOnRequest closer(*wxTheApp, [&]() -> wxWindow* { return run->App().GetMainFrame(); });
    ASSERT_EQ(raise(SIGTERM), 0);
    EXPECT_FALSE(closer.IsRequested()) << "nothing happens inside the handler";
    for (int round = 0; round < 100 && run->App().GetMainFrame() != nullptr; ++round) {
        wxTheApp->Yield(true);
        RunPending();
    }
    EXPECT_TRUE(closer.IsRequested());
    EXPECT_EQ(run->App().GetMainFrame(), nullptr);
}

}  // namespace
}  // namespace ek::test
