#include "platform/CommonDialogs.h"

#include <wx/colordlg.h>
#include <wx/dirdlg.h>
#include <wx/fontdlg.h>

namespace ek {

std::optional<std::string> CommonDialogsUi::ChooseFolder(wxWindow* parent,
                                                         const std::string& initial) {
    wxDirDialog dialog(parent, wxString::FromUTF8("保存先のフォルダ"), wxString::FromUTF8(initial),
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return std::string(dialog.GetPath().utf8_str());
}

namespace {

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
        return dialog.GetFontData().GetChosenFont();
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
