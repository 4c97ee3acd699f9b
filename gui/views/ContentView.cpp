#include "gui/views/ContentView.h"

#include <wx/settings.h>
#include <wx/stc/stc.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/platform/ProgressDlg.h"
#include "core/views/ContentFormat.h"
#include "core/views/ContentKeys.h"
#include "core/views/FindText.h"
#include "core/views/RenderMessage.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxColour.h"
#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "gui/res/Menus.h"
#include "gui/views/FindDlg.h"
#include "shell/DecodedView.h"
#include "shell/DocManager.h"
#include "shell/PaneHost.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

namespace {

constexpr const char* kFormattingMail = "メール整形中...";

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

// Scintilla's code for a key of the accelerator table; 0 for a key it never binds.
int ScintillaKey(int keyCode) {
    switch (keyCode) {
        case WXK_INSERT:
            return wxSTC_KEY_INSERT;
        case WXK_DELETE:
            return wxSTC_KEY_DELETE;
        case WXK_BACK:
            return wxSTC_KEY_BACK;
        case WXK_UP:
            return wxSTC_KEY_UP;
        case WXK_DOWN:
            return wxSTC_KEY_DOWN;
        default:
            return keyCode >= 'A' && keyCode <= 'Z' ? keyCode : 0;
    }
}

int ScintillaModifiers(int accelFlags) {
    return ((accelFlags & wxACCEL_CTRL) != 0 ? wxSTC_KEYMOD_CTRL : 0) |
           ((accelFlags & wxACCEL_ALT) != 0 ? wxSTC_KEYMOD_ALT : 0) |
           ((accelFlags & wxACCEL_SHIFT) != 0 ? wxSTC_KEYMOD_SHIFT : 0);
}

// Where the view jumps far past the styled text, the stretch in between is left
// for later; a shorter one is styled on the way.
constexpr std::size_t kStyleSlack = 64 * 1024;

// A font of `twips` (1/20 point) in `face` or its installed stand-in.
wxFont MakeTextFont(int twips, const std::string& face) {
    return wxFont(wxFontInfo(twips / 20.0).FaceName(FromUtf8(ResolveFaceName(face))));
}

}  // namespace

CEKContentView::CEKContentView(PaneHost& host, wxWindow* parent)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE),
      m_host(host) {
    m_wndText = new wxStyledTextCtrl(this, kTextCtrlId);
    SetUpControl();

    ProfileStore& profile = m_host.GetProfile();
    settings::FontSpec font = settings::LoadFont(profile, settings::kCFont);
    m_cf.szFaceName = font.face;
    m_cf.yHeight = font.size;
    UseFont();
    ApplyStyles();
    m_bAllHeaders = settings::Read(profile, settings::kHeader);
    m_bDecode = settings::Read(profile, settings::kDecode) != 0;

    Bind(wxEVT_SIZE, &CEKContentView::OnSize, this);
    m_wndText->Bind(wxEVT_KEY_DOWN, &CEKContentView::OnTextKeyDown, this);
    m_wndText->Bind(wxEVT_CHAR, &CEKContentView::OnTextChar, this);
    m_wndText->Bind(wxEVT_STC_STYLENEEDED, &CEKContentView::OnStyleNeeded, this);
    m_wndText->Bind(wxEVT_PAINT, &CEKContentView::OnTextPaint, this);

    MapCommand(ID_EDIT_COPY, [this] { m_wndText->Copy(); });
    MapUpdate(ID_EDIT_COPY, [this](CCmdUI& cmdUI) {
        cmdUI.Enable(m_wndText->GetSelectionStart() != m_wndText->GetSelectionEnd());
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
    MapCommand(ID_EDIT_FIND, [this] { OpenFind(); });
    for (bool forward : {true, false}) {
        MapCommand(forward ? ID_EDIT_REPEAT : ID_EDIT_FIND_PREVIOUS, [this, forward] {
            if (m_findDlg == nullptr || m_findDlg->GetFindWhat().empty()) {
                OpenFind();
            } else {
                FindInMessage(m_findDlg->GetFindWhat(), forward);
            }
        });
    }
    // The find window belongs to the text on display.
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (!event.IsShown() && m_findDlg != nullptr) {
            m_findDlg->Hide();
        }
    });
}

void CEKContentView::SetUpControl() {
    wxStyledTextCtrl& text = *m_wndText;
    SetUpDocument();
    text.SetModEventMask(0);
    text.SetWrapMode(wxSTC_WRAP_NONE);
    text.SetUseHorizontalScrollBar(true);
    text.SetUseVerticalScrollBar(true);
    // The width of the lines painted so far, never a layout of every line.
    text.SetScrollWidthTracking(true);
    text.SetScrollWidth(1);
    for (int margin = 0; margin < text.GetMarginCount(); ++margin) {
        text.SetMarginWidth(margin, 0);
    }
    text.UsePopUp(wxSTC_POPUP_NEVER);
    // Files dropped on the text go to the frame, which opens them.
    text.SetDropTarget(nullptr);
    // The frame's accelerators and the reading keys are the pane's; copy stays.
    for (const wxAcceleratorEntry& entry : MainAccelerators()) {
        const int key = ScintillaKey(entry.GetKeyCode());
        if (key != 0 && CommandId(entry.GetCommand()) != ID_EDIT_COPY) {
            text.CmdKeyClear(key, ScintillaModifiers(entry.GetFlags()));
        }
    }
    text.CmdKeyClear(wxSTC_KEY_UP, wxSTC_KEYMOD_CTRL);
    text.CmdKeyClear(wxSTC_KEY_DOWN, wxSTC_KEYMOD_CTRL);
    // The text's size is the font's, which the font dialog sets and the profile
    // keeps: no zoom by keys or by Ctrl and the wheel.
    for (int key : {wxSTC_KEY_ADD, wxSTC_KEY_SUBTRACT, wxSTC_KEY_DIVIDE}) {
        text.CmdKeyClear(key, wxSTC_KEYMOD_CTRL);
    }
    text.Bind(wxEVT_MOUSEWHEEL, [](wxMouseEvent& event) {
        if (!event.ControlDown()) {
            event.Skip();
        }
    });
}

void CEKContentView::SetUpDocument() {
    wxStyledTextCtrl& text = *m_wndText;
    // Styles come from the pane as the control paints; nothing else styles.
    text.SetLexer(wxSTC_LEX_CONTAINER);
    text.SetCodePage(wxSTC_CP_UTF8);
    // A viewer keeps no undo: it would hold a copy of every text replaced.
    text.SetUndoCollection(false);
    text.SetReadOnly(true);
}

CEKContentView::~CEKContentView() {
    SaveSettings();
}

CEKViewDoc& CEKContentView::Doc() const {
    return m_host.GetDocManager().GetDocument();
}

void CEKContentView::SetQuoteSettings(const QuoteSettings& settings) {
    m_clrQuote = settings.quoteColor;
    m_clrMail = settings.mailColor;
    m_clrUrl = settings.httpColor;
    m_strQuote = settings.quote;
}

void CEKContentView::UseFont() {
    m_font = MakeTextFont(m_cf.yHeight, m_cf.szFaceName);
}

void CEKContentView::ApplyFont() {
    wxStyledTextCtrl& text = *m_wndText;
    text.StyleSetFont(wxSTC_STYLE_DEFAULT, m_font);
    for (int style = 0; style < kRunStyleCount; ++style) {
        // The font brings its own weight; bold is the style's.
        text.StyleSetFont(style, m_font);
        text.StyleSetBold(style, IsBoldStyle(style));
    }
}

void CEKContentView::ApplyStyles() {
    wxStyledTextCtrl& text = *m_wndText;
    const wxColour plain = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    text.StyleSetForeground(wxSTC_STYLE_DEFAULT, plain);
    text.StyleSetBackground(wxSTC_STYLE_DEFAULT, wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    text.StyleClearAll();
    ApplyFont();
    for (int style = 0; style < kRunStyleCount; ++style) {
        wxColour colour = plain;
        switch (ColourOfStyle(style)) {
            case RunColour::Url:
                colour = ToColour(m_clrUrl);
                break;
            case RunColour::Mail:
                colour = ToColour(m_clrMail);
                break;
            case RunColour::Quote:
                colour = ToColour(m_clrQuote);
                break;
            case RunColour::Note:
                colour = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
                break;
            case RunColour::None:
                break;
        }
        text.StyleSetForeground(style, colour);
    }
}

void CEKContentView::ShowMessage(int index) {
    CEKViewDoc& doc = Doc();
    RenderOptions options{m_bAllHeaders != 0, m_strQuote, {}};
    if (m_bDecode) {
        options.decode = GetDecodedLines;
    }
    // Views of the document's lines, or of the decoded ones: no line is copied but
    // into the text the pane keeps.
    std::optional<RenderedMessage> message = RenderMessage(doc, index, options);
    if (!message) {
        return;
    }

    // The decoded view has its lines from the MIME layer in one call and shows no
    // progress dialog; the stored view shows it for more than 300 lines.
    const std::vector<std::string_view>& lines = message->lines;
    const std::size_t count = lines.size();
    CProgressDlg progress(doc.GetProgressUi());
    if (!m_bDecode && count > kProgressLines) {
        progress.Create();
        progress.SetWindowText(kFormattingMail);
    }
    // Joining the lines is the whole of the work: each is decoded for the control as
    // it is appended, and styled only when the control paints it.
    m_text.Begin(message->coding, message->TextSize(), count);
    // The dialog is told each position once: telling it again shows nothing new, and
    // each telling dispatches the pending events, which would cost more than a line.
    int shownPosition = -1;
    for (std::size_t i = 0; i < count; ++i) {
        m_text.AppendLine(lines[i]);
        const int position = static_cast<int>(100 * i / count);
        if (position != shownPosition && progress.HasWindow()) {
            progress.SetPosition(position);
            shownPosition = position;
        }
    }
    m_text.Finish(message->note, message->quoteMarks);
    message.reset();

    wxWindowUpdateLocker noPainting(m_wndText);
    ApplyStyles();
    m_unstyled.Clear();
    PlaceText(m_text.Shown());
    m_text.ReleaseShown();
    m_wndText->SetEmptySelection(0);
    m_wndText->SetFirstVisibleLine(0);
    m_wndText->SetXOffset(0);
    m_wndText->Refresh();
}

void CEKContentView::PlaceText(std::string_view utf8) {
    wxStyledTextCtrl& text = *m_wndText;
    // A new document for each message: the old one goes whole, where deleting its text
    // would take its lines out one by one. The control keeps the only reference.
    void* document = text.CreateDocument();
    text.SetDocPointer(document);
    text.ReleaseDocument(document);
    SetUpDocument();
    text.SetReadOnly(false);
    // Room for the text and its styles at once rather than growing as it goes in; the
    // text arrives unstyled and the paint asks for what it shows.
    text.Allocate(static_cast<int>(utf8.size()) + 1);
    text.AppendTextRaw(utf8.data(), static_cast<int>(utf8.size()));
    text.SetReadOnly(true);
}

void CEKContentView::StyleRange(std::size_t from, std::size_t to) {
    if (from >= to) {
        return;
    }
    m_unstyled.Take(from, to);
    m_wndText->StartStyling(static_cast<int>(from));
    for (const StyleSpan& span : m_text.StylesInRange(from, to)) {
        m_wndText->SetStyling(static_cast<int>(span.end - span.start), span.style);
    }
}

void CEKContentView::OnStyleNeeded(wxStyledTextEvent& event) {
    wxStyledTextCtrl& text = *m_wndText;
    const auto end = static_cast<std::size_t>(std::max(event.GetPosition(), 0));
    auto from =
        static_cast<std::size_t>(text.PositionFromLine(text.LineFromPosition(text.GetEndStyled())));
    const auto top = static_cast<std::size_t>(text.PositionFromLine(text.GetFirstVisibleLine()));
    const std::size_t skipTo = std::min(end, top);
    if (skipTo > from + kStyleSlack) {
        m_unstyled.Add(from, skipTo);
        from = skipTo;
    }
    StyleRange(from, end);
}

void CEKContentView::OnTextPaint(wxPaintEvent& event) {
    event.Skip();
    if (m_unstyled.Empty()) {
        return;
    }
    // A stretch passed over comes into view: move the control's styled end back to
    // it, and the paint asks for it again.
    wxStyledTextCtrl& text = *m_wndText;
    const int first = text.GetFirstVisibleLine();
    const int last = first + text.LinesOnScreen() + 1;
    const auto top = static_cast<std::size_t>(text.PositionFromLine(first));
    const auto bottom = static_cast<std::size_t>(
        last < text.GetLineCount() ? text.PositionFromLine(last) : text.GetLength());
    const std::size_t unstyled = m_unstyled.FirstIn(top, bottom);
    if (unstyled < bottom && unstyled < static_cast<std::size_t>(text.GetEndStyled())) {
        text.StartStyling(static_cast<int>(unstyled));
    }
}

long CEKContentView::GetFirstVisibleLine() const {
    return m_wndText->GetFirstVisibleLine();
}

void CEKContentView::ScrollOneLine(int direction) {
    m_wndText->LineScroll(0, direction);
}

void CEKContentView::PageDown() {
    const long before = GetFirstVisibleLine();
    m_wndText->LineScroll(0, std::max(1, m_wndText->LinesOnScreen()));
    const long after = GetFirstVisibleLine();
    if (IsNextMessageDue(after != before, after, m_wndText->GetLineCount())) {
        // Posted, so that the update gate drops it after the last message.
        m_host.PostCommand(ID_MAIL_NEXT);
    }
}

void CEKContentView::OnTextKeyDown(wxKeyEvent& event) {
    switch (ActionForKey(ToReadingKey(event.GetKeyCode()), event.RawControlDown())) {
        case ReadingAction::ReturnToList:
            m_host.OnToggleContent();
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
    // A typing key is kept from the control on purpose: its input method scrolls the
    // caret back into view, and Space and J would not move the text. Keys with Ctrl
    // or Alt pass, for GTK opens a menu by its Alt+letter only from a press that no
    // window took.
    if (!IsTypingKey(static_cast<char32_t>(event.GetUnicodeKey()), event.RawControlDown(),
                     event.AltDown())) {
        event.Skip();
    }
}

void CEKContentView::OnTextChar(wxKeyEvent& event) {
    // A typed character is dropped on purpose: the text is the message's, and no
    // key may change it or move its caret. Arrows and the other keys without a
    // character must reach the control, or it stops scrolling with them; Alt+letter
    // is a menu's mnemonic, which GTK looks for only when no window took the key.
    if (!IsTypingKey(static_cast<char32_t>(event.GetUnicodeKey()), event.RawControlDown(),
                     event.AltDown())) {
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
    std::optional<wxFont> chosen = GetCommonDialogs().ChooseFont(m_host.GetDialogParent(), m_font);
    if (!chosen || !chosen->IsOk()) {
        return;
    }
    const int tenths = static_cast<int>(std::lround(chosen->GetFractionalPointSize() * 10));
    m_cf.yHeight =
        std::clamp(ChosenSizeToTwips(tenths), settings::kCFont.minSize, settings::kCFont.maxSize);
    m_cf.szFaceName =
        settings::CutUtf8FaceName(ToUtf8(chosen->GetFaceName()), settings::kCFont.maxFaceBytes);
    UseFont();
    // The styles carry the font: the text on display changes at once, selection and all.
    ApplyFont();
}

void CEKContentView::OpenFind() {
    if (m_findDlg == nullptr) {
        m_findDlg =
            new CFindDlg(m_host.GetDialogParent(), [this](const std::string& what, bool forward) {
                if (IsShown()) {
                    FindInMessage(what, forward);
                }
            });
    }
    m_findDlg->Open();
}

bool CEKContentView::FindInMessage(const std::string& what, bool forward) {
    wxStyledTextCtrl& text = *m_wndText;
    const std::string_view shown(text.GetCharacterPointer(),
                                 static_cast<std::size_t>(text.GetLength()));
    const std::optional<FoundText> found =
        forward ? FindNextText(shown, what, static_cast<std::size_t>(text.GetSelectionEnd()))
                : FindPreviousText(shown, what, static_cast<std::size_t>(text.GetSelectionStart()));
    if (!found) {
        SetStatus(str::kFindNotFound);
        return false;
    }
    text.SetSelection(static_cast<int>(found->start), static_cast<int>(found->end));
    text.ScrollRange(static_cast<int>(found->end), static_cast<int>(found->start));
    SetStatus(!found->wrapped ? str::kIdleMessage
              : forward       ? str::kFindWrappedToTop
                              : str::kFindWrappedToEnd);
    return true;
}

void CEKContentView::SetStatus(const char* utf8) {
    m_host.SetStatusPrompt(utf8);
}

void CEKContentView::SaveSettings() {
    ProfileStore& profile = m_host.GetProfile();
    settings::SaveFont(profile, settings::kCFont, {m_cf.yHeight, m_cf.szFaceName});
    settings::Write(profile, settings::kHeader, m_bAllHeaders);
    settings::Write(profile, settings::kDecode, m_bDecode ? 1 : 0);
}

void CEKContentView::SetDecoded(bool decoded) {
    m_bDecode = decoded;
    ShowMessage(Doc().m_nCurrent);
}

CContentPane* CreateContentView(PaneHost& host, wxWindow* parent) {
    return new CEKContentView(host, parent);
}

}  // namespace ek
