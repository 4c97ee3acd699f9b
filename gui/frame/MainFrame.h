// The program's only top-level window: menu bar, dockable tool bar, status bar and
// a client area that shows exactly one of the three panes.
#pragma once

#include <wx/aui/aui.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/ProfileStore.h"
#include "shell/CommandRouter.h"
#include "shell/PaneHost.h"
#include "shell/Panes.h"
#include "shell/ScreenPlacement.h"

class wxAuiToolBar;
class wxImageList;
class wxPanel;
class wxStatusBar;

namespace ek {

class CEKTitleView;
class ExportDialogUi;
class CSearchDlg;

// What the frame needs from the rest of the program.
struct FrameContext {
    CDocManager& docManager;
    ProfileStore& profile;
    // The application's place at the end of the command routing.
    CCmdTarget* app = nullptr;
    PaneFactory panes;
};

class CMainFrame : public wxFrame, public CCmdTarget, public PaneHost {
  public:
    explicit CMainFrame(FrameContext context);
    ~CMainFrame() override;

    // Window creation: the subject list, the bars, the restored placement and bar
    // state. False when the window could not be made; the frame must then be destroyed.
    bool Create();
    // Makes the text pane and the thread list (hidden) and hands the text pane its
    // quote marks and colours. Runs once, after the window was first shown.
    void CreatePanes();

    void OnToggleContent() override;
    void OnToggleThread();
    bool IsListShown() const override { return m_bContentShown == 0; }

    // Queues a command as a pane posts it; it passes the update gate when it runs.
    void PostCommand(int id) override;
    // Sends a command through the gate now, as a menu item or key would.
    bool ExecuteCommand(int id);
    // The decision of the update handlers, as menus and tool bar show it.
    CCmdUI QueryCommand(int id) const;

    // The window title: the document's name and the program's.
    void OnUpdateFrameTitle();
    // Shows the recent-file list in the File menu (the placeholder when it is empty).
    void UpdateRecentFileMenu(const std::vector<std::string>& menuTexts);

    CDocManager& GetDocManager() override { return m_context.docManager; }
    ProfileStore& GetProfile() override { return m_context.profile; }
    wxImageList* GetListImages() override { return m_listImages.get(); }
    wxWindow* GetDialogParent() override { return this; }
    wxWindow* GetMessageBoxParent() override { return IsShown() ? this : nullptr; }
    void SetStatusPrompt(const std::string& utf8) override;

    CEKTitleView* GetTitleView() const { return m_pTitleView; }
    CContentPane* GetContentView() const { return m_pContentView; }
    CListPane* GetThreadView() const { return m_pThreadView; }
    CListPane* GetListView() const { return m_pListView; }
    CView* GetActiveView() const { return m_pActiveView; }
    // The lists and the text pane show messages decoded (the text pane's switch).
    bool IsDecodedView() const override {
        return m_pContentView != nullptr && m_pContentView->IsDecoded();
    }
    wxAuiToolBar* GetToolBarWindow() const { return m_wndToolBar; }
    bool IsThreadMode() const { return m_bThreadMode != 0; }

    // The export command's dialogs; null brings back the system's.
    void SetExportDialogUi(ExportDialogUi* ui);
    // The search window's results as message indexes, or nothing while none is open;
    // the export offers them as a scope.
    void SetSearchResultsSource(std::function<std::optional<std::vector<int>>()> source) {
        m_searchResults = std::move(source);
    }

    // The status-bar text of the pane with this identifier.
    wxString GetIndicatorText(int paneId) const;

    // The search window and what it does to the lists (MainFrameSearch.cpp).
    // Makes message `index` current: the current list selects and shows its row, and
    // the text pane, while visible, shows the message.
    void SelectMessage(int index);
    // The same, then the text pane shows the message.
    void OpenMessage(int index);
    // The message indexes of the search window's last finished search, in list
    // order; empty while none has finished or once another mailbox is opened.
    std::vector<int> GetSearchResults() const;
    CSearchDlg* GetSearchDlg() const { return m_pSearchDlg; }

  private:
    // Bars, placement and bar state (MainFrameBars.cpp).
    bool CreateToolBarPane();
    bool CreateStatusBarPanes();
    void LoadPlacement();
    void SavePlacement();
    void LoadBarState();
    void SaveBarState();
    void UpdateStatusPanes();
    void SetIndicator(int index, const wxString& text);
    void TrackNormalRect();

    void MapHandlers();
    void ShowPane(CPane* paneToShow, CPane* paneToHide);
    void SetActiveView(CPane* pane);
    std::vector<CCmdTarget*> RoutingChain() const;

    void OnMenuCommand(wxCommandEvent& event);
    void OnUpdateUI(wxUpdateUIEvent& event);
    void OnToolBarMotion(wxMouseEvent& event);
    void OnToolBarLeave(wxMouseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnClose(wxCloseEvent& event);

    void OnUpdateToggleContent(CCmdUI& cmdUI);
    void OnUpdateToggleThread(CCmdUI& cmdUI);
    void OnUpdateNextMail(CCmdUI& cmdUI);
    void OnUpdatePrevMail(CCmdUI& cmdUI);
    void OnUpdatePosition(CCmdUI& cmdUI);
    void OnNextMail();
    void OnPrevMail();
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnFileExport();
    void OnSearchMail();
    void OnToggleDecode();
    bool CurrentHasAttachments();

    FrameContext m_context;
    CommandRouter m_router;

    int m_bThreadMode = 0;
    int m_bContentShown = 0;
    wxStatusBar* m_wndStatusBar = nullptr;
    wxAuiToolBar* m_wndToolBar = nullptr;
    // The button whose prompt the status bar shows; wxID_NONE for none.
    int m_flyByTool = wxID_NONE;
    CEKTitleView* m_pTitleView = nullptr;
    CContentPane* m_pContentView = nullptr;
    CListPane* m_pThreadView = nullptr;
    CListPane* m_pListView = nullptr;
    // A child window that wxWidgets destroys with the frame; hidden when closed.
    CSearchDlg* m_pSearchDlg = nullptr;

    CView* m_pActiveView = nullptr;
    wxPanel* m_client = nullptr;
    wxAuiManager m_auiManager;
    std::unique_ptr<wxImageList> m_listImages;
    std::vector<int> m_statusPaneIds;
    std::vector<int> m_deferredCommands;
    std::vector<wxMenuItem*> m_recentItems;
    // The last rectangle the window had while neither maximized nor minimized.
    ScreenRect m_rcNormal;
    bool m_panesCreated = false;
    std::unique_ptr<ExportDialogUi> m_systemExportUi;
    ExportDialogUi* m_exportUi = nullptr;
    std::function<std::optional<std::vector<int>>()> m_searchResults;
    // Whether the message at this text has attachments, kept so that idle updates
    // decode a message once.
    const char* m_attachmentsChecked = nullptr;
    bool m_hasAttachments = false;
};

}  // namespace ek
