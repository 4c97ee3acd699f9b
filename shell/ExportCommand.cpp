#include "shell/ExportCommand.h"

#include "core/document/EKViewDoc.h"
#include "core/platform/ProgressDlg.h"

namespace ek {

namespace {

constexpr const char* kExportCaption = "エクスポート中...";

std::vector<int> ScopeIndexes(const CEKViewDoc& doc, ExportScope scope,
                              const std::optional<std::vector<int>>& searchResults) {
    switch (scope) {
        case ExportScope::All:
            return {};
        case ExportScope::Current:
            return {doc.m_nCurrent};
        case ExportScope::SearchResults:
            return searchResults.value_or(std::vector<int>());
    }
    return {};
}

}  // namespace

ExportResult RunExportCommand(const CEKViewDoc& doc, ProgressUi* progressUi,
                              const std::optional<std::vector<int>>& searchResults,
                              ExportDialogUi& ui) {
    const int count = doc.GetMessageCount();
    const bool haveCurrent = doc.m_nCurrent >= 0 && doc.m_nCurrent < count;
    const bool haveSearch = searchResults.has_value() && !searchResults->empty();
    std::optional<ExportChoice> choice = ui.ChooseOptions(haveCurrent, haveSearch);
    if (!choice || (choice->scope == ExportScope::Current && !haveCurrent) ||
        (choice->scope == ExportScope::SearchResults && !haveSearch)) {
        return {ExportStatus::Cancelled, {}, 0};
    }
    std::optional<std::string> target = ui.ChooseTarget(choice->format);
    if (!target || target->empty()) {
        return {ExportStatus::Cancelled, {}, 0};
    }
    ExportRequest request{choice->format, *target, ScopeIndexes(doc, choice->scope, searchResults),
                          false};

    std::string reason;
    switch (CheckExportTarget(request, doc.m_strMailFile, reason)) {
        case TargetState::Free:
            break;
        case TargetState::Exists: {
            std::string question = choice->format == ExportFormat::Mbox
                                       ? *target + " は既にあります。\n置き換えますか?"
                                       : "フォルダ " + *target +
                                             " には既にファイルがあります。\n同じ名前の .eml "
                                             "ファイルを置き換えますか?";
            if (!ui.Confirm(question)) {
                return {ExportStatus::Cancelled, {}, 0};
            }
            request.replace = true;
            break;
        }
        case TargetState::IsMailbox:
            ui.ShowMessage("開いているメールファイルにはエクスポートできません。\n" + reason, true);
            return {ExportStatus::Refused, reason, 0};
        case TargetState::WrongKind:
        case TargetState::Unreadable:
            ui.ShowMessage("エクスポートできません。\n" + reason, true);
            return {ExportStatus::Refused, reason, 0};
    }

    const int messages = request.indexes.empty() ? count : static_cast<int>(request.indexes.size());
    ExportResult result;
    {
        CProgressDlg progress(messages > kExportProgressThreshold ? progressUi : nullptr);
        progress.Create();
        progress.SetWindowText(kExportCaption);
        result = ExportMessages(doc, request, progress);
    }
    switch (result.status) {
        case ExportStatus::Ok:
            ui.ShowMessage(std::to_string(result.written) + " 件のメールを " + *target +
                               " にエクスポートしました。",
                           false);
            break;
        case ExportStatus::Cancelled:
            break;
        case ExportStatus::Refused:
        case ExportStatus::Failed:
            ui.ShowMessage(
                "エクスポートできませんでした。ファイルは作られていません。\n" + result.reason,
                true);
            break;
    }
    return result;
}

}  // namespace ek
