#include "gui/frame/AttachmentDlg.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>

#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxText.h"

namespace ek {

namespace {

wxString SizeText(std::uint64_t size) {
    if (size < 1024) {
        return wxString::Format("%llu B", static_cast<unsigned long long>(size));
    }
    if (size < 1024 * 1024) {
        return wxString::Format("%.1f KB", static_cast<double>(size) / 1024);
    }
    return wxString::Format("%.1f MB", static_cast<double>(size) / (1024 * 1024));
}

}  // namespace

CAttachmentDlg::CAttachmentDlg(wxWindow* parent, const CEKViewDoc& doc, int index)
    : wxDialog(parent, wxID_ANY, FromUtf8("添付ファイルを保存"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_doc(doc),
      m_index(index),
      m_items(ListAttachments(doc, index)) {
    m_list =
        new wxListCtrl(this, kListId, wxDefaultPosition, FromDIP(wxSize(480, 200)), wxLC_REPORT);
    m_list->InsertColumn(0, FromUtf8("ファイル名"), wxLIST_FORMAT_LEFT, FromDIP(240));
    m_list->InsertColumn(1, FromUtf8("種類"), wxLIST_FORMAT_LEFT, FromDIP(140));
    m_list->InsertColumn(2, FromUtf8("サイズ"), wxLIST_FORMAT_RIGHT, FromDIP(80));
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const long row = m_list->InsertItem(static_cast<long>(i), FromUtf8(m_items[i].filename));
        m_list->SetItem(row, 1, FromUtf8(m_items[i].type));
        m_list->SetItem(row, 2, SizeText(m_items[i].size));
    }
    if (!m_items.empty()) {
        m_list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                             wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
    m_result = new wxStaticText(this, wxID_ANY, wxString());

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, kSaveId, FromUtf8("保存(&S)...")), 0, wxRIGHT, FromDIP(6));
    buttons->Add(new wxButton(this, kSaveAllId, FromUtf8("すべて保存(&A)...")), 0, wxRIGHT,
                 FromDIP(6));
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_CANCEL, FromUtf8("閉じる")));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_list, 1, wxEXPAND | wxALL, FromDIP(8));
    sizer->Add(m_result, 0, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(8));
    sizer->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(8));
    SetSizerAndFit(sizer);

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { SaveChosen(false); }, kSaveId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { SaveChosen(true); }, kSaveAllId);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) { event.Enable(m_list->GetSelectedItemCount() > 0); },
        kSaveId);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(!m_items.empty()); },
        kSaveAllId);
}

wxString CAttachmentDlg::GetResultText() const {
    return m_result->GetLabel();
}

void CAttachmentDlg::SaveChosen(bool all) {
    std::vector<const AttachmentItem*> chosen;
    for (long row = 0; row < m_list->GetItemCount(); ++row) {
        if (all || m_list->GetItemState(row, wxLIST_STATE_SELECTED) != 0) {
            chosen.push_back(&m_items[static_cast<std::size_t>(row)]);
        }
    }
    if (chosen.empty()) {
        return;
    }
    // The documents folder, never the mailbox's own, unless the user goes there.
    const std::string start = ToUtf8(wxStandardPaths::Get().GetDocumentsDir());
    std::optional<std::string> folder = GetCommonDialogs().ChooseFolder(this, start);
    if (!folder) {
        return;
    }
    int saved = 0;
    for (const AttachmentItem* item : chosen) {
        std::string pathOrReason;
        if (!SaveAttachment(m_doc, m_index, *item, *folder, pathOrReason)) {
            m_result->SetLabel(FromUtf8("保存できませんでした: " + pathOrReason));
            return;
        }
        ++saved;
    }
    m_result->SetLabel(FromUtf8(std::to_string(saved) + " 個のファイルを保存しました: " + *folder));
}

}  // namespace ek
