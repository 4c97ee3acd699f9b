#include "gui/frame/MainFrame.h"

#include <wx/aui/auibar.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "core/frame/PositionIndicator.h"
#include "gui/frame/AttachmentDlg.h"
#include "gui/frame/ExportDlg.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/frame/QuoteColorDlg.h"
#include "gui/frame/SearchDlg.h"
#include "gui/platform/WxColour.h"
#include "gui/platform/WxText.h"
#include "gui/res/Images.h"
#include "gui/res/Menus.h"
#include "gui/views/TitleView.h"
#include "shell/DecodedView.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

CMainFrame::CMainFrame(FrameContext context)
    : m_context(std::move(context)), m_router([this] { return RoutingChain(); }) {
    m_systemExportUi = std::make_unique<WxExportDialogUi>(
        [this]() -> wxWindow* { return this; },
        [this] { return m_context.docManager.GetDocument().m_strMailFile; });
    m_exportUi = m_systemExportUi.get();
    MapHandlers();
}

CMainFrame::~CMainFrame() {
    m_auiManager.UnInit();
    // The panes go with their windows; the document must not call them any more.
    for (CView* view : {static_cast<CView*>(m_pTitleView), static_cast<CView*>(m_pContentView),
                        static_cast<CView*>(m_pThreadView), static_cast<CView*>(m_pSearchDlg)}) {
        if (view != nullptr) {
            m_context.docManager.RemoveView(view);
        }
    }
    // The panes store their settings as they are destroyed, which needs this frame's
    // profile: destroy them before the frame's members go.
    if (m_client != nullptr) {
        m_client->Destroy();
    }
}

bool CMainFrame::Create() {
    if (!wxFrame::Create(nullptr, wxID_ANY, FromUtf8(str::kAppTitle), wxDefaultPosition,
                         wxSize(800, 560))) {
        return false;
    }
    SetIcon(AppIcon());
    m_listImages = CreateListImages();
    m_auiManager.SetManagedWindow(this);

    // The client area holds the panes; the visible one fills it.
    m_client = new wxPanel(this, wxID_ANY);
    m_client->SetSizer(new wxBoxSizer(wxVERTICAL));
    m_pTitleView = new CEKTitleView(*this, m_client);
    m_pTitleView->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    m_client->GetSizer()->Add(m_pTitleView, 1, wxEXPAND);
    m_context.docManager.AddView(m_pTitleView);
    m_pActiveView = m_pTitleView;
    m_auiManager.AddPane(m_client, wxAuiPaneInfo().Name("client").CenterPane().PaneBorder(false));

    SetMenuBar(CreateMainMenuBar());
    std::vector<wxAcceleratorEntry> accelerators = MainAccelerators();
    SetAcceleratorTable(
        wxAcceleratorTable(static_cast<int>(accelerators.size()), accelerators.data()));

    if (!CreateToolBarPane() || !CreateStatusBarPanes()) {
        return false;
    }
    LoadPlacement();
    LoadBarState();
    m_auiManager.Update();

    Bind(wxEVT_MENU, &CMainFrame::OnMenuCommand, this);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUI, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        TrackNormalRect();
        event.Skip();
    });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& event) {
        TrackNormalRect();
        event.Skip();
    });
    return true;
}

void CMainFrame::MapHandlers() {
    MapCommand(ID_VIEW_CONTENT, [this] { OnToggleContent(); });
    MapUpdate(ID_VIEW_CONTENT, [this](CCmdUI& ui) { OnUpdateToggleContent(ui); });
    MapCommand(ID_VIEW_THREAD, [this] { OnToggleThread(); });
    MapUpdate(ID_VIEW_THREAD, [this](CCmdUI& ui) { OnUpdateToggleThread(ui); });
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                   ID_FILE_PRINT_SETUP}) {
        MapUpdate(id, [](CCmdUI& ui) { ui.Enable(false); });
    }
    MapUpdate(ID_MAIL_NEXT, [this](CCmdUI& ui) { OnUpdateNextMail(ui); });
    MapUpdate(ID_MAIL_PREV, [this](CCmdUI& ui) { OnUpdatePrevMail(ui); });
    MapCommand(ID_MAIL_NEXT, [this] { OnNextMail(); });
    MapCommand(ID_MAIL_PREV, [this] { OnPrevMail(); });
    MapCommand(ID_VIEW_COLOR, [this] { OnColorCommand(*this); });
    MapCommand(ID_FILE_EXPORT, [this] { OnFileExport(); });
    MapUpdate(ID_FILE_EXPORT, [this](CCmdUI& ui) {
        ui.Enable(m_context.docManager.GetDocument().GetMessageCount() > 0);
    });
    MapCommand(ID_MAIL_SEARCH, [this] { OnSearchMail(); });
    MapUpdate(ID_MAIL_SEARCH, [this](CCmdUI& ui) { ui.Enable(m_panesCreated); });
    MapCommand(ID_VIEW_DECODE, [this] { OnToggleDecode(); });
    MapUpdate(ID_VIEW_DECODE, [this](CCmdUI& ui) {
        ui.Enable(m_pContentView != nullptr && CanDecodeMessages());
        ui.SetCheck(IsDecodedView() ? 1 : 0);
    });
    MapCommand(ID_FILE_SAVE_ATTACHMENTS, [this] {
        CAttachmentDlg dialog(this, GetDocManager().GetDocument(),
                              GetDocManager().GetDocument().m_nCurrent);
        dialog.ShowModal();
    });
    MapUpdate(ID_FILE_SAVE_ATTACHMENTS, [this](CCmdUI& ui) { ui.Enable(CurrentHasAttachments()); });
    MapCommand(ID_VIEW_TOOLBAR, [this] { OnViewToolBar(); });
    MapUpdate(ID_VIEW_TOOLBAR, [this](CCmdUI& ui) {
        ui.Enable();
        ui.SetCheck(m_wndToolBar != nullptr && m_auiManager.GetPane(m_wndToolBar).IsShown());
    });
    MapCommand(ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); });
    MapUpdate(ID_VIEW_STATUS_BAR, [this](CCmdUI& ui) {
        ui.Enable();
        ui.SetCheck(m_wndStatusBar != nullptr && m_wndStatusBar->IsShown());
    });
    MapUpdate(ID_INDICATOR_POSITION, [this](CCmdUI& ui) { OnUpdatePosition(ui); });
    MapUpdate(ID_INDICATOR_KANA, [](CCmdUI& ui) { ui.Enable(false); });
    MapUpdate(ID_INDICATOR_CAPS, [](CCmdUI& ui) { ui.Enable(wxGetKeyState(WXK_CAPITAL)); });
    MapUpdate(ID_INDICATOR_NUM, [](CCmdUI& ui) { ui.Enable(wxGetKeyState(WXK_NUMLOCK)); });
    MapUpdate(ID_INDICATOR_SCRL, [](CCmdUI& ui) { ui.Enable(wxGetKeyState(WXK_SCROLL)); });
}

std::vector<CCmdTarget*> CMainFrame::RoutingChain() const {
    return {m_pActiveView, &m_context.docManager, const_cast<CMainFrame*>(this), m_context.app};
}

void CMainFrame::CreatePanes() {
    if (m_panesCreated) {
        return;
    }
    m_panesCreated = true;
    m_pListView = m_pTitleView;
    wxSizer* sizer = m_client->GetSizer();
    auto addPane = [&](CPane* pane, int id) {
        pane->SetDlgCtrlID(id);
        wxWindow* window = pane->GetPaneWindow();
        window->Hide();
        sizer->Add(window, 1, wxEXPAND);
        m_context.docManager.AddView(pane);
        pane->OnInitialUpdate();
    };
    if (m_pContentView == nullptr && m_context.panes.createContent) {
        m_pContentView = m_context.panes.createContent(*this, m_client);
        if (m_pContentView != nullptr) {
            addPane(m_pContentView, kContentPaneInitialId);
            // Rows made before the text pane read its switch are made anew.
            if (m_pContentView->IsDecoded() && m_pTitleView != nullptr) {
                m_pTitleView->RedrawRows();
            }
        }
    }
    if (m_pThreadView == nullptr && m_context.panes.createThread) {
        m_pThreadView = m_context.panes.createThread(*this, m_client);
        if (m_pThreadView != nullptr) {
            addPane(m_pThreadView, kThreadPaneInitialId);
        }
    }
    if (m_pContentView != nullptr) {
        ProfileStore& profile = m_context.profile;
        wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
        settings::ColorRef greyRef = FromColour(grey);
        QuoteSettings quote;
        quote.quote = settings::Read(profile, settings::kQuote);
        quote.quoteColor = settings::ReadColor(profile, settings::kQuoteClr, greyRef);
        quote.mailColor = settings::ReadColor(profile, settings::kMailClr, greyRef);
        quote.httpColor = settings::ReadColor(profile, settings::kHttpClr, greyRef);
        m_pContentView->SetQuoteSettings(quote);
    }
    m_client->Layout();
}

void CMainFrame::ShowPane(CPane* paneToShow, CPane* paneToHide) {
    wxWindow* show = paneToShow->GetPaneWindow();
    wxWindow* hide = paneToHide->GetPaneWindow();
    int id = paneToShow->GetDlgCtrlID();
    paneToShow->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    paneToHide->SetDlgCtrlID(id);
    show->Show();
    hide->Hide();
    SetActiveView(paneToShow);
    m_client->Layout();
}

void CMainFrame::SetActiveView(CPane* pane) {
    m_pActiveView = pane;
    if (IsActive()) {
        pane->GetPaneWindow()->SetFocus();
    }
}

void CMainFrame::OnToggleContent() {
    if (m_pContentView == nullptr || m_pListView == nullptr) {
        return;
    }
    m_bContentShown = m_bContentShown == 0 ? 1 : 0;
    if (m_bContentShown != 0) {
        ShowPane(m_pContentView, m_pListView);
        m_pContentView->ShowMessage(m_context.docManager.GetDocument().m_nCurrent);
    } else {
        ShowPane(m_pListView, m_pContentView);
    }
}

void CMainFrame::OnUpdateToggleContent(CCmdUI& cmdUI) {
    cmdUI.Enable(m_pContentView != nullptr &&
                 m_context.docManager.GetDocument().GetMessageCount() > 0);
    cmdUI.SetText(m_bContentShown != 0 ? str::kShowTitle : str::kShowContent);
}

void CMainFrame::OnToggleThread() {
    if (m_pThreadView == nullptr || m_pTitleView == nullptr) {
        return;
    }
    m_bThreadMode = m_bThreadMode == 0 ? 1 : 0;
    if (m_bContentShown == 0) {
        if (m_bThreadMode != 0) {
            ShowPane(m_pThreadView, m_pTitleView);
        } else {
            ShowPane(m_pTitleView, m_pThreadView);
        }
    }
    m_pListView = m_bThreadMode != 0 ? m_pThreadView : static_cast<CListPane*>(m_pTitleView);
}

void CMainFrame::OnUpdateToggleThread(CCmdUI& cmdUI) {
    cmdUI.Enable(m_pThreadView != nullptr);
    cmdUI.SetCheck(m_bThreadMode);
}

void CMainFrame::OnUpdateNextMail(CCmdUI& cmdUI) {
    cmdUI.Enable(m_pTitleView != nullptr && m_pThreadView != nullptr && m_pListView != nullptr &&
                 m_pListView->CanGoNext());
}

void CMainFrame::OnUpdatePrevMail(CCmdUI& cmdUI) {
    cmdUI.Enable(m_pTitleView != nullptr && m_pThreadView != nullptr && m_pListView != nullptr &&
                 m_pListView->CanGoPrev());
}

void CMainFrame::OnUpdatePosition(CCmdUI& cmdUI) {
    const CEKViewDoc& doc = m_context.docManager.GetDocument();
    cmdUI.Enable();
    cmdUI.SetText(PositionIndicatorText(doc.m_nCurrent, doc.GetMessageCount()));
}

void CMainFrame::OnNextMail() {
    m_pListView->GoNext();
    if (m_bContentShown != 0 && m_pContentView != nullptr) {
        m_pContentView->ShowMessage(m_context.docManager.GetDocument().m_nCurrent);
    }
}

void CMainFrame::OnPrevMail() {
    m_pListView->GoPrev();
    if (m_bContentShown != 0 && m_pContentView != nullptr) {
        m_pContentView->ShowMessage(m_context.docManager.GetDocument().m_nCurrent);
    }
}

void CMainFrame::PostCommand(int id) {
    wxQueueEvent(this, new wxCommandEvent(wxEVT_MENU, WxId(id)));
}

void CMainFrame::SetStatusPrompt(const std::string& utf8) {
    if (GetStatusBar() != nullptr) {
        SetStatusText(FromUtf8(utf8), 0);
    }
}

bool CMainFrame::ExecuteCommand(int id) {
    return m_router.Execute(id);
}

CCmdUI CMainFrame::QueryCommand(int id) const {
    return m_router.Query(id);
}

void CMainFrame::OnMenuCommand(wxCommandEvent& event) {
    // A command that arrives while a long operation runs (one posted before it
    // began) waits for its end rather than run in the middle of it.
    int id = CommandId(event.GetId());
    if (WxProgressUi::IsAnyWindowUp()) {
        m_deferredCommands.push_back(id);
        return;
    }
    m_router.Execute(id);
}

void CMainFrame::OnUpdateUI(wxUpdateUIEvent& event) {
    // Only menu items and tool-bar buttons are commands; windows update themselves.
    // The tool bar also asks for itself, under its window id: the gate knows no such
    // command and would disable the whole bar, which then takes no click at all.
    wxObject* source = event.GetEventObject();
    const auto* toolBar = wxDynamicCast(source, wxAuiToolBar);
    const bool isButton = toolBar != nullptr && toolBar->FindTool(event.GetId()) != nullptr;
    if (wxDynamicCast(source, wxMenu) == nullptr && !isButton) {
        event.Skip();
        return;
    }
    CCmdUI cmdUI = m_router.Query(CommandId(event.GetId()));
    event.Enable(cmdUI.IsEnabled());
    if (cmdUI.GetCheck() >= 0) {
        event.Check(cmdUI.GetCheck() != 0);
    }
    if (cmdUI.GetText() && wxDynamicCast(source, wxMenu) != nullptr) {
        event.SetText(FromUtf8(*cmdUI.GetText()));
    }
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    if (!m_deferredCommands.empty() && !WxProgressUi::IsAnyWindowUp()) {
        std::vector<int> commands;
        commands.swap(m_deferredCommands);
        for (int id : commands) {
            PostCommand(id);
        }
    }
    UpdateStatusPanes();
    event.Skip();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    if (WxProgressUi::IsAnyWindowUp() && event.CanVeto()) {
        event.Veto();
        return;
    }
    SavePlacement();
    SaveBarState();
    m_context.docManager.CloseDocument();
    Destroy();
}

void CMainFrame::OnUpdateFrameTitle() {
    SetTitle(FromUtf8(m_context.docManager.GetTitle() + " - " + str::kAppTitle));
}

void CMainFrame::UpdateRecentFileMenu(const std::vector<std::string>& menuTexts) {
    wxMenuBar* bar = GetMenuBar();
    wxMenu* fileMenu = bar != nullptr ? bar->GetMenu(0) : nullptr;
    if (fileMenu == nullptr) {
        return;
    }
    // The entries sit where the placeholder was: after the separator that follows
    // the printer set-up item.
    size_t position = 0;
    fileMenu->FindChildItem(WxId(ID_FILE_PRINT_SETUP), &position);
    position += 2;
    for (int i = 0; i < settings::kRecentFileCount; ++i) {
        while (fileMenu->FindChildItem(WxId(ID_FILE_MRU_FILE1 + i)) != nullptr) {
            fileMenu->Destroy(WxId(ID_FILE_MRU_FILE1 + i));
        }
    }
    bool any = false;
    for (std::size_t i = 0; i < menuTexts.size() && i < std::size_t{settings::kRecentFileCount};
         ++i) {
        if (menuTexts[i].empty()) {
            continue;
        }
        fileMenu->Insert(position++, WxId(ID_FILE_MRU_FILE1 + static_cast<int>(i)),
                         FromUtf8(menuTexts[i]), FromUtf8(CommandPrompt(ID_FILE_OPEN)));
        any = true;
    }
    if (!any) {
        fileMenu->Insert(position, WxId(ID_FILE_MRU_FILE1), FromUtf8(str::kRecentFilePlaceholder));
    }
}

void CMainFrame::SetExportDialogUi(ExportDialogUi* ui) {
    m_exportUi = ui != nullptr ? ui : m_systemExportUi.get();
}

void CMainFrame::OnFileExport() {
    const CEKViewDoc& doc = m_context.docManager.GetDocument();
    std::optional<std::vector<int>> results;
    if (m_searchResults) {
        results = m_searchResults();
    }
    RunExportCommand(doc, doc.GetProgressUi(), results, *m_exportUi);
}

}  // namespace ek

namespace ek {

void CMainFrame::OnToggleDecode() {
    m_pContentView->SetDecoded(!m_pContentView->IsDecoded());
    if (m_pTitleView != nullptr) {
        m_pTitleView->RedrawRows();
    }
    if (m_pThreadView != nullptr) {
        m_pThreadView->RedrawRows();
    }
    if (m_pSearchDlg != nullptr) {
        m_pSearchDlg->OnDecodedViewChanged();
    }
}

bool CMainFrame::CurrentHasAttachments() {
    const CEKViewDoc& doc = GetDocManager().GetDocument();
    const int index = doc.m_nCurrent;
    if (!CanDecodeMessages() || index < 0 || index >= doc.GetMessageCount()) {
        return false;
    }
    const char* text = doc.MessageLines(index).text().data();
    if (text != m_attachmentsChecked) {
        m_attachmentsChecked = text;
        m_hasAttachments = !ListAttachments(doc, index).empty();
    }
    return m_hasAttachments;
}

}  // namespace ek
