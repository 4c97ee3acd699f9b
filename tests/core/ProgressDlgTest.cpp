// The progress dialog's rules, over a recording window.
#include <gtest/gtest.h>

#include "core/platform/ProgressDlg.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

TEST(PercentText, ShowsTheWholePercentage) {
    struct Case {
        int position;
        const char* text;
    };
    for (Case c : {Case{0, "0%"}, Case{50, "50%"}, Case{99, "99%"}, Case{100, "100%"},
                   Case{150, "50%"}, Case{200, "0%"}, Case{-5, "-5%"}}) {
        EXPECT_EQ(CProgressDlg::PercentText(c.position, 0, 100), c.text)
            << "position " << c.position;
    }
    EXPECT_EQ(CProgressDlg::PercentText(5, 0, 10), "50%");
}

TEST(ProgressDlg, DisablesTheOwnerWhileItExists) {
    ProgressLog log;
    FakeProgressUi ui(log);
    {
        CProgressDlg dialog(&ui);
        ASSERT_TRUE(dialog.Create());
        EXPECT_FALSE(log.ownerEnabled);
        EXPECT_EQ(log.captions, (std::vector<std::string>{"CProgressDlg"}));
        dialog.SetWindowText("ファイル読込中...");
        EXPECT_EQ(log.captions.back(), "ファイル読込中...");
    }
    EXPECT_TRUE(log.ownerEnabled);
    EXPECT_EQ(log.windowsDestroyed, 1);
}

TEST(ProgressDlg, LeavesAnOwnerThatWasAlreadyDisabled) {
    ProgressLog log;
    log.ownerEnabled = false;
    FakeProgressUi ui(log);
    {
        CProgressDlg dialog(&ui);
        ASSERT_TRUE(dialog.Create());
    }
    EXPECT_FALSE(log.ownerEnabled);
}

TEST(ProgressDlg, RewritesThePercentTextOnlyWhenItChanges) {
    ProgressLog log;
    FakeProgressUi ui(log);
    CProgressDlg dialog(&ui);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.SetPosition(50), 0);
    EXPECT_EQ(dialog.SetPosition(50), 50);
    dialog.SetPosition(100);
    EXPECT_EQ(log.percentTexts, (std::vector<std::string>{"50%", "100%"}));
}

TEST(ProgressDlg, WithoutAWindowEveryCallIsHarmless) {
    ProgressLog log;
    FakeProgressUi ui(log);
    ui.failCreate = true;
    CProgressDlg dialog(&ui);
    EXPECT_FALSE(dialog.Create());
    EXPECT_TRUE(log.ownerEnabled) << "a failed Create enables the owner again";
    dialog.SetWindowText("x");
    EXPECT_EQ(dialog.SetPosition(10), 0);
    EXPECT_FALSE(dialog.CheckCancel());
    dialog.DestroyWindow();

    CProgressDlg headless;
    EXPECT_FALSE(headless.Create());
    headless.SetPosition(5);
    EXPECT_FALSE(headless.CheckCancel());
}

TEST(ProgressDlg, CancelIsReportedOnceAndOkNeverCloses) {
    ProgressLog log;
    FakeProgressUi ui(log);
    CProgressDlg dialog(&ui);
    ASSERT_TRUE(dialog.Create());
    dialog.OnOK();
    EXPECT_TRUE(dialog.HasWindow());
    dialog.OnCancel();
    EXPECT_TRUE(dialog.HasWindow()) << "Cancel only records the request";
    EXPECT_TRUE(dialog.CheckCancel());
    EXPECT_FALSE(dialog.CheckCancel());
}

TEST(ProgressDlg, PumpsOnlyEveryFewMilliseconds) {
    ProgressLog log;
    FakeProgressUi ui(log);  // its clock moves 10 ms on every reading
    CProgressDlg dialog(&ui);
    ASSERT_TRUE(dialog.Create());
    for (unsigned i = 0; i < 10 * CProgressDlg::kCallsPerClockCheck; ++i) {
        dialog.CheckCancel();
    }
    EXPECT_EQ(log.pumps, 10);
}

TEST(ProgressDlg, CancelPressedDuringAPumpIsSeenAtThatCall) {
    ProgressLog log;
    FakeProgressUi ui(log);
    ui.onPump = [](CProgressDlg& dialog, int) { dialog.OnCancel(); };
    CProgressDlg dialog(&ui);
    ASSERT_TRUE(dialog.Create());
    unsigned calls = 0;
    while (!dialog.CheckCancel()) {
        ++calls;
    }
    EXPECT_EQ(calls + 1, CProgressDlg::kCallsPerClockCheck);
}

}  // namespace
}  // namespace ek::test
