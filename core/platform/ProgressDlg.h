// The progress dialog's behaviour, apart from its window.
//
// A long operation constructs a CProgressDlg on the stack, calls Create(), sets the
// caption, reports SetPosition(percent) as it goes and (reading only) asks
// CheckCancel(). The dialog disables the owner window while it exists. When no
// window can be created, every call is harmless.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace ek {

class CProgressDlg;

// The dialog window as the toolkit provides it.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    virtual void SetCaption(const std::string& utf8) = 0;
    virtual void SetBarRange(int lower, int upper) = 0;
    // Moves the bar; returns its previous position.
    virtual int SetBarPosition(int position) = 0;
    virtual std::string GetPercentText() const = 0;
    virtual void SetPercentText(const std::string& text) = 0;
    // Dispatches the pending window events. A Cancel press, Enter, Escape or the
    // caption's close button call CProgressDlg::OnCancel from here.
    virtual void PumpPendingMessages() = 0;
};

// The toolkit side: the owner window and the making of dialog windows.
class ProgressUi {
  public:
    virtual ~ProgressUi() = default;
    virtual bool HasOwner() const = 0;
    virtual bool IsOwnerEnabled() const = 0;
    virtual void EnableOwner(bool enable) = 0;
    // A visible dialog window, or null when it cannot be created.
    virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(CProgressDlg& dialog) = 0;
    virtual std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::now();
    }
};

class CProgressDlg {
  public:
    static constexpr unsigned kDefaultCaptionId = 103;
    static constexpr const char* kInitialPercentText = " 0 %";
    // Pending events are dispatched at most this often, so that a per-line
    // CheckCancel does not dominate a read.
    static constexpr std::chrono::milliseconds kPumpInterval{5};
    static constexpr unsigned kCallsPerClockCheck = 256;

    explicit CProgressDlg(ProgressUi* ui = nullptr, unsigned captionId = 0);
    ~CProgressDlg();
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    // Disables the owner and creates the window; false (owner enabled again) on failure.
    bool Create();
    // Sets the caption (the framework's window-text call); nothing without a window.
    void SetWindowText(const std::string& utf8);
    // Dispatches pending events, moves the bar, updates the percentage text.
    // Returns the previous position.
    int SetPosition(int position);
    // True when Cancel was asked for since the last call; clears the request.
    bool CheckCancel();
    // Enables the owner again if Create disabled it, then destroys the window.
    void DestroyWindow();

    // Called by the window.
    void OnCancel() { m_bCancel = 1; }
    void OnOK() {}

    bool HasWindow() const { return m_window != nullptr; }

    // The percentage text for a position of the range [lower, upper].
    static std::string PercentText(int position, int lower, int upper);

  private:
    void OnInitDialog();
    void PumpPendingMessages();
    void UpdatePercentText(int position);
    void ReEnableOwner();

    ProgressUi* m_ui;
    std::unique_ptr<ProgressWindow> m_window;
    unsigned m_nCaptionID;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_bCancel = 0;
    int m_bOwnerDisabled = 0;
    unsigned m_callsSinceClockCheck = 0;
    std::chrono::steady_clock::time_point m_lastPump{};
};

}  // namespace ek
