#include "gui/app/AboutDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "gui/platform/WxFonts.h"
#include "gui/platform/WxText.h"
#include "gui/res/Images.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

// Dialog resource 100: 191 x 59 dialog units, "ＭＳ Ｐゴシック" 9 points.
CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, IDD_ABOUTBOX, FromUtf8(str::kAboutCaption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    SetFont(MakePointFont(90, str::kDialogFace));
    SetClientSize(ConvertDialogToPixels(wxSize(191, 59)));
    new wxStaticBitmap(this, wxID_ANY, wxBitmap(AppIcon()), ConvertDialogToPixels(wxPoint(11, 17)));
    // Sized to its text: the stand-in face may be wider than the one the layout had.
    new wxStaticText(this, wxID_STATIC, FromUtf8(str::kAboutVersion),
                     ConvertDialogToPixels(wxPoint(40, 10)));
    auto* ok =
        new wxButton(this, wxID_OK, FromUtf8(str::kOk), ConvertDialogToPixels(wxPoint(132, 6)),
                     ConvertDialogToPixels(wxSize(50, 14)));
    ok->SetDefault();
    ok->SetFocus();
    CentreOnParent();
}

}  // namespace ek
