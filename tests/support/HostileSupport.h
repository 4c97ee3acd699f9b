// Helpers for the hostile-input tests: a child process with a deadline, so that a
// read that blocks fails its test instead of hanging the run, another process that
// holds a lock on a file.
#pragma once

#ifdef _WIN32
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <functional>
#include <string>

#include "core/platform/NativePath.h"

namespace ek::test {

struct ChildOutcome {
    bool finished = false;  // false: still running at the deadline, and killed
    int exitCode = -1;      // when it exited normally
    int signal = 0;         // when a signal ended it
};

// The exit code of a child whose body threw.
constexpr int kChildThrew = 254;

#ifdef _WIN32

// Windows has no fork: `body` runs on a thread. A body still running at the deadline
// cannot be stopped, so the test program reports it and ends with a failure.
inline ChildOutcome RunInChild(const std::function<int()>& body,
                               std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    std::packaged_task<int()> task([&body] {
        try {
            return body();
        } catch (...) {
            return kChildThrew;
        }
    });
    std::future<int> result = task.get_future();
    std::thread runner(std::move(task));
    if (result.wait_for(deadline) != std::future_status::ready) {
        std::fprintf(stderr, "a test body blocked past its deadline\n");
        std::_Exit(1);
    }
    runner.join();
    ChildOutcome outcome;
    outcome.finished = true;
    outcome.exitCode = result.get() & 0xFF;
    return outcome;
}

#else

// Runs `body` in a forked child that exits with its result (0 to 255).
inline ChildOutcome RunInChild(const std::function<int()>& body,
                               std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    int done[2];
    if (::pipe(done) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(done[0]);
        int result = kChildThrew;
        try {
            result = body();
        } catch (...) {
        }
        ::_exit(result);
    }
    ::close(done[1]);
    ChildOutcome outcome;
    // The pipe closes when the child ends, however it ends.
    pollfd watch{done[0], POLLIN, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(deadline.count()));
    ::close(done[0]);
    if (ready <= 0) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.finished = ready > 0;
    if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

#endif

enum class LockKind { Write, WriteOnARange, Read };

#ifdef _WIN32

// Another process (EKVIEW_HOLD_FILE) that holds `path` open until the returned object
// goes: for writing with others allowed to read and write (a mail program appending),
// or for reading. Windows has no byte-range variant that keeps an open out, so
// WriteOnARange holds it like Write.
class LockHolder {
  public:
    LockHolder(const std::string& path, LockKind kind);
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool locked() const { return m_locked; }
    void Release();

  private:
    void* m_child = nullptr;    // the process
    void* m_release = nullptr;  // the pipe whose closing lets it go
    bool m_locked = false;
};

#else

// A child that holds an fcntl lock on `path` until the returned object goes.
class LockHolder {
  public:
    LockHolder(const std::string& path, LockKind kind) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) {
            return;
        }
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            int fd = ::open(path.c_str(), kind == LockKind::Read ? O_RDONLY : O_RDWR);
            struct flock lock {};
            lock.l_type = kind == LockKind::Read ? F_RDLCK : F_WRLCK;
            lock.l_whence = SEEK_SET;
            if (kind == LockKind::WriteOnARange) {
                lock.l_start = 10;
                lock.l_len = 5;
            }
            char locked = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &locked, 1);
            char ignored;
            (void)!::read(release[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char locked = 'n';
        m_locked = ::read(ready[0], &locked, 1) == 1 && locked == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool locked() const { return m_locked; }
    void Release() {
        if (m_child > 0) {
            ::close(m_release);
            ::waitpid(m_child, nullptr, 0);
            m_child = -1;
        }
    }

  private:
    pid_t m_child = -1;
    int m_release = -1;
    bool m_locked = false;
};

#endif

}  // namespace ek::test
