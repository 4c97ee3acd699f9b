// The progress dialog's window on wxWidgets: a modeless dialog with a caption, a
// gauge, a percentage text and the default button "ｷｬﾝｾﾙ", owned by the main frame,
// which stays disabled while the dialog is up.
#pragma once

#include <functional>
#include <memory>

#include "core/platform/ProgressDlg.h"

class wxWindow;

namespace ek {

class WxProgressUi : public ProgressUi {
  public:
    // `owner` names the window to disable: the main frame, or null while none exists.
    explicit WxProgressUi(std::function<wxWindow*()> owner) : m_owner(std::move(owner)) {}

    bool HasOwner() const override;
    bool IsOwnerEnabled() const override;
    void EnableOwner(bool enable) override;
    std::unique_ptr<ProgressWindow> CreateProgressWindow(CProgressDlg& dialog) override;

    // Whether any progress window is up: commands posted meanwhile wait for its end.
    static bool IsAnyWindowUp();
    // Presses Cancel in every progress window up; what cannot be cancelled runs on.
    static void CancelAll();

  private:
    std::function<wxWindow*()> m_owner;
};

// Dispatches the pending events once; a call made while events are being
// dispatched does nothing, so a handler run from here cannot nest another pump.
void DispatchPendingEvents();

}  // namespace ek
