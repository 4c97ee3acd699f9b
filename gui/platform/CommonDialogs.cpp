#include "gui/platform/CommonDialogs.h"
#include "gui/platform/WxText.h"

#include <wx/colordlg.h>
#include <wx/dirdlg.h>
#include <wx/fontdlg.h>

#ifdef __WXGTK__
#include <glib-object.h>
#endif

namespace ek {

std::optional<std::string> CommonDialogsUi::ChooseFolder(wxWindow* parent,
                                                         const std::string& initial) {
    wxDirDialog dialog(parent, FromUtf8("保存先のフォルダ"), FromUtf8(initial),
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return ToUtf8(dialog.GetPath());
}

namespace {

// wxWidgets on GTK makes the chosen font in whole points (10.5 comes back as 11); the
// chooser itself still holds the size as the user chose it.
void TakeChosenSize([[maybe_unused]] wxFontDialog& dialog, [[maybe_unused]] wxFont& font) {
#ifdef __WXGTK__
    gchar* description = nullptr;
    g_object_get(G_OBJECT(dialog.GetHandle()), "font", &description, nullptr);
    if (description == nullptr) {
        return;
    }
    const wxFont chosen(FromUtf8(description));
    g_free(description);
    if (chosen.IsOk() && chosen.GetFractionalPointSize() > 0) {
        font.SetFractionalPointSize(chosen.GetFractionalPointSize());
    }
#endif
}

class WxCommonDialogsUi : public CommonDialogsUi {
  public:
    std::optional<wxFont> ChooseFont(wxWindow* parent, const wxFont& initial) override {
        wxFontData data;
        data.SetInitialFont(initial);
        data.EnableEffects(true);
        wxFontDialog dialog(parent, data);
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        wxFont font = dialog.GetFontData().GetChosenFont();
        if (font.IsOk()) {
            TakeChosenSize(dialog, font);
        }
        return font;
    }

    std::optional<wxColour> ChooseColour(wxWindow* parent, const wxColour& initial) override {
        wxColourData data;
        data.SetColour(initial);
        wxColourDialog dialog(parent, &data);
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return dialog.GetColourData().GetColour();
    }
};

WxCommonDialogsUi g_defaultUi;
CommonDialogsUi* g_ui = &g_defaultUi;

}  // namespace

CommonDialogsUi& GetCommonDialogs() {
    return *g_ui;
}

ScopedCommonDialogsUi::ScopedCommonDialogsUi(CommonDialogsUi& ui) : m_previous(g_ui) {
    g_ui = &ui;
}

ScopedCommonDialogsUi::~ScopedCommonDialogsUi() {
    g_ui = m_previous;
}

}  // namespace ek
