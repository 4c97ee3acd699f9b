// The export command's dialogs on wxWidgets: format and scope, the save or folder
// dialog, the yes/no question and the closing message box.
#pragma once

#include <functional>
#include <string>

#include "shell/ExportCommand.h"

class wxWindow;

namespace ek {

class WxExportDialogUi : public ExportDialogUi {
  public:
    // `parent` gives the window the dialogs belong to; `mailboxPath` the open file,
    // whose folder and name the target dialogs suggest.
    WxExportDialogUi(std::function<wxWindow*()> parent, std::function<std::string()> mailboxPath)
        : m_parent(std::move(parent)), m_mailboxPath(std::move(mailboxPath)) {}

    std::optional<ExportChoice> ChooseOptions(bool offerCurrent, bool offerSearch) override;
    std::optional<std::string> ChooseTarget(ExportFormat format) override;
    bool Confirm(const std::string& question) override;
    void ShowMessage(const std::string& text, bool error) override;

  private:
    std::function<wxWindow*()> m_parent;
    std::function<std::string()> m_mailboxPath;
};

}  // namespace ek
