#include "views/TitleView.h"

#include <wx/fontdlg.h>

#include <cmath>

#include "frame/MainFrame.h"
#include "frame/ProgressDlg.h"
#include "platform/Cp932Decode.h"
#include "platform/MessageBox.h"
#include "platform/WxFonts.h"
#include "platform/WxText.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace ek {

namespace {

wxString Decode(const std::string& cp932) {
    return wxString(cp932::ToWide(cp932));
}

}  // namespace

CEKTitleView::CEKTitleView(CMainFrame& frame, wxWindow* parent)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxBORDER_SIMPLE),
      m_frame(frame) {
    settings::FontSpec font = settings::LoadFont(m_frame.GetProfile(), settings::kTFont);
    SetListFont(font.size, font.face);

    Bind(wxEVT_LIST_ITEM_SELECTED, &CEKTitleView::OnItemSelected, this);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &CEKTitleView::OnItemActivated, this);
    Bind(wxEVT_SHOW, &CEKTitleView::OnShow, this);
    MapCommand(ID_VIEW_FONT, [this] { OnFont(); });
}

CEKTitleView::~CEKTitleView() {
    SaveSettings();
}

CEKViewDoc& CEKTitleView::Doc() const {
    return m_frame.GetDocManager().GetDocument();
}

void CEKTitleView::OnInitialUpdate() {
    SetFont(m_font);
    if (!m_bColumnsCreated) {
        settings::ColumnWidths widths =
            settings::LoadColumnWidths(m_frame.GetProfile(), settings::kLVH);
        InsertColumn(0, wxString::FromUTF8(str::kColumnSubject), wxLIST_FORMAT_LEFT, widths[0]);
        InsertColumn(1, wxString::FromUTF8(str::kColumnSender), wxLIST_FORMAT_LEFT, widths[1]);
        InsertColumn(2, wxString::FromUTF8(str::kColumnDate), wxLIST_FORMAT_LEFT, widths[2]);
        m_bColumnsCreated = true;
    }
    if (!m_frame.IsListShown()) {
        m_frame.OnToggleContent();
    }
    SetItemCount(0);
    for (CachedRow& row : m_rowCache) {
        row.index = -1;
    }
    Refresh();

    CEKViewDoc& doc = Doc();
    if (doc.GetPathName().empty()) {
        return;
    }
    SetImageList(m_frame.GetListImages(), wxIMAGE_LIST_SMALL);
    ReadResult read = doc.ReadMailFile();
    if (read.status == ReadStatus::ReadError) {
        // The messages read before the error stay and are listed.
        AfxMessageBox(m_frame.IsShown() ? &m_frame : nullptr, read.reason, MessageIcon::Stop);
    } else if (!read) {
        AfxMessageBox(m_frame.IsShown() ? &m_frame : nullptr, str::kNotMailFile, MessageIcon::Stop);
        return;
    }
    if (doc.GetMessageCount() == 0) {
        return;
    }

    CProgressDlg progress(doc.GetProgressUi());
    progress.Create();
    progress.SetWindowText(str::kListBuilding);
    const int count = doc.GetMessageCount();
    // Rows are made when shown; the dialog still walks the count as the rows "fill".
    int shown = -1;
    for (int i = 0; i < count; ++i) {
        int percent = static_cast<int>(100LL * i / count);
        if (percent != shown) {
            progress.SetPosition(percent);
            shown = percent;
        }
    }
    SetItemCount(count);
    SelectRow(0);
    EnsureVisible(0);
}

const CEKTitleView::CachedRow& CEKTitleView::Row(long item) const {
    CachedRow& row = m_rowCache[static_cast<std::size_t>(item) % m_rowCache.size()];
    if (row.index != item) {
        std::vector<std::string> fields;
        const CEKViewDoc& doc = Doc();
        int index = static_cast<int>(item);
        row.index = item;
        if (doc.GetListRow(index, fields) && fields.size() >= 3) {
            row.text = {Decode(fields[2]), Decode(fields[1]), Decode(fields[0])};
        } else {
            row.text = {};
        }
        row.image = doc.GetBoundary(index).empty() ? 1 : 0;
    }
    return row;
}

wxString CEKTitleView::OnGetItemText(long item, long column) const {
    if (item < 0 || item >= Doc().GetMessageCount() || column < 0 || column > 2) {
        return {};
    }
    return Row(item).text[static_cast<std::size_t>(column)];
}

int CEKTitleView::OnGetItemImage(long item) const {
    if (item < 0 || item >= Doc().GetMessageCount()) {
        return -1;
    }
    return Row(item).image;
}

void CEKTitleView::SelectRow(long row) {
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    Doc().m_nCurrent = static_cast<int>(row);
}

bool CEKTitleView::CanGoNext() const {
    const CEKViewDoc& doc = Doc();
    return static_cast<unsigned>(doc.m_nCurrent + 1) < static_cast<unsigned>(doc.GetMessageCount());
}

bool CEKTitleView::CanGoPrev() const {
    const CEKViewDoc& doc = Doc();
    return doc.m_nCurrent > 0 && doc.GetMessageCount() != 0;
}

void CEKTitleView::GoNext() {
    SelectRow(Doc().m_nCurrent + 1);
}

void CEKTitleView::GoPrev() {
    SelectRow(Doc().m_nCurrent - 1);
}

void CEKTitleView::OnItemSelected(wxListEvent& event) {
    Doc().m_nCurrent = static_cast<int>(event.GetIndex());
    event.Skip();
}

void CEKTitleView::OnItemActivated(wxListEvent& event) {
    // Enter and a double click on a row both arrive here; the current row must be
    // selected or focused, which a double-clicked row always is.
    long current = Doc().m_nCurrent;
    if (current >= 0 && current < GetItemCount() &&
        GetItemState(current, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED) != 0) {
        m_frame.PostCommand(ID_VIEW_CONTENT);
    }
    event.Skip(false);
}

void CEKTitleView::OnShow(wxShowEvent& event) {
    event.Skip();
    long current = Doc().m_nCurrent;
    if (event.IsShown() && current >= 0 && current < GetItemCount()) {
        EnsureVisible(current);
        SelectRow(current);
    }
}

void CEKTitleView::SetListFont(int sizeTenths, const std::string& face) {
    m_nFontSize = sizeTenths;
    m_strFaceName = face;
    m_font = MakePointFont(sizeTenths, face);
    SetFont(m_font);
    Refresh();
}

void CEKTitleView::OnFont() {
    wxFontData data;
    data.SetInitialFont(m_font);
    data.EnableEffects(true);
    wxFontDialog dialog(&m_frame, data);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    wxFont chosen = dialog.GetFontData().GetChosenFont();
    m_nFontSize = static_cast<int>(std::lround(chosen.GetFractionalPointSize() * 10));
    m_strFaceName = ToUtf8(chosen.GetFaceName());
    // Weight and style last for this run only: the profile keeps size and face.
    m_font = chosen;
    SetFont(m_font);
    Refresh();
}

void CEKTitleView::SaveSettings() {
    ProfileStore& profile = m_frame.GetProfile();
    if (m_bColumnsCreated) {
        settings::SaveColumnWidths(profile, settings::kLVH,
                                   {GetColumnWidth(0), GetColumnWidth(1), GetColumnWidth(2)});
    }
    settings::SaveFont(profile, settings::kTFont, {m_nFontSize, m_strFaceName});
}

}  // namespace ek
