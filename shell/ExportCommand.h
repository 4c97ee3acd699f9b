// The viewer's export command apart from its windows: the choice of format and
// scope, the target, the confirmation to replace, the export under the progress
// dialog, and the message that ends it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/document/Export.h"

namespace ek {

class CEKViewDoc;
class ProgressUi;

enum class ExportScope { All, Current, SearchResults };

struct ExportChoice {
    ExportFormat format = ExportFormat::Mbox;
    ExportScope scope = ExportScope::All;
};

// The dialogs as the command sees them; tests answer them instead of a person.
class ExportDialogUi {
  public:
    virtual ~ExportDialogUi() = default;
    // Format and scope; nothing on Cancel. Scopes that are not offered cannot be chosen.
    virtual std::optional<ExportChoice> ChooseOptions(bool offerCurrent, bool offerSearch) = 0;
    // The mbox file to write or the folder for the .eml files; nothing on Cancel.
    virtual std::optional<std::string> ChooseTarget(ExportFormat format) = 0;
    // A yes/no question (UTF-8); true for yes.
    virtual bool Confirm(const std::string& question) = 0;
    virtual void ShowMessage(const std::string& text, bool error) = 0;
};

// The progress dialog is shown for more messages than this.
inline constexpr int kExportProgressThreshold = 300;

// Runs the command on `doc`; `searchResults` holds the indexes of the open search
// window's results, or nothing when no search window is open.
ExportResult RunExportCommand(const CEKViewDoc& doc, ProgressUi* progressUi,
                              const std::optional<std::vector<int>>& searchResults,
                              ExportDialogUi& ui);

}  // namespace ek
