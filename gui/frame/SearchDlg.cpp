#include "gui/frame/SearchDlg.h"

#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <array>

#include "gui/frame/MainFrame.h"
#include "gui/frame/SearchResultsCtrl.h"
#include "gui/platform/WxText.h"
#include "shell/DecodedView.h"
#include "shell/Strings.h"

namespace ek {

namespace {

using search::QueryStatus;
using search::SearchField;

// How long typing must pause before the query runs.
constexpr int kTypingPauseMs = 300;

struct FieldChoice {
    const char* label;
    SearchField field;
};
constexpr std::array<FieldChoice, 6> kFieldChoices = {{
    {"すべて", SearchField::All},
    {"題名", SearchField::Subject},
    {"差出人 (From)", SearchField::Sender},
    {"宛先 (To, Cc)", SearchField::Recipients},
    {"ヘッダ", SearchField::Header},
    {"本文", SearchField::Body},
}};

}  // namespace

CSearchDlg::CSearchDlg(CMainFrame& frame)
    : wxDialog(&frame, wxID_ANY, FromUtf8(str::kSearchCaption), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_frame(frame),
      m_typingTimer(this),
      m_canDecode(CanDecodeMessages()),
      m_run([this] { NoteProgress(); }) {
    m_query = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(320, -1),
                             wxTE_PROCESS_ENTER);
    m_field = new wxChoice(this, wxID_ANY);
    for (const FieldChoice& choice : kFieldChoices) {
        m_field->Append(FromUtf8(choice.label));
    }
    m_field->SetSelection(0);
    m_source = new wxStaticText(this, wxID_ANY, wxEmptyString);
    m_status = new wxStaticText(this, wxID_ANY, wxEmptyString);
    m_progress = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxSize(160, -1));
    m_progress->Hide();
    m_results = new CSearchResultsCtrl(frame, this);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(m_query, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    top->Add(m_field, 0, wxALIGN_CENTER_VERTICAL);
    auto* state = new wxBoxSizer(wxHORIZONTAL);
    state->Add(m_status, 1, wxALIGN_CENTER_VERTICAL);
    state->Add(m_progress, 0, wxALIGN_CENTER_VERTICAL);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(top, 0, wxEXPAND | wxALL, 6);
    sizer->Add(m_source, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    sizer->Add(state, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
    sizer->Add(m_results, 1, wxEXPAND | wxALL, 6);
    SetSizerAndFit(sizer);

    m_query->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { m_typingTimer.StartOnce(kTypingPauseMs); });
    m_query->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { StartSearch(); });
    m_field->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        if (!m_query->IsEmpty()) {
            StartSearch();
        }
    });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StartSearch(); });
    m_results->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) {
        m_frame.SelectMessage(m_results->MessageOfRow(event.GetIndex()));
    });
    m_results->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) {
        m_frame.OpenMessage(m_results->MessageOfRow(event.GetIndex()));
    });
    Bind(wxEVT_CLOSE_WINDOW, &CSearchDlg::OnClose, this);
    ShowSource();
    ShowState();
}

CSearchDlg::~CSearchDlg() {
    m_run.Clear();
    m_typingTimer.Stop();
}

void CSearchDlg::Open() {
    Show();
    Raise();
    m_query->SetFocus();
    m_query->SelectAll();
    // A search dropped when the window closed (or the mailbox changed) runs again.
    if (!m_run.Running() && !m_run.Finished() && !m_query->IsEmpty()) {
        StartSearch();
    }
}

void CSearchDlg::OnDocumentChanging() {
    m_run.Clear();
    m_documentChanging = true;
}

void CSearchDlg::OnInitialUpdate() {
    m_documentChanging = false;
    m_run.Clear();
    m_searched = false;
    m_resultsShown = 0;
    m_results->SetResults({});
    if (IsShown() && !m_query->IsEmpty()) {
        StartSearch();
    }
    ShowState();
}

void CSearchDlg::OnDecodedViewChanged() {
    ShowSource();
    // Results of the other text no longer hold; a hidden window searches when opened.
    const bool searched = m_run.Running() || m_run.Finished();
    m_run.Clear();
    m_resultsShown = 0;
    m_results->SetResults({});
    if (IsShown() && searched && !m_query->IsEmpty()) {
        StartSearch();
    }
    ShowState();
}

void CSearchDlg::ShowSource() {
    m_searchesDecoded = m_canDecode && m_frame.IsDecodedView();
    const wxString source =
        FromUtf8(m_searchesDecoded ? str::kSearchDecodedText : str::kSearchStoredText);
    if (m_source->GetLabel() != source) {
        m_source->SetLabel(source);
    }
}

void CSearchDlg::StartSearch() {
    m_typingTimer.Stop();
    if (m_documentChanging) {
        return;  // the views' update runs the query on the new messages
    }
    ShowSource();
    const int choice = m_field->GetSelection();
    const SearchField field =
        kFieldChoices[choice >= 0 ? static_cast<std::size_t>(choice) : 0].field;
    const CEKViewDoc& doc = m_frame.GetDocManager().GetDocument();
    SearchRun::TextMaker makeText = [&doc]() -> std::unique_ptr<search::FieldTextProvider> {
        return std::make_unique<search::RawFieldText>(doc);
    };
    if (m_searchesDecoded) {
        makeText = [&doc] { return MakeDecodedFieldText(doc); };
    }
    m_run.Start(ToUtf8(m_query->GetValue()), field, makeText, SearchRun::Clock::now());
    m_searched = true;
    m_resultsShown = 0;
    m_results->SetResults({});
    ShowState();
}

std::vector<int> CSearchDlg::FinishedResults() const {
    return m_run.Finished() ? m_run.Results() : std::vector<int>{};
}

void CSearchDlg::NoteProgress() {
    if (!m_progressNoted.exchange(true)) {
        CallAfter(&CSearchDlg::CollectProgress);
    }
}

void CSearchDlg::CollectProgress() {
    m_progressNoted = false;
    if (m_run.Collect()) {
        ShowState();
    }
}

void CSearchDlg::ShowState() {
    const std::vector<int>& results = m_run.Results();
    if (results.size() != m_resultsShown) {
        m_resultsShown = results.size();
        m_results->SetResults(results);
    }
    const wxString status = StatusText();
    if (m_status->GetLabel() != status) {
        m_status->SetLabel(status);
    }
    const bool progress = m_run.ShowsProgress(SearchRun::Clock::now());
    if (progress) {
        m_progress->SetValue(m_run.Percent());
    }
    if (m_progress->IsShown() != progress) {
        m_progress->Show(progress);
        Layout();
    }
}

wxString CSearchDlg::StatusText() const {
    switch (m_run.Status()) {
        case QueryStatus::Ok:
            break;
        case QueryStatus::Empty:
            return m_searched ? FromUtf8(str::kSearchEmpty) : wxString();
        case QueryStatus::NotUtf8:
            return FromUtf8(str::kSearchNotText);
        case QueryStatus::Unspellable:
            return FromUtf8(str::kSearchUnspellable);
    }
    wxString count = wxString::Format(FromUtf8(str::kSearchCount), m_run.Results().size());
    if (m_run.Running()) {
        count += FromUtf8(str::kSearchRunning);
    }
    return count;
}

void CSearchDlg::OnClose(wxCloseEvent& event) {
    // The window stays for the next search; a search under way stops with it.
    if (event.CanVeto()) {
        if (m_run.Running()) {
            m_run.Clear();
            m_resultsShown = 0;
            m_results->SetResults({});
        }
        m_typingTimer.Stop();
        Hide();
        return;
    }
    event.Skip();
}

}  // namespace ek
