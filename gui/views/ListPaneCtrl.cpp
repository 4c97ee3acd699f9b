#include "gui/views/ListPaneCtrl.h"

#include <cmath>

#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "shell/DocManager.h"
#include "shell/PaneHost.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

CListPaneCtrl::CListPaneCtrl(PaneHost& host, wxWindow* parent,
                             const settings::FontSetting& fontSetting,
                             const settings::ColumnSetting& columnSetting)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxBORDER_SIMPLE),
      m_host(host),
      m_fontSetting(fontSetting),
      m_columnSetting(columnSetting) {
    settings::FontSpec font = settings::LoadFont(m_host.GetProfile(), m_fontSetting);
    SetListFont(font.size, font.face);

    Bind(wxEVT_LIST_ITEM_SELECTED, &CListPaneCtrl::OnItemSelected, this);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &CListPaneCtrl::OnItemActivated, this);
    Bind(wxEVT_SHOW, &CListPaneCtrl::OnShow, this);
    MapCommand(ID_VIEW_FONT, [this] { OnFont(); });
}

CListPaneCtrl::~CListPaneCtrl() {
    SaveSettings();
}

CEKViewDoc& CListPaneCtrl::Doc() const {
    return m_host.GetDocManager().GetDocument();
}

void CListPaneCtrl::PrepareColumns() {
    SetFont(m_font);
    if (m_bColumnsCreated) {
        return;
    }
    settings::ColumnWidths widths =
        settings::LoadColumnWidths(m_host.GetProfile(), m_columnSetting);
    InsertColumn(0, FromUtf8(str::kColumnSubject), wxLIST_FORMAT_LEFT, widths[0]);
    InsertColumn(1, FromUtf8(str::kColumnSender), wxLIST_FORMAT_LEFT, widths[1]);
    InsertColumn(2, FromUtf8(str::kColumnDate), wxLIST_FORMAT_LEFT, widths[2]);
    m_bColumnsCreated = true;
}

void CListPaneCtrl::ResetRows(long count) {
    for (CachedRow& cached : m_rowCache) {
        cached.row = -1;
    }
    SetItemCount(count);
    Refresh();
}

const CListPaneCtrl::RowText* CListPaneCtrl::Row(long item) const {
    // A read in progress may have emptied the document under rows not yet rebuilt.
    int message = item >= 0 && item < GetItemCount() ? MessageOfRow(item) : -1;
    if (message < 0 || message >= Doc().GetMessageCount()) {
        return nullptr;
    }
    CachedRow& cached = m_rowCache[static_cast<std::size_t>(item) % m_rowCache.size()];
    if (cached.row != item) {
        cached.row = item;
        cached.value = {};
        MakeRow(item, cached.value);
    }
    return &cached.value;
}

wxString CListPaneCtrl::OnGetItemText(long item, long column) const {
    const RowText* row = Row(item);
    if (row == nullptr || column < 0 || column > 2) {
        return {};
    }
    return row->text[static_cast<std::size_t>(column)];
}

int CListPaneCtrl::OnGetItemImage(long item) const {
    const RowText* row = Row(item);
    return row != nullptr ? row->image : -1;
}

void CListPaneCtrl::SelectRow(long row) {
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    Doc().m_nCurrent = MessageOfRow(row);
}

bool CListPaneCtrl::CanGoNext() const {
    return CurrentRow() + 1 < GetItemCount();
}

bool CListPaneCtrl::CanGoPrev() const {
    return CurrentRow() > 0;
}

void CListPaneCtrl::GoNext() {
    SelectRow(CurrentRow() + 1);
}

void CListPaneCtrl::GoPrev() {
    SelectRow(CurrentRow() - 1);
}

void CListPaneCtrl::SelectMessage(int index) {
    long row = RowOfMessage(index);
    if (row >= 0) {
        EnsureVisible(row);
        SelectRow(row);
    }
}

void CListPaneCtrl::OnItemSelected(wxListEvent& event) {
    int message = MessageOfRow(event.GetIndex());
    if (message >= 0) {
        Doc().m_nCurrent = message;
    }
    event.Skip();
}

void CListPaneCtrl::OnItemActivated(wxListEvent&) {
    // Enter and a double click on a row both arrive here; the current row must be
    // selected or focused, which a double-clicked row always is.
    long current = CurrentRow();
    if (current >= 0 && current < GetItemCount() &&
        GetItemState(current, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED) != 0) {
        m_host.PostCommand(ID_VIEW_CONTENT);
    }
}

void CListPaneCtrl::OnShow(wxShowEvent& event) {
    event.Skip();
    long current = CurrentRow();
    if (event.IsShown() && current >= 0 && current < GetItemCount()) {
        EnsureVisible(current);
        SelectRow(current);
    }
}

void CListPaneCtrl::SetListFont(int sizeTenths, const std::string& face) {
    m_nFontSize = sizeTenths;
    m_strFaceName = face;
    m_font = MakePointFont(sizeTenths, face);
    SetFont(m_font);
    Refresh();
}

void CListPaneCtrl::OnFont() {
    std::optional<wxFont> chosen = GetCommonDialogs().ChooseFont(m_host.GetDialogParent(), m_font);
    if (!chosen || !chosen->IsOk()) {
        return;
    }
    m_nFontSize = static_cast<int>(std::lround(chosen->GetFractionalPointSize() * 10));
    m_strFaceName = ToUtf8(chosen->GetFaceName());
    // Weight and style last for this run only: the profile keeps size and face.
    m_font = *chosen;
    SetFont(m_font);
    Refresh();
}

void CListPaneCtrl::SaveSettings() {
    ProfileStore& profile = m_host.GetProfile();
    if (m_bColumnsCreated) {
        settings::SaveColumnWidths(profile, m_columnSetting,
                                   {GetColumnWidth(0), GetColumnWidth(1), GetColumnWidth(2)});
    }
    settings::SaveFont(profile, m_fontSetting, {m_nFontSize, m_strFaceName});
}

}  // namespace ek
