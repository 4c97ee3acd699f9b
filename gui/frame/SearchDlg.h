// The search window: a modeless window over the main frame with the query, the
// field, the count and the matching messages in the subject list's columns. The
// search runs on worker threads, whose results come back through the event queue,
// so the window only paints; a new query stops the one under way. Choosing a result
// makes it the current message; Enter or a double click shows it.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <atomic>
#include <vector>

#include "core/document/MailSearch.h"
#include "core/frame/SearchRun.h"
#include "shell/DocManager.h"

class wxChoice;
class wxGauge;
class wxStaticText;
class wxTextCtrl;

namespace ek {

class CMainFrame;
class CSearchResultsCtrl;

class CSearchDlg : public wxDialog, public CView {
  public:
    explicit CSearchDlg(CMainFrame& frame);
    ~CSearchDlg() override;

    // Another mailbox was opened: the results belonged to the last one, so the
    // query runs again on the new messages.
    void OnInitialUpdate() override;
    // The mailbox is read again or closed: the search under way stops first.
    void OnDocumentChanging() override;

    // Shows the window with the focus in the query.
    void Open();
    // Starts the query as typed now (Enter).
    void StartSearch();
    // The decoded view was switched: the text searched and the rows' text follow it.
    void OnDecodedViewChanged();

    const SearchRun& Run() const { return m_run; }
    // The results of the last search that looked at every message; empty while one runs.
    std::vector<int> FinishedResults() const;
    wxTextCtrl* QueryCtrl() const { return m_query; }
    wxChoice* FieldCtrl() const { return m_field; }
    CSearchResultsCtrl* ResultsCtrl() const { return m_results; }
    wxString StatusText() const;
    // True when the search looks at the decoded text.
    bool SearchesDecoded() const { return m_searchesDecoded; }
    wxStaticText* SourceCtrl() const { return m_source; }

  private:
    // Called by a worker: asks for one collection on the window's thread.
    void NoteProgress();
    void CollectProgress();
    void OnClose(wxCloseEvent& event);
    void ShowState();
    void ShowSource();

    CMainFrame& m_frame;
    wxTextCtrl* m_query = nullptr;
    wxChoice* m_field = nullptr;
    wxStaticText* m_source = nullptr;
    wxStaticText* m_status = nullptr;
    wxGauge* m_progress = nullptr;
    CSearchResultsCtrl* m_results = nullptr;
    // Waits for a pause in typing before the query runs.
    wxTimer m_typingTimer;
    // The build has the MIME layer, so the decoded text can be searched.
    const bool m_canDecode;
    bool m_searchesDecoded = false;
    // A collection was asked for and has not run yet.
    std::atomic<bool> m_progressNoted{false};
    // Between the document's change and the views' update nothing is searched.
    bool m_documentChanging = false;
    SearchRun m_run;
    std::size_t m_resultsShown = 0;
    // A query was started since the window was made or the mailbox changed.
    bool m_searched = false;
};

}  // namespace ek
