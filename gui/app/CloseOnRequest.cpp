#include "gui/app/CloseOnRequest.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/modalhook.h>

#include <vector>

#ifdef __WXGTK__
#include <glib-object.h>
#endif

#include "gui/frame/ProgressWindow.h"

namespace ek {

// Every modal dialog on the screen, in the order they were opened, the system's
// own (message boxes, font and file choosers) included.
class CloseOnRequest::ModalDialogs : public wxModalDialogHook {
  public:
    ModalDialogs() { Register(); }
    // The dialog opened last: its loop is the innermost, and ending an outer loop
    // first would end the inner one instead.
    wxDialog* Innermost() const { return m_open.empty() ? nullptr : m_open.back(); }

  protected:
    int Enter(wxDialog* dialog) override {
        m_open.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override { std::erase(m_open, dialog); }

  private:
    std::vector<wxDialog*> m_open;
};

namespace {

// A message box runs the system's own loop, not wxWidgets' modal one: on GTK it
// ends when the dialog answers, as its window's close button makes it answer.
void CloseSystemDialog([[maybe_unused]] wxDialog& dialog) {
#ifdef __WXGTK__
    constexpr int kGtkResponseDeleteEvent = -4;
    if (dialog.GetHandle() != nullptr) {
        g_signal_emit_by_name(dialog.GetHandle(), "response", kGtkResponseDeleteEvent);
    }
#endif
}

}  // namespace

#if wxUSE_EVENTLOOP_SOURCE
class CloseOnRequest::SignalWatch : public wxEventLoopSourceHandler {
  public:
    explicit SignalWatch(CloseOnRequest& owner)
        : m_owner(owner),
          m_source(wxEventLoopBase::AddSourceForFD(owner.m_signals.ReadFd(), this,
                                                   wxEVENT_SOURCE_INPUT)) {}
    void OnReadWaiting() override {
        if (m_owner.m_signals.TakeRequest()) {
            m_owner.Request();
        }
    }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

  private:
    CloseOnRequest& m_owner;
    std::unique_ptr<wxEventLoopSource> m_source;
};
#else
class CloseOnRequest::SignalWatch {
  public:
    explicit SignalWatch(CloseOnRequest&) {}
};
#endif

CloseOnRequest::CloseOnRequest(wxApp& app, std::function<wxWindow*()> mainWindow)
    : m_app(app),
      m_mainWindow(std::move(mainWindow)),
      m_modalDialogs(std::make_unique<ModalDialogs>()) {
    if (m_signals.IsInstalled()) {
        m_watch = std::make_unique<SignalWatch>(*this);
    }
    m_app.Bind(wxEVT_IDLE, &CloseOnRequest::OnIdle, this);
    m_app.Bind(wxEVT_END_SESSION, &CloseOnRequest::OnEndSession, this);
}

CloseOnRequest::~CloseOnRequest() {
    m_app.Unbind(wxEVT_IDLE, &CloseOnRequest::OnIdle, this);
    m_app.Unbind(wxEVT_END_SESSION, &CloseOnRequest::OnEndSession, this);
}

void CloseOnRequest::Request() {
    m_requested = true;
    Step();
    // The steps that remain run when the loop is idle, inside a dialog's loop too.
    m_app.WakeUpIdle();
}

bool CloseOnRequest::Step() {
    if (m_closing) {
        return true;
    }
    if (wxDialog* dialog = m_modalDialogs->Innermost()) {
        if (dialog->IsModal()) {
            dialog->EndModal(wxID_CANCEL);
        } else {
            CloseSystemDialog(*dialog);
        }
        return false;
    }
    if (WxProgressUi::IsAnyWindowUp()) {
        WxProgressUi::CancelAll();
        return false;
    }
    wxWindow* window = m_mainWindow();
    if (window == nullptr) {
        // Start-up has not made the window yet.
        return false;
    }
    m_closing = true;
    window->Close();
    return true;
}

void CloseOnRequest::OnIdle(wxIdleEvent& event) {
    event.Skip();
    if (m_requested && !m_closing) {
        Step();
    }
}

// The desktop's query before the end (wxEVT_QUERY_END_SESSION) is never refused:
// nothing here could be lost by ending.
void CloseOnRequest::OnEndSession(wxCloseEvent& event) {
    // The session ends once this returns: close now where nothing modal is open, and
    // let the toolkit's own handling end the program.
    event.Skip();
    m_requested = true;
    if (m_modalDialogs->Innermost() == nullptr && !WxProgressUi::IsAnyWindowUp()) {
        Step();
    }
}

}  // namespace ek
