// Timing and memory figures for the plain benchmark programs.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace ek::bench {

struct Figure {
    double seconds = 0;
    long peakKiB = 0;  // peak resident memory of the process that did the work
};

// Runs `work` in a child process, so that its peak memory is its own.
inline Figure MeasureInChild(const std::function<void()>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        auto start = std::chrono::steady_clock::now();
        work();
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ssize_t written = ::write(pipeFds[1], &seconds, sizeof seconds);
        ::_exit(written == sizeof seconds ? 0 : 1);
    }
    ::close(pipeFds[1]);
    Figure figure;
    if (::read(pipeFds[0], &figure.seconds, sizeof figure.seconds) != sizeof figure.seconds) {
        figure.seconds = -1;
    }
    ::close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    figure.peakKiB = usage.ru_maxrss;
    return figure;
}

}  // namespace ek::bench
