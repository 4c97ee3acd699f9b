#include "gui/platform/MessageBox.h"

#include <wx/msgdlg.h>

#include "gui/platform/WxText.h"
#include "shell/Strings.h"

namespace ek {

namespace {

class WxMessageBoxUi : public MessageBoxUi {
  public:
    void Show(wxWindow* parent, const std::string& text, const std::string& caption,
              MessageIcon icon) override {
        long style = wxOK;
        switch (icon) {
            case MessageIcon::Stop:
                style |= wxICON_ERROR;
                break;
            case MessageIcon::Warning:
                style |= wxICON_WARNING;
                break;
            case MessageIcon::Information:
                style |= wxICON_INFORMATION;
                break;
        }
        wxMessageDialog dialog(parent, FromUtf8(text), FromUtf8(caption), style);
        dialog.ShowModal();
    }
};

WxMessageBoxUi g_defaultUi;
MessageBoxUi* g_ui = &g_defaultUi;

}  // namespace

void AfxMessageBox(wxWindow* parent, const std::string& text, MessageIcon icon) {
    g_ui->Show(parent, text, str::kAppTitle, icon);
}

ScopedMessageBoxUi::ScopedMessageBoxUi(MessageBoxUi& ui) : m_previous(g_ui) {
    g_ui = &ui;
}

ScopedMessageBoxUi::~ScopedMessageBoxUi() {
    g_ui = m_previous;
}

}  // namespace ek
