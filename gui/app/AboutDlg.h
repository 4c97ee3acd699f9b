// The about box: the icon, "EKView Version 1.51" and OK.
#pragma once

#include <wx/dialog.h>

namespace ek {

class CAboutDlg : public wxDialog {
  public:
    explicit CAboutDlg(wxWindow* parent);
};

}  // namespace ek
