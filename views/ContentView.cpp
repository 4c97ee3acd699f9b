#include "views/ContentView.h"

#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <cmath>

#include "frame/MainFrame.h"
#include "frame/ProgressDlg.h"
#include "platform/CommonDialogs.h"
#include "platform/Cp932Encode.h"
#include "platform/WxFonts.h"
#include "platform/WxText.h"
#include "res/Resource.h"
#include "views/ContentFormat.h"
#include "views/ContentKeys.h"
#include "views/DecodedView.h"
#include "views/FirstPart.h"

namespace ek {

namespace {

constexpr const char* kFormattingMail = "メール整形中...";

wxColour ToColour(settings::ColorRef color) {
    return wxColour(settings::RedOf(color), settings::GreenOf(color), settings::BlueOf(color));
}

ReadingKey ToReadingKey(int keyCode) {
    switch (keyCode) {
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            return ReadingKey::Enter;
        case WXK_SPACE:
        case WXK_NUMPAD_SPACE:
            return ReadingKey::Space;
        case WXK_UP:
        case WXK_NUMPAD_UP:
            return ReadingKey::Up;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN:
            return ReadingKey::Down;
        case 'K':
            return ReadingKey::K;
        case 'J':
            return ReadingKey::J;
        default:
            return ReadingKey::Other;
    }
}

// A font of `twips` (1/20 point) in `face` or its installed stand-in.
wxFont MakeTextFont(int twips, const std::string& face) {
    return wxFont(wxFontInfo(twips / 20.0).FaceName(FromUtf8(ResolveFaceName(face))));
}

}  // namespace

CEKContentView::CEKContentView(CMainFrame& frame, wxWindow* parent)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE),
      m_frame(frame) {
    m_wndText =
        new wxTextCtrl(this, kTextCtrlId, wxString(), wxDefaultPosition, wxDefaultSize,
                       wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2 | wxTE_DONTWRAP | wxHSCROLL);

    ProfileStore& profile = m_frame.GetProfile();
    settings::FontSpec font = settings::LoadFont(profile, settings::kCFont);
    m_cf.szFaceName = font.face;
    m_cf.yHeight = font.size;
    UseFont();
    m_wndText->SetFont(m_font);
    m_bAllHeaders = settings::Read(profile, settings::kHeader);
    m_bDecode = settings::Read(profile, settings::kDecode);

    Bind(wxEVT_SIZE, &CEKContentView::OnSize, this);
    m_wndText->Bind(wxEVT_KEY_DOWN, &CEKContentView::OnTextKeyDown, this);
    m_wndText->Bind(wxEVT_CHAR, &CEKContentView::OnTextChar, this);

    MapCommand(ID_EDIT_COPY, [this] { m_wndText->Copy(); });
    MapUpdate(ID_EDIT_COPY, [this](CCmdUI& cmdUI) {
        long from = 0;
        long to = 0;
        m_wndText->GetSelection(&from, &to);
        cmdUI.Enable(from != to);
    });
    MapCommand(ID_VIEW_ALLHEADER, [this] {
        m_bAllHeaders = m_bAllHeaders == 0 ? 1 : 0;
        ShowMessage(Doc().m_nCurrent);
    });
    MapUpdate(ID_VIEW_ALLHEADER, [this](CCmdUI& cmdUI) {
        cmdUI.Enable();
        cmdUI.SetCheck(m_bAllHeaders != 0 ? 1 : 0);
    });
    MapCommand(ID_VIEW_FONT, [this] { OnFont(); });
}

CEKContentView::~CEKContentView() {
    SaveSettings();
}

CEKViewDoc& CEKContentView::Doc() const {
    return m_frame.GetDocManager().GetDocument();
}

void CEKContentView::SetQuoteSettings(const QuoteSettings& settings) {
    m_clrQuote = settings.quoteColor;
    m_clrMail = settings.mailColor;
    m_clrUrl = settings.httpColor;
    m_strQuote = settings.quote;
}

void CEKContentView::UseFont() {
    m_font = MakeTextFont(m_cf.yHeight, m_cf.szFaceName);
    m_boldFont = m_font.Bold();
}

void CEKContentView::ShowMessage(int index) {
    CEKViewDoc& doc = Doc();
    ContentDisplay display;
    if (m_bDecode != 0 &&
        !PrepareDecodedMessage(doc, index, m_bAllHeaders != 0, m_strQuote, display)) {
        return;
    }
    std::vector<std::string> lines;
    if (m_bDecode == 0 && !doc.GetMessageLines(index, lines, m_bAllHeaders != 0)) {
        return;
    }
    const std::string delimiter = doc.GetBoundary(index);
    const bool note = !delimiter.empty() && CutToFirstPart(lines, delimiter);

    const std::size_t count = lines.size();
    CProgressDlg progress(doc.GetProgressUi());
    if (count > kProgressLines) {
        progress.Create();
        progress.SetWindowText(kFormattingMail);
    }
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size();
    }
    std::string joined;
    joined.reserve(total);
    for (std::size_t i = 0; i < count; ++i) {
        joined += lines[i];
        if (progress.HasWindow()) {
            progress.SetPosition(static_cast<int>(100 * i / count));
        }
    }

    if (m_bDecode == 0) {
        display = PrepareContentDisplay(lines, joined, note, cp932::FromUtf8(m_strQuote));
    }
    ScrollToStart();
    {
        wxWindowUpdateLocker noPainting(m_wndText);
        m_wndText->ChangeValue(wxString(display.text));
        m_runs = std::move(display.runs);
        ApplyRuns();
        m_wndText->SetSelection(0, 0);
    }
    m_wndText->ShowPosition(0);
    m_wndText->Refresh();
}

void CEKContentView::ApplyRuns() {
    const long length = m_wndText->GetLastPosition();
    const wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
    for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run) {
        const long start = static_cast<long>(run->start);
        const long end = std::min(static_cast<long>(run->end), length);
        if (start >= end) {
            continue;
        }
        wxTextAttr attr;
        switch (run->colour) {
            case RunColour::Url:
                attr.SetTextColour(ToColour(m_clrUrl));
                break;
            case RunColour::Mail:
                attr.SetTextColour(ToColour(m_clrMail));
                break;
            case RunColour::Quote:
                attr.SetTextColour(ToColour(m_clrQuote));
                break;
            case RunColour::Note:
                attr.SetTextColour(grey);
                break;
            case RunColour::None:
                break;
        }
        // A weight alone would fall back to the default face.
        if (run->bold) {
            attr.SetFont(m_boldFont);
        }
        m_wndText->SetStyle(start, end, attr);
    }
}

long CEKContentView::GetFirstVisibleLine() const {
    long position = 0;
    if (m_wndText->HitTest(wxPoint(1, 1), &position) == wxTE_HT_UNKNOWN) {
        return 0;
    }
    long column = 0;
    long line = 0;
    return m_wndText->PositionToXY(position, &column, &line) ? line : 0;
}

void CEKContentView::ScrollToStart() {
#ifdef __WXGTK__
    // GTK keeps the view's offset into a new text whose scroll range is clamped
    // under it: go to the top while the old text is still in place.
    m_wndText->SetScrollPos(wxVERTICAL, 0);
#endif
}

void CEKContentView::ScrollOneLine(int direction) {
#ifdef __WXGTK__
    // GTK's line step is a tenth of a page: move by the height of the line instead.
    const long first = GetFirstVisibleLine();
    const long target = first + direction;
    if (target < 0) {
        m_wndText->SetScrollPos(wxVERTICAL, 0);
        return;
    }
    if (target >= m_wndText->GetNumberOfLines()) {
        return;
    }
    const int from = m_wndText->PositionToCoords(m_wndText->XYToPosition(0, first)).y;
    const int to = m_wndText->PositionToCoords(m_wndText->XYToPosition(0, target)).y;
    m_wndText->SetScrollPos(wxVERTICAL, m_wndText->GetScrollPos(wxVERTICAL) + (to - from));
#else
    m_wndText->ScrollLines(direction);
#endif
}

void CEKContentView::PageDown() {
    const bool scrolled = m_wndText->ScrollPages(1);
    if (IsNextMessageDue(scrolled, GetFirstVisibleLine(), m_wndText->GetNumberOfLines())) {
        // Posted, so that the update gate drops it after the last message.
        m_frame.PostCommand(ID_MAIL_NEXT);
    }
}

void CEKContentView::OnTextKeyDown(wxKeyEvent& event) {
    switch (ActionForKey(ToReadingKey(event.GetKeyCode()), event.RawControlDown())) {
        case ReadingAction::ReturnToList:
            m_frame.OnToggleContent();
            break;
        case ReadingAction::PageDown:
            PageDown();
            break;
        case ReadingAction::LineUp:
            ScrollOneLine(-1);
            break;
        case ReadingAction::LineDown:
            ScrollOneLine(1);
            break;
        case ReadingAction::None:
            break;
    }
    // A typing key reaches the control's input method, which scrolls the caret back
    // into view: Space and J would not move the text.
    if (!IsTypingKey(static_cast<char32_t>(event.GetUnicodeKey()), event.RawControlDown(),
                     event.AltDown())) {
        event.Skip();
    }
}

void CEKContentView::OnTextChar(wxKeyEvent& event) {
    // Arrows and the other keys without a character must reach the control, or
    // it stops scrolling with them.
    if (!IsTypedCharacter(static_cast<char32_t>(event.GetUnicodeKey()))) {
        event.Skip();
    }
}

void CEKContentView::OnSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize size = GetClientSize();
    m_wndText->SetSize(kMargin, kMargin, std::max(0, size.x - 2 * kMargin),
                       std::max(0, size.y - 2 * kMargin));
}

void CEKContentView::OnFont() {
    std::optional<wxFont> chosen = GetCommonDialogs().ChooseFont(&m_frame, m_font);
    if (!chosen || !chosen->IsOk()) {
        return;
    }
    const int tenths = static_cast<int>(std::lround(chosen->GetFractionalPointSize() * 10));
    m_cf.yHeight =
        std::clamp(ChosenSizeToTwips(tenths), settings::kCFont.minSize, settings::kCFont.maxSize);
    m_cf.szFaceName =
        settings::CutUtf8FaceName(ToUtf8(chosen->GetFaceName()), settings::kCFont.maxFaceBytes);
    UseFont();

    long from = 0;
    long to = 0;
    m_wndText->GetSelection(&from, &to);
    wxWindowUpdateLocker noPainting(m_wndText);
    // A new font sets the text anew and drops its styles: the runs go on again.
    m_wndText->SetFont(m_font);
    ApplyRuns();
    m_wndText->SetSelection(from, to);
}

void CEKContentView::SaveSettings() {
    ProfileStore& profile = m_frame.GetProfile();
    settings::SaveFont(profile, settings::kCFont, {m_cf.yHeight, m_cf.szFaceName});
    settings::Write(profile, settings::kHeader, m_bAllHeaders);
    settings::Write(profile, settings::kDecode, m_bDecode);
}

void CEKContentView::SetDecoded(bool decoded) {
    m_bDecode = decoded ? 1 : 0;
    ShowMessage(Doc().m_nCurrent);
}

CContentPane* CreateContentView(CMainFrame& frame, wxWindow* parent) {
    return new CEKContentView(frame, parent);
}

}  // namespace ek
