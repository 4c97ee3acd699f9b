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

using CloseOnRequestTest = ProgramTest;

TEST_F(CloseOnRequestTest, AnOpenDialogIsCancelledAndTheWindowClosesAsTheUserCloses) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
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
    const WxProfileStore saved(Profile());
    EXPECT_NE(saved.GetProfileString("Settings", "WindowPos", ""), "");
    EXPECT_NE(saved.GetProfileString("Settings", "TFont", ""), "");
}

TEST_F(CloseOnRequestTest, AMessageBoxOfTheSystemIsAnsweredToo) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
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

TEST_F(CloseOnRequestTest, TheEndOfTheSessionClosesTheWindowAsTheUserCloses) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
    CloseOnRequest closer(*wxTheApp, [&]() -> wxWindow* { return run->App().GetMainFrame(); });
    // As the desktop ends the session at log-out: the query is not refused, then the end.
    wxCloseEvent query(wxEVT_QUERY_END_SESSION);
    query.SetCanVeto(true);
    wxTheApp->ProcessEvent(query);
    EXPECT_FALSE(query.GetVeto());
    wxCloseEvent end(wxEVT_END_SESSION);
    end.SetLoggingOff(true);
    wxTheApp->ProcessEvent(end);
    EXPECT_TRUE(closer.IsRequested());
    RunPending();
    EXPECT_EQ(run->App().GetMainFrame(), nullptr) << "the window closed";
    run->App().ExitInstance();
    const WxProfileStore saved(Profile());
    for (const char* key : {"WindowPos", "TFont", "LVH"}) {
        EXPECT_NE(saved.GetProfileString("Settings", key, ""), "") << key;
    }
    EXPECT_NE(saved.GetProfileString("Recent File List", "File1", ""), "");
}

TEST_F(CloseOnRequestTest, ASignalIsReadOnTheProgramsOwnThread) {
    auto run = Start({SamplePath()});
    ASSERT_TRUE(run->Started());
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
