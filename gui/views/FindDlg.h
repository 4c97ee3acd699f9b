// The modeless find window of the text pane: the text to find, 次を検索 (Enter or
// F3) and 前を検索 (Shift+F3). A window of its own, so that the frame's one-letter
// accelerators (N, P, T) type into the field instead of stepping the mail.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>

class wxTextCtrl;

namespace ek {

inline constexpr int IDC_FIND_WHAT = 1010;
inline constexpr int IDC_FIND_NEXT = 1011;
inline constexpr int IDC_FIND_PREVIOUS = 1012;

class CFindDlg : public wxDialog {
  public:
    // `find` gets the text (UTF-8) and true for the next match, false for the previous.
    using FindHandler = std::function<void(const std::string& what, bool forward)>;

    CFindDlg(wxWindow* parent, FindHandler find);

    // Brings the window up with its text selected, ready for a new one.
    void Open();
    std::string GetFindWhat() const;
    void SetFindWhat(const std::string& utf8);
    wxTextCtrl* GetFindWhatCtrl() const { return m_what; }

  private:
    void Find(bool forward);

    wxTextCtrl* m_what = nullptr;
    FindHandler m_find;
};

}  // namespace ek
