#include "shell/StopSignals.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <iterator>
#endif

namespace ek {

#ifndef _WIN32

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Read by the handler: a lock-free atomic is safe there, a plain global is not.
std::atomic<int> g_writeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);
// The handlers before ours, put back when the object goes.
struct sigaction g_previous[std::size(kSignals)];

extern "C" void OnStopSignal(int) {
    // write() is async-signal-safe; errno belongs to the code the signal interrupted.
    const int savedErrno = errno;
    const int fd = g_writeFd.load();
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe already holds a request: losing this byte loses nothing.
        [[maybe_unused]] ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool MakeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

}  // namespace

StopSignals::StopSignals() {
    int fds[2] = {-1, -1};
    if (g_writeFd.load() >= 0 || ::pipe(fds) != 0) {
        return;
    }
    if (!MakeNonBlocking(fds[0]) || !MakeNonBlocking(fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return;
    }
    m_readFd = fds[0];
    m_writeFd = fds[1];
    g_writeFd.store(m_writeFd);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        struct sigaction& previous = g_previous[i];
        if (::sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        // The handler stays for the first signal only: a second one, while the close
        // is still under way, ends the program the usual way.
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        m_handled[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

StopSignals::~StopSignals() {
    if (!IsInstalled()) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        if (m_handled[i]) {
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
        }
    }
    g_writeFd.store(-1);
    ::close(m_readFd);
    ::close(m_writeFd);
}

bool StopSignals::TakeRequest() {
    if (!IsInstalled()) {
        return false;
    }
    bool requested = false;
    char buffer[64];
    for (;;) {
        const ssize_t got = ::read(m_readFd, buffer, sizeof buffer);
        if (got > 0) {
            requested = true;
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    return requested;
}

#else

StopSignals::StopSignals() = default;
StopSignals::~StopSignals() = default;

bool StopSignals::TakeRequest() {
    return false;
}

#endif

}  // namespace ek
