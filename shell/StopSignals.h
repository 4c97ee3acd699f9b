// The signals that ask a running program to stop: SIGTERM (the desktop at log-out,
// `kill`), SIGHUP (the terminal or session went away) and SIGINT (Ctrl+C). Each turns
// into a byte on a pipe that the event loop watches, so the program closes on its own
// thread, as the user's close does; the handler itself only writes that byte.
// Without POSIX signals (Windows) nothing is installed.
#pragma once

namespace ek {

class StopSignals {
  public:
    // Installs the handlers, except for a signal the program was started with
    // ignored (nohup, a background job): that one stays ignored. One at a time.
    StopSignals();
    // Puts the previous handlers back.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool IsInstalled() const { return m_readFd >= 0; }
    // Readable once a signal came; -1 when nothing is installed.
    int ReadFd() const { return m_readFd; }
    // Empties the pipe; true when a signal came since the last call.
    bool TakeRequest();

  private:
    int m_readFd = -1;
    int m_writeFd = -1;
    // Which of the signals this object handles, in the order of the source's table.
    bool m_handled[3] = {false, false, false};
};

}  // namespace ek
