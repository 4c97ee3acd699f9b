// Message boxes go through one replaceable function, so that tests answer them
// instead of a person.
#pragma once

#include <string>

class wxWindow;

namespace ek {

enum class MessageIcon { Stop, Warning, Information };

class MessageBoxUi {
  public:
    virtual ~MessageBoxUi() = default;
    // Shows a modal box with an OK button; `text` and `caption` are UTF-8.
    virtual void Show(wxWindow* parent, const std::string& text, const std::string& caption,
                      MessageIcon icon) = 0;
};

// Shows the box with the program's title as caption, through the installed
// MessageBoxUi (a wxMessageBox by default).
void AfxMessageBox(wxWindow* parent, const std::string& text, MessageIcon icon);

// Installs `ui` for the lifetime of the object; the previous one comes back after.
class ScopedMessageBoxUi {
  public:
    explicit ScopedMessageBoxUi(MessageBoxUi& ui);
    ~ScopedMessageBoxUi();
    ScopedMessageBoxUi(const ScopedMessageBoxUi&) = delete;
    ScopedMessageBoxUi& operator=(const ScopedMessageBoxUi&) = delete;

  private:
    MessageBoxUi* m_previous;
};

}  // namespace ek
