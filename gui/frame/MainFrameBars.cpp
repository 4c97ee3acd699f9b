// The main frame's bars, its placement on the screen and the bar state.
#include <wx/aui/auibar.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/statusbr.h>

#include "gui/frame/MainFrame.h"
#include "gui/platform/WxText.h"
#include "gui/res/Images.h"
#include "gui/res/Menus.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

namespace {

// The bar state under the framework's profile name: the tool bar's docking as a
// wxAUI perspective, and whether the status bar is shown.
constexpr const char* kBarLayoutKey = "Layout";
constexpr const char* kStatusBarKey = "StatusBar";

// Windows' show commands, as "WindowPos" stores them.
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;

const char* IndicatorText(int id) {
    switch (id) {
        case ID_INDICATOR_POSITION:
            return str::kPositionInitial;
        case ID_INDICATOR_KANA:
            return str::kIndicatorKana;
        case ID_INDICATOR_CAPS:
            return str::kIndicatorCaps;
        case ID_INDICATOR_NUM:
            return str::kIndicatorNum;
        case ID_INDICATOR_SCRL:
            return str::kIndicatorScrl;
        default:
            return "";
    }
}

}  // namespace

bool CMainFrame::CreateToolBarPane() {
    m_wndToolBar = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER);
    m_wndToolBar->SetToolBitmapSize(wxSize(16, 15));
    for (int id : ToolBarLayout()) {
        if (id == ID_SEPARATOR) {
            m_wndToolBar->AddSeparator();
            continue;
        }
        wxItemKind kind = id == ID_VIEW_THREAD || id == ID_VIEW_ALLHEADER || id == ID_VIEW_DECODE
                              ? wxITEM_CHECK
                              : wxITEM_NORMAL;
        m_wndToolBar->AddTool(WxId(id), wxString(), ToolBarImage(id), wxNullBitmap, kind,
                              FromUtf8(CommandToolTip(id)), FromUtf8(CommandPrompt(id)), nullptr);
    }
    if (!m_wndToolBar->Realize()) {
        return false;
    }
    // The button under the mouse says what it does in the status bar, as a highlighted
    // menu item does.
    m_wndToolBar->Bind(wxEVT_MOTION, &CMainFrame::OnToolBarMotion, this);
    m_wndToolBar->Bind(wxEVT_LEAVE_WINDOW, &CMainFrame::OnToolBarLeave, this);
    m_auiManager.AddPane(m_wndToolBar, wxAuiPaneInfo()
                                           .Name("toolbar")
                                           .ToolbarPane()
                                           .Top()
                                           .Gripper(false)
                                           .LeftDockable(true)
                                           .RightDockable(true));
    return true;
}

void CMainFrame::OnToolBarMotion(wxMouseEvent& event) {
    event.Skip();
    const wxAuiToolBarItem* item = m_wndToolBar->FindToolByPosition(event.GetX(), event.GetY());
    const int id =
        item != nullptr && item->GetKind() != wxITEM_SEPARATOR ? item->GetId() : wxID_NONE;
    if (id == m_flyByTool) {
        return;
    }
    m_flyByTool = id;
    DoGiveHelp(id != wxID_NONE ? item->GetLongHelp() : wxString(), id != wxID_NONE);
}

void CMainFrame::OnToolBarLeave(wxMouseEvent& event) {
    event.Skip();
    if (m_flyByTool != wxID_NONE) {
        m_flyByTool = wxID_NONE;
        DoGiveHelp(wxString(), false);
    }
}

bool CMainFrame::CreateStatusBarPanes() {
    m_statusPaneIds = {ID_SEPARATOR,      ID_INDICATOR_POSITION, ID_INDICATOR_KANA,
                       ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL};
    m_wndStatusBar = CreateStatusBar(static_cast<int>(m_statusPaneIds.size()));
    if (m_wndStatusBar == nullptr) {
        return false;
    }
    std::vector<int> widths(m_statusPaneIds.size(), -1);
    wxClientDC dc(m_wndStatusBar);
    dc.SetFont(m_wndStatusBar->GetFont());
    for (std::size_t i = 1; i < m_statusPaneIds.size(); ++i) {
        wxString text = FromUtf8(IndicatorText(m_statusPaneIds[i]));
        widths[i] = dc.GetTextExtent(text).x + 12;
        if (m_statusPaneIds[i] == ID_INDICATOR_POSITION) {
            m_wndStatusBar->SetStatusText(text, static_cast<int>(i));
        }
    }
    m_wndStatusBar->SetStatusWidths(static_cast<int>(widths.size()), widths.data());
    m_wndStatusBar->SetStatusText(FromUtf8(str::kIdleMessage), 0);
    SetStatusBarPane(0);
    return true;
}

wxString CMainFrame::GetIndicatorText(int paneId) const {
    for (std::size_t i = 0; i < m_statusPaneIds.size(); ++i) {
        if (m_statusPaneIds[i] == paneId) {
            return m_wndStatusBar->GetStatusText(static_cast<int>(i));
        }
    }
    return {};
}

void CMainFrame::UpdateStatusPanes() {
    if (m_wndStatusBar == nullptr || !m_wndStatusBar->IsShown()) {
        return;
    }
    for (std::size_t i = 1; i < m_statusPaneIds.size(); ++i) {
        int id = m_statusPaneIds[i];
        CCmdUI cmdUI = m_router.Query(id);
        // A pane that no update handler speaks for keeps its text.
        if (!cmdUI.IsEnableChanged() && !cmdUI.GetText()) {
            continue;
        }
        wxString text;
        if (cmdUI.IsEnabled()) {
            text = FromUtf8(cmdUI.GetText() ? *cmdUI.GetText() : std::string(IndicatorText(id)));
        }
        SetIndicator(static_cast<int>(i), text);
        if (cmdUI.GetText()) {
            // Panes whose handler sets the text grow and shrink with it.
            wxClientDC dc(m_wndStatusBar);
            dc.SetFont(m_wndStatusBar->GetFont());
            std::vector<int> widths(m_statusPaneIds.size());
            for (std::size_t k = 0; k < widths.size(); ++k) {
                widths[k] = k == 0 ? -1 : m_wndStatusBar->GetStatusWidth(static_cast<int>(k));
            }
            widths[i] = dc.GetTextExtent(text).x + 12;
            if (widths[i] != m_wndStatusBar->GetStatusWidth(static_cast<int>(i))) {
                m_wndStatusBar->SetStatusWidths(static_cast<int>(widths.size()), widths.data());
            }
        }
    }
}

void CMainFrame::SetIndicator(int index, const wxString& text) {
    if (m_wndStatusBar->GetStatusText(index) != text) {
        m_wndStatusBar->SetStatusText(text, index);
    }
}

void CMainFrame::OnViewToolBar() {
    wxAuiPaneInfo& pane = m_auiManager.GetPane(m_wndToolBar);
    pane.Show(!pane.IsShown());
    m_auiManager.Update();
}

void CMainFrame::OnViewStatusBar() {
    m_wndStatusBar->Show(!m_wndStatusBar->IsShown());
    SendSizeEvent();
}

void CMainFrame::TrackNormalRect() {
    if (IsShown() && !IsMaximized() && !IsIconized() && !IsFullScreen()) {
        wxRect rect = GetRect();
        m_rcNormal = {rect.GetLeft(), rect.GetTop(), rect.GetLeft() + rect.GetWidth(),
                      rect.GetTop() + rect.GetHeight()};
    }
}

void CMainFrame::LoadPlacement() {
    std::optional<settings::WindowPlacement> placement = settings::LoadWindowPos(GetProfile());
    if (!placement) {
        return;
    }
    std::vector<ScreenRect> screens;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        wxRect area = wxDisplay(i).GetClientArea();
        screens.push_back({area.GetLeft(), area.GetTop(), area.GetLeft() + area.GetWidth(),
                           area.GetTop() + area.GetHeight()});
    }
    // The stored show command gives way to the start-up one: the window opens in
    // its normal size.
    std::optional<ScreenRect> rect = PlaceOnScreens(
        {placement->left, placement->top, placement->right, placement->bottom}, screens);
    if (rect) {
        SetSize(rect->left, rect->top, rect->Width(), rect->Height());
        m_rcNormal = *rect;
    }
}

void CMainFrame::SavePlacement() {
    TrackNormalRect();
    if (m_rcNormal.IsEmpty()) {
        return;
    }
    settings::WindowPlacement placement;
    placement.flags = IsMaximized() ? settings::kRestoreToMaximized : 0;
    placement.showCmd = IsIconized()    ? SW_SHOWMINIMIZED
                        : IsMaximized() ? SW_SHOWMAXIMIZED
                                        : SW_SHOWNORMAL;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.left = m_rcNormal.left;
    placement.top = m_rcNormal.top;
    placement.right = m_rcNormal.right;
    placement.bottom = m_rcNormal.bottom;
    settings::SaveWindowPos(GetProfile(), placement);
}

void CMainFrame::LoadBarState() {
    ProfileStore& profile = GetProfile();
    std::string layout = profile.GetProfileString(settings::kBarStateProfile, kBarLayoutKey, "");
    if (!layout.empty() && m_auiManager.LoadPerspective(FromUtf8(layout), false)) {
        // The client area is always there, whatever the stored layout says.
        m_auiManager.GetPane(m_client).CenterPane().Show();
        wxAuiPaneInfo& toolbar = m_auiManager.GetPane(m_wndToolBar);
        if (toolbar.IsDocked() && (toolbar.dock_direction == wxAUI_DOCK_TOP ||
                                   toolbar.dock_direction == wxAUI_DOCK_BOTTOM)) {
            toolbar.BestSize(m_wndToolBar->GetBestSize());
        }
    }
    bool statusBar = profile.GetProfileInt(settings::kBarStateProfile, kStatusBarKey, 1) != 0;
    m_wndStatusBar->Show(statusBar);
}

void CMainFrame::SaveBarState() {
    ProfileStore& profile = GetProfile();
    profile.WriteProfileString(settings::kBarStateProfile, kBarLayoutKey,
                               ToUtf8(m_auiManager.SavePerspective()));
    profile.WriteProfileInt(settings::kBarStateProfile, kStatusBarKey,
                            m_wndStatusBar->IsShown() ? 1 : 0);
}

}  // namespace ek
