// What the viewer benchmarks share: a bare wx application, a clock, and closing
// the program as a user would.
#pragma once

#include <wx/app.h>

#include <chrono>

#include "gui/frame/ProgressWindow.h"

namespace ek::bench {

class BenchApp : public wxApp {
  public:
    bool OnInit() override { return true; }
};

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Frame, typename App>
void CloseProgram(Frame& frame, App& app) {
    frame.Close();
    ek::DispatchPendingEvents();
    app.ExitInstance();
}

}  // namespace ek::bench
