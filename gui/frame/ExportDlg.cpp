#include "gui/frame/ExportDlg.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>

#include "gui/platform/MessageBox.h"
#include "gui/platform/WxText.h"
#include "shell/Strings.h"

namespace ek {

namespace {

// Format and scope in two radio groups, OK and Cancel.
class ExportOptionsDlg : public wxDialog {
  public:
    ExportOptionsDlg(wxWindow* parent, bool offerCurrent, bool offerSearch)
        : wxDialog(parent, wxID_ANY, FromUtf8("エクスポート")) {
        wxString formats[] = {FromUtf8("mbox ファイル (mboxrd)"),
                              FromUtf8(".eml ファイルのフォルダ")};
        m_format = new wxRadioBox(this, wxID_ANY, FromUtf8("形式"), wxDefaultPosition,
                                  wxDefaultSize, 2, formats, 1, wxRA_SPECIFY_COLS);
        wxString scopes[] = {FromUtf8("すべてのメール"), FromUtf8("現在のメール"),
                             FromUtf8("検索結果")};
        m_scope = new wxRadioBox(this, wxID_ANY, FromUtf8("範囲"), wxDefaultPosition, wxDefaultSize,
                                 3, scopes, 1, wxRA_SPECIFY_COLS);
        m_scope->Enable(1, offerCurrent);
        m_scope->Show(2, offerSearch);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_format, 0, wxEXPAND | wxALL, 8);
        sizer->Add(m_scope, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
        auto* buttons = new wxStdDialogButtonSizer;
        buttons->AddButton(new wxButton(this, wxID_OK, FromUtf8(str::kOk)));
        buttons->AddButton(new wxButton(this, wxID_CANCEL, FromUtf8(str::kCancel)));
        buttons->Realize();
        sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
        SetSizerAndFit(sizer);
    }

    ExportChoice Choice() const {
        ExportChoice choice;
        choice.format = m_format->GetSelection() == 1 ? ExportFormat::Eml : ExportFormat::Mbox;
        int scope = m_scope->GetSelection();
        choice.scope = scope == 1   ? ExportScope::Current
                       : scope == 2 ? ExportScope::SearchResults
                                    : ExportScope::All;
        return choice;
    }

  private:
    wxRadioBox* m_format;
    wxRadioBox* m_scope;
};

}  // namespace

std::optional<ExportChoice> WxExportDialogUi::ChooseOptions(bool offerCurrent, bool offerSearch) {
    ExportOptionsDlg dialog(m_parent(), offerCurrent, offerSearch);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return dialog.Choice();
}

std::optional<std::string> WxExportDialogUi::ChooseTarget(ExportFormat format) {
    wxFileName mailbox(FromUtf8(m_mailboxPath()));
    if (format == ExportFormat::Eml) {
        wxDirDialog dialog(m_parent(), FromUtf8(".eml ファイルを書き込むフォルダ"),
                           mailbox.GetPath());
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return ToUtf8(dialog.GetPath());
    }
    // The replacement question is the command's own, after the target is checked.
    wxFileDialog dialog(m_parent(), FromUtf8("エクスポート先"), mailbox.GetPath(),
                        mailbox.GetName() + ".mbox",
                        FromUtf8("mbox ファイル (*.mbox)|*.mbox|すべて (*)|*"), wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return ToUtf8(dialog.GetPath());
}

bool WxExportDialogUi::Confirm(const std::string& question) {
    wxMessageDialog dialog(m_parent(), FromUtf8(question), FromUtf8(str::kAppTitle),
                           wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return dialog.ShowModal() == wxID_YES;
}

void WxExportDialogUi::ShowMessage(const std::string& text, bool error) {
    AfxMessageBox(m_parent(), text, error ? MessageIcon::Stop : MessageIcon::Information);
}

}  // namespace ek
