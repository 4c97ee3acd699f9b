#include "gui/app/EKViewApp.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>

#include <cstdio>

#include "core/platform/PathNames.h"
#include "gui/app/AboutDlg.h"
#include "gui/platform/FileDropTarget.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/WxText.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

namespace {

std::optional<std::string> ShowOpenDialog(wxWindow* parent) {
    wxFileDialog dialog(parent, FromUtf8("開く"), wxString(), wxString(),
                        FromUtf8("すべてのﾌｧｲﾙ (*.*)|*"), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return FileNameBytes(dialog.GetPath());
}

std::string CurrentDirectory() {
    return ToUtf8(wxGetCwd());
}

}  // namespace

CEKViewApp::CEKViewApp(Options options)
    : m_options(std::move(options)),
      m_recentFiles(settings::kRecentFileCount),
      m_progressUi([this]() -> wxWindow* { return m_pMainWnd.get(); }) {
    if (!m_options.chooseFile) {
        m_options.chooseFile = ShowOpenDialog;
    }
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + settings::kRecentFileCount - 1,
                    [this](int id) { OnOpenRecentFile(id); });
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + settings::kRecentFileCount - 1,
                   [this](CCmdUI& cmdUI) {
                       auto index = static_cast<std::size_t>(cmdUI.GetID() - ID_FILE_MRU_FILE1);
                       cmdUI.Enable(!m_recentFiles[index].empty());
                   });
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    m_docManager.SetPathChangedHandler([this] { OnPathChanged(); });
}

CEKViewApp::~CEKViewApp() {
    // A frame still waiting for its deletion goes now, before the document it shows.
    if (CMainFrame* frame = m_pMainWnd.get()) {
        wxPendingDelete.DeleteObject(frame);
        delete frame;
    }
}

bool CEKViewApp::InitInstance(const CommandLineInfo& commandLine) {
    m_profile = std::make_unique<WxProfileStore>(m_options.profilePath);
    m_recentFiles.ReadList(*m_profile);
    m_nPreviewPages = settings::Read(*m_profile, settings::kPreviewPages);
    m_docManager.GetDocument().SetProgressUi(&m_progressUi);

    auto* frame = new CMainFrame({m_docManager, *m_profile, this, m_options.panes});
    m_pMainWnd = frame;
    if (!frame->Create()) {
        delete frame;
        return false;
    }
    UpdateRecentFileMenu();
    // A file dropped onto the window opens as if chosen in the File menu.
    frame->SetDropTarget(new CFileDropTarget(
        *frame,
        [frame] {
            return frame->QueryCommand(ID_FILE_OPEN).IsEnabled() && !WxProgressUi::IsAnyWindowUp();
        },
        [this](const std::string& path) { OpenDocumentFile(path); }));
    if (!commandLine.fileName.empty()) {
        if (!OpenDocumentFile(commandLine.fileName)) {
            delete frame;
            return false;
        }
    } else {
        OnFileNew();
    }
    frame->Show();
    frame->Update();
    frame->CreatePanes();
    return true;
}

void CEKViewApp::ExitInstance() {
    if (m_profile == nullptr) {
        return;
    }
    m_recentFiles.WriteList(*m_profile);
    if (m_nPreviewPages != 0) {
        settings::Write(*m_profile, settings::kPreviewPages, m_nPreviewPages);
    }
    if (!m_profile->Flush()) {
        std::fprintf(stderr, "ekview: cannot save the settings to %s\n",
                     m_profile->GetPath().c_str());
    }
}

bool CEKViewApp::OpenDocumentFile(const std::string& path) {
    ReadResult result = m_docManager.OpenDocumentFile(path);
    if (!result) {
        char text[4096];
        std::snprintf(text, sizeof text, str::kOpenFailed, pathname::ForDisplay(path).c_str());
        std::string message = text;
        if (!result.reason.empty()) {
            message += "\n" + result.reason;
        }
        CMainFrame* frame = GetMainFrame();
        AfxMessageBox(frame != nullptr && frame->IsShown() ? frame : nullptr, message,
                      MessageIcon::Stop);
        return false;
    }
    return true;
}

void CEKViewApp::OnPathChanged() {
    const std::string& path = m_docManager.GetDocument().GetPathName();
    if (!path.empty()) {
        m_recentFiles.Add(path);
        UpdateRecentFileMenu();
    }
    if (CMainFrame* frame = GetMainFrame()) {
        frame->OnUpdateFrameTitle();
    }
}

void CEKViewApp::UpdateRecentFileMenu() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr) {
        return;
    }
    std::string cwd = CurrentDirectory();
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < m_recentFiles.GetSize(); ++i) {
        texts.push_back(m_recentFiles.GetMenuText(i, cwd));
    }
    frame->UpdateRecentFileMenu(texts);
}

void CEKViewApp::OnFileNew() {
    m_docManager.NewDocument();
}

void CEKViewApp::OnFileOpen() {
    std::optional<std::string> path = m_options.chooseFile(GetMainFrame());
    if (path) {
        OpenDocumentFile(*path);
    }
}

void CEKViewApp::OnOpenRecentFile(int id) {
    auto index = static_cast<std::size_t>(id - ID_FILE_MRU_FILE1);
    std::string path = m_recentFiles[index];
    if (path.empty()) {
        return;
    }
    if (!OpenDocumentFile(path)) {
        m_recentFiles.Remove(index);
        UpdateRecentFileMenu();
    }
}

void CEKViewApp::OnAppAbout() {
    CAboutDlg dialog(GetMainFrame());
    dialog.ShowModal();
}

void CEKViewApp::OnAppExit() {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->Close();
    }
}

}  // namespace ek
