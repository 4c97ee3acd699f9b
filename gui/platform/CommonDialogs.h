// The system's font and colour dialogs go through replaceable choosers, so that
// tests answer them instead of a person.
#pragma once

#include <wx/colour.h>
#include <wx/font.h>

#include <optional>
#include <string>

class wxWindow;

namespace ek {

class CommonDialogsUi {
  public:
    virtual ~CommonDialogsUi() = default;
    // The font the user chose, starting from `initial`; nothing on Cancel.
    virtual std::optional<wxFont> ChooseFont(wxWindow* parent, const wxFont& initial) = 0;
    // The colour the user chose, starting from `initial`; nothing on Cancel.
    virtual std::optional<wxColour> ChooseColour(wxWindow* parent, const wxColour& initial) = 0;
    // The folder (UTF-8 path) the user chose, starting in `initial`; nothing on Cancel.
    virtual std::optional<std::string> ChooseFolder(wxWindow* parent, const std::string& initial);
};

// The installed choosers: wxFontDialog and wxColourDialog by default.
CommonDialogsUi& GetCommonDialogs();

// Installs `ui` for the lifetime of the object; the previous one comes back after.
class ScopedCommonDialogsUi {
  public:
    explicit ScopedCommonDialogsUi(CommonDialogsUi& ui);
    ~ScopedCommonDialogsUi();
    ScopedCommonDialogsUi(const ScopedCommonDialogsUi&) = delete;
    ScopedCommonDialogsUi& operator=(const ScopedCommonDialogsUi&) = delete;

  private:
    CommonDialogsUi* m_previous;
};

}  // namespace ek
