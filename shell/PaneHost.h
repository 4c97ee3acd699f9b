// What a pane uses of the window that holds it: the profile, the document, commands
// posted to the frame, the status bar and the parent for its dialogs. The panes see
// only this, so that the frame may know the panes without the panes knowing the frame.
#pragma once

#include <string>

class wxImageList;
class wxWindow;

namespace ek {

class CDocManager;
class ProfileStore;

class PaneHost {
  public:
    virtual ~PaneHost() = default;

    virtual ProfileStore& GetProfile() = 0;
    virtual CDocManager& GetDocManager() = 0;
    // Posts a menu command, as a click on its item would.
    virtual void PostCommand(int id) = 0;
    // Switches between the current list and the text pane at once.
    virtual void OnToggleContent() = 0;
    virtual bool IsListShown() const = 0;
    // The lists show their rows decoded (the text pane's decoded view is on).
    virtual bool IsDecodedView() const = 0;
    // The small images of the lists' rows (the paper clip).
    virtual wxImageList* GetListImages() = 0;
    // The parent of a pane's dialogs; for a message box, null while the window is hidden.
    virtual wxWindow* GetDialogParent() = 0;
    virtual wxWindow* GetMessageBoxParent() = 0;
    // The prompt in the status bar's first field, where there is a status bar.
    virtual void SetStatusPrompt(const std::string& utf8) = 0;
};

}  // namespace ek
