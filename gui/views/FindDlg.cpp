#include "gui/views/FindDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "shell/Strings.h"

namespace ek {

CFindDlg::CFindDlg(wxWindow* parent, FindHandler find)
    : wxDialog(parent, wxID_ANY, FromUtf8(str::kFindTitle), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_find(std::move(find)) {
    SetFont(MakePointFont(90, str::kDialogFace));
    m_what = new wxTextCtrl(this, IDC_FIND_WHAT, wxString(), wxDefaultPosition,
                            wxSize(FromDIP(220), -1), wxTE_PROCESS_ENTER);
    auto* next = new wxButton(this, IDC_FIND_NEXT, FromUtf8(str::kFindNext));
    auto* previous = new wxButton(this, IDC_FIND_PREVIOUS, FromUtf8(str::kFindPrevious));
    auto* close = new wxButton(this, wxID_CANCEL, FromUtf8(str::kFindClose));
    next->SetDefault();

    auto* field = new wxBoxSizer(wxHORIZONTAL);
    field->Add(new wxStaticText(this, wxID_ANY, FromUtf8(str::kFindWhat)), 0,
               wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    field->Add(m_what, 1, wxALIGN_CENTER_VERTICAL);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(next, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
    buttons->Add(previous, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
    buttons->Add(close, 0, wxEXPAND);
    auto* all = new wxBoxSizer(wxHORIZONTAL);
    all->Add(field, 1, wxALL, FromDIP(10));
    all->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(all);

    m_what->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { Find(true); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Find(true); }, IDC_FIND_NEXT);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Find(false); }, IDC_FIND_PREVIOUS);
    wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_F3, IDC_FIND_NEXT},
                                 {wxACCEL_SHIFT, WXK_F3, IDC_FIND_PREVIOUS}};
    SetAcceleratorTable(wxAcceleratorTable(2, keys));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Find(true); }, IDC_FIND_NEXT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Find(false); }, IDC_FIND_PREVIOUS);
}

void CFindDlg::Open() {
    Show();
    Raise();
    m_what->SetFocus();
    m_what->SelectAll();
}

std::string CFindDlg::GetFindWhat() const {
    return ToUtf8(m_what->GetValue());
}

void CFindDlg::SetFindWhat(const std::string& utf8) {
    m_what->ChangeValue(FromUtf8(utf8));
}

void CFindDlg::Find(bool forward) {
    if (m_find) {
        m_find(GetFindWhat(), forward);
    }
}

}  // namespace ek
