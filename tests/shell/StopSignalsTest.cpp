// Stop signals become requests read on the program's own thread.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>

#include "shell/StopSignals.h"

namespace ek {
namespace {

sighandler_t CurrentHandler(int signal) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

class StopSignalsTest : public ::testing::TestWithParam<int> {};

TEST_P(StopSignalsTest, ASignalBecomesOneRequestAndTheHandlerGoesAfterwards) {
    const int signal = GetParam();
    SCOPED_TRACE(strsignal(signal));
    const sighandler_t before = CurrentHandler(signal);
    {
        StopSignals signals;
        ASSERT_TRUE(signals.IsInstalled());
        EXPECT_GE(signals.ReadFd(), 0);
        EXPECT_FALSE(signals.TakeRequest()) << "nothing came yet";
        ASSERT_EQ(raise(signal), 0);
        EXPECT_TRUE(signals.TakeRequest());
        EXPECT_FALSE(signals.TakeRequest()) << "one signal, one request";
        EXPECT_EQ(CurrentHandler(signal), SIG_DFL) << "a second signal ends the program";
    }
    EXPECT_EQ(CurrentHandler(signal), before);
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignalsTest, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

TEST(StopSignals, ASignalIgnoredAtStartStaysIgnored) {
    const sighandler_t before = signal(SIGHUP, SIG_IGN);
    {
        StopSignals signals;
        ASSERT_TRUE(signals.IsInstalled());
        EXPECT_EQ(CurrentHandler(SIGHUP), SIG_IGN) << "nohup keeps the program running";
        ASSERT_EQ(raise(SIGHUP), 0);
        EXPECT_FALSE(signals.TakeRequest());
        EXPECT_NE(CurrentHandler(SIGTERM), SIG_DFL) << "the others are handled";
    }
    EXPECT_EQ(CurrentHandler(SIGHUP), SIG_IGN);
    signal(SIGHUP, before);
}

}  // namespace
}  // namespace ek
