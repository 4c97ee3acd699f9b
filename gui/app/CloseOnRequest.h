// Ends the program the way the user's close does when something outside asks it to:
// the desktop ending the session (wxEVT_END_SESSION) or a
// stop signal (see StopSignals.h). Modal dialogs are cancelled and a running read is
// cancelled first, then the main window closes through its normal path, so that
// every pane and the application write their settings as at a clean exit.
#pragma once

#include <wx/event.h>

#include <functional>
#include <memory>

#include "shell/StopSignals.h"

class wxApp;
class wxWindow;

namespace ek {

class CloseOnRequest : public wxEvtHandler {
  public:
    // `mainWindow` gives the window to close; null while there is none yet.
    CloseOnRequest(wxApp& app, std::function<wxWindow*()> mainWindow);
    ~CloseOnRequest() override;
    CloseOnRequest(const CloseOnRequest&) = delete;
    CloseOnRequest& operator=(const CloseOnRequest&) = delete;

    // Asks for the close; it happens as soon as nothing modal stands in its way.
    void Request();
    bool IsRequested() const { return m_requested; }

  private:
    class ModalDialogs;
    class SignalWatch;

    // One step towards the close; true once the main window was asked to close.
    bool Step();
    void OnIdle(wxIdleEvent& event);
    void OnEndSession(wxCloseEvent& event);

    wxApp& m_app;
    std::function<wxWindow*()> m_mainWindow;
    std::unique_ptr<ModalDialogs> m_modalDialogs;
    StopSignals m_signals;
    // Watches the signals' pipe from the event loop, where the toolkit can.
    std::unique_ptr<SignalWatch> m_watch;
    bool m_requested = false;
    bool m_closing = false;
};

}  // namespace ek
