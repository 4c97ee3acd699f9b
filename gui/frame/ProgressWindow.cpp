#include "gui/frame/ProgressWindow.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

#include <optional>

#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

namespace {

int g_windowsUp = 0;
bool g_dispatching = false;

// Dialog resource 102: 186 x 63 dialog units, "ＭＳ Ｐゴシック" 9 points.
class ProgressDialog : public wxDialog {
  public:
    ProgressDialog(wxWindow* parent, CProgressDlg& logic)
        : wxDialog(parent, IDD_PROGRESS, wxString(), wxDefaultPosition, wxDefaultSize,
                   wxCAPTION | wxSYSTEM_MENU),
          m_logic(&logic) {
        SetFont(MakePointFont(90, str::kDialogFace));
        SetClientSize(ConvertDialogToPixels(wxSize(186, 63)));
        m_percent = new wxStaticText(this, IDC_PROGRESS_PERCENT,
                                     FromUtf8(CProgressDlg::kInitialPercentText),
                                     ConvertDialogToPixels(wxPoint(83, 7)),
                                     ConvertDialogToPixels(wxSize(18, 8)), wxST_NO_AUTORESIZE);
        m_gauge = new wxGauge(this, IDC_PROGRESS_BAR, 100, ConvertDialogToPixels(wxPoint(15, 18)),
                              ConvertDialogToPixels(wxSize(154, 13)));
        auto* cancel = new wxButton(this, wxID_CANCEL, FromUtf8(str::kCancel),
                                    ConvertDialogToPixels(wxPoint(67, 42)),
                                    ConvertDialogToPixels(wxSize(50, 14)));
        cancel->SetDefault();
        cancel->SetFocus();
        m_percentText = CProgressDlg::kInitialPercentText;

        Bind(
            wxEVT_BUTTON, [this](wxCommandEvent&) { RequestCancel(); }, wxID_CANCEL);
        Bind(
            wxEVT_BUTTON, [](wxCommandEvent&) {}, wxID_OK);
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (event.CanVeto()) {
                event.Veto();
                RequestCancel();
            } else {
                event.Skip();
            }
        });
        Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
            int key = event.GetKeyCode();
            if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE) {
                RequestCancel();
            } else {
                event.Skip();
            }
        });
    }

    void Detach() { m_logic = nullptr; }

    void RequestCancel() {
        if (m_logic != nullptr) {
            m_logic->OnCancel();
        }
    }

    void SetRange(int lower, int upper) {
        m_lower = lower;
        m_gauge->SetRange(upper - lower);
    }
    int SetPosition(int position) {
        int previous = m_position;
        if (position != m_position) {
            m_position = position;
            m_gauge->SetValue(position - m_lower);
        }
        return previous;
    }
    const std::string& GetPercentText() const { return m_percentText; }
    void SetPercentText(const std::string& text) {
        m_percentText = text;
        m_percent->SetLabel(FromUtf8(text));
    }

  private:
    CProgressDlg* m_logic;
    wxStaticText* m_percent;
    wxGauge* m_gauge;
    std::string m_percentText;
    int m_lower = 0;
    int m_position = 0;
};

class WxProgressWindow : public ProgressWindow {
  public:
    explicit WxProgressWindow(ProgressDialog* dialog) : m_dialog(dialog) { ++g_windowsUp; }
    ~WxProgressWindow() override {
        m_dialog->Detach();
        m_dialog->Hide();
        m_dialog->Destroy();
        --g_windowsUp;
    }

    void SetCaption(const std::string& utf8) override { m_dialog->SetTitle(FromUtf8(utf8)); }
    void SetBarRange(int lower, int upper) override { m_dialog->SetRange(lower, upper); }
    int SetBarPosition(int position) override { return m_dialog->SetPosition(position); }
    std::string GetPercentText() const override { return m_dialog->GetPercentText(); }
    void SetPercentText(const std::string& text) override { m_dialog->SetPercentText(text); }
    void PumpPendingMessages() override { DispatchPendingEvents(); }

  private:
    ProgressDialog* m_dialog;
};

}  // namespace

bool WxProgressUi::HasOwner() const {
    return m_owner() != nullptr;
}

bool WxProgressUi::IsOwnerEnabled() const {
    wxWindow* owner = m_owner();
    return owner != nullptr && owner->IsEnabled();
}

void WxProgressUi::EnableOwner(bool enable) {
    wxWindow* owner = m_owner();
    if (owner == nullptr) {
        return;
    }
    owner->Enable(enable);
    if (enable && owner->IsShown()) {
        owner->Raise();
    }
}

std::unique_ptr<ProgressWindow> WxProgressUi::CreateProgressWindow(CProgressDlg& dialog) {
    wxWindow* owner = m_owner();
    auto* window = new ProgressDialog(owner, dialog);
    if (owner != nullptr && owner->IsShown()) {
        window->CentreOnParent();
    } else {
        window->CentreOnScreen();
    }
    window->Show();
    window->Update();
    return std::make_unique<WxProgressWindow>(window);
}

bool WxProgressUi::IsAnyWindowUp() {
    return g_windowsUp > 0;
}

void WxProgressUi::CancelAll() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* dialog = dynamic_cast<ProgressDialog*>(window)) {
            dialog->RequestCancel();
        }
    }
}

void DispatchPendingEvents() {
    if (g_dispatching) {
        return;
    }
    g_dispatching = true;
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    // Before the main loop runs (a file named on the command line) a loop of our
    // own dispatches the events.
    std::unique_ptr<wxGUIEventLoop> ownLoop;
    std::optional<wxEventLoopActivator> activator;
    if (loop == nullptr) {
        ownLoop = std::make_unique<wxGUIEventLoop>();
        activator.emplace(ownLoop.get());
        loop = ownLoop.get();
    }
    if (!loop->IsYielding()) {
        loop->YieldFor(wxEVT_CATEGORY_ALL);
    }
    g_dispatching = false;
}

}  // namespace ek
