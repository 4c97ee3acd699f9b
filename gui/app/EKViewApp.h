// The application object: the profile, the recent-file list, the one document and
// the main frame; start-up and the application's own commands.
#pragma once

#include <type_traits>  // wx/weakref.h uses std::is_base_of without including it

#include <wx/weakref.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gui/frame/MainFrame.h"
#include "gui/frame/ProgressWindow.h"
#include "gui/platform/WxProfileStore.h"
#include "shell/CommandLine.h"
#include "shell/DocManager.h"
#include "shell/RecentFileList.h"

namespace ek {

class CEKViewApp : public CCmdTarget {
  public:
    struct Options {
        // The profile file; empty for the user's own.
        std::string profilePath;
        PaneFactory panes;
        // Asks the user for a mailbox to open; the default shows the file dialog.
        std::function<std::optional<std::string>(wxWindow* parent)> chooseFile;
    };

    explicit CEKViewApp(Options options = {});
    ~CEKViewApp() override;

    // Start-up. False ends the program: the frame could not be made, or the file
    // named on the command line could not be opened (the user was told).
    bool InitInstance(const CommandLineInfo& commandLine);
    // Keeps the recent-file list and saves the profile; after the frame is gone.
    void ExitInstance();

    // The framework's open, with its message when the file cannot be opened.
    bool OpenDocumentFile(const std::string& path);

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    CDocManager& GetDocManager() { return m_docManager; }
    WxProfileStore& GetProfile() { return *m_profile; }
    const CRecentFileList& GetRecentFileList() const { return m_recentFiles; }

  private:
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int id);
    void OnAppAbout();
    void OnAppExit();
    void OnPathChanged();
    void UpdateRecentFileMenu();

    Options m_options;
    std::unique_ptr<WxProfileStore> m_profile;
    CRecentFileList m_recentFiles;
    int m_nPreviewPages = 0;
    CDocManager m_docManager;
    WxProgressUi m_progressUi;
    wxWeakRef<CMainFrame> m_pMainWnd;
};

}  // namespace ek
