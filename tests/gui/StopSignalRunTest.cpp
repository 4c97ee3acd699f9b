// The program as it ships, stopped by a signal as a desktop stops it at log-out or a
// terminal at Ctrl+C, ends as at a clean exit: every setting reaches the profile.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <thread>

#include "GuiTestSupport.h"
#include "core/platform/ProfileFile.h"

// Last: Xlib's macros (None, Bool) would break the test framework's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ek::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPollInterval = std::chrono::milliseconds(50);

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// Whether a top-level window of process `pid` is mapped on the display.
bool HasVisibleWindow(Display* display, pid_t pid) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return false;
    }
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &data) == Success &&
            data != nullptr) {
            found = format == 32 && items == 1 &&
                    static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
            XFree(data);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// Waits, polling, for `done` until the patience runs out.
template <typename Condition>
bool WaitFor(Condition done) {
    const Clock::time_point deadline = Clock::now() + kPatience;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

struct SignalCase {
    const char* name;
    int signal;
};

// A failing case names its signal, not the bytes of the record.
void PrintTo(const SignalCase& c, std::ostream* out) {
    *out << c.name;
}

class StopSignalRunTest : public ::testing::TestWithParam<SignalCase> {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }
};

TEST_P(StopSignalRunTest, TheSettingsAreWrittenAsAtACleanExit) {
    TempDir home;
    const std::string mailbox = home.File("sample.mbx");
    std::filesystem::copy_file(SamplePath(), mailbox);
    const std::string profile = home.File(".config/Ubrik/EKView.conf");
    std::filesystem::create_directories(home.File(".config/Ubrik"));
    WriteFile(profile, "[Settings]\nTFont=120:IPAGothic\nQuote=>\n");

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("HOME", home.Path().c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("NO_AT_BRIDGE", "1", 1);
        ::execl(EKVIEW_GUI, "ekview", mailbox.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    ASSERT_NE(display, nullptr);
    int status = 0;
    const bool shown = WaitFor([&] {
        return HasVisibleWindow(display.get(), pid) || ::waitpid(pid, &status, WNOHANG) == pid;
    });
    ASSERT_TRUE(shown) << "the window did not appear";
    ASSERT_EQ(::kill(pid, GetParam().signal), 0) << "the program ended before the signal";

    pid_t ended = 0;
    const bool exited = WaitFor([&] {
        ended = ::waitpid(pid, &status, WNOHANG);
        return ended == pid;
    });
    if (!exited) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the program did not end";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const ProfileFile saved = ProfileFile::Load(profile);
    // Changed while it ran: the mailbox opened is the most recent file now.
    EXPECT_EQ(saved.GetProfileString("Recent File List", "File1", ""), mailbox);
    // What each pane and the frame write as they close.
    for (const char* key : {"WindowPos", "CFont", "Header", "LVH", "THFont", "LVH2"}) {
        EXPECT_NE(saved.GetProfileString("Settings", key, ""), "") << key;
    }
    EXPECT_NE(saved.GetProfileString("ControlBars\\State", "Layout", ""), "");
    // What was there already stays.
    EXPECT_EQ(saved.GetProfileString("Settings", "TFont", ""), "120:IPAGothic");
    EXPECT_EQ(saved.GetProfileString("Settings", "Quote", ""), ">");
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignalRunTest,
                         ::testing::Values(SignalCase{"SIGTERM", SIGTERM},
                                           SignalCase{"SIGHUP", SIGHUP},
                                           SignalCase{"SIGINT", SIGINT}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ek::test
