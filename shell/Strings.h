// The texts the program shows, in UTF-8. Menu items, prompts and tool tips of the
// commands live with the menus (gui/res/Menus.cpp).
#pragma once

namespace ek::str {

// The document string's fields.
inline constexpr const char* kAppTitle = "EKView";
inline constexpr const char* kUntitled = "無題";

inline constexpr const char* kAboutCaption = "EKViewのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutVersion = "EKView Version 1.51";
inline constexpr const char* kOk = "OK";

inline constexpr const char* kCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* kListBuilding = "リスト作成中...";
// The framework's standard message for a file that cannot be opened; %s is the
// path, the system's reason follows on the next line.
inline constexpr const char* kOpenFailed = "ファイル %s を開けません。";

inline constexpr const char* kShowTitle = "タイトル表示(&V)";
inline constexpr const char* kShowContent = "内容表示(&V)";
inline constexpr const char* kRecentFilePlaceholder = "最近使ったﾌｧｲﾙ";

inline constexpr const char* kIdleMessage = "ﾚﾃﾞｨ";

// Find in the message.
inline constexpr const char* kFindTitle = "検索";
inline constexpr const char* kFindWhat = "検索する文字列(&N):";
inline constexpr const char* kFindNext = "次を検索(&F)";
inline constexpr const char* kFindPrevious = "前を検索(&B)";
inline constexpr const char* kFindClose = "閉じる";
inline constexpr const char* kFindNotFound = "見つかりません";
inline constexpr const char* kFindWrappedToTop = "先頭から検索しました";
inline constexpr const char* kFindWrappedToEnd = "末尾から検索しました";
inline constexpr const char* kPositionInitial = "***/***";
inline constexpr const char* kIndicatorKana = "ｶﾅ";
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScrl = "SCRL";

// Column titles of the subject list.
inline constexpr const char* kColumnSubject = "題名";
inline constexpr const char* kColumnSender = "差出人";
inline constexpr const char* kColumnDate = "送信日時";

// The search window.
inline constexpr const char* kSearchCaption = "メールを検索";
inline constexpr const char* kSearchCount = "%zu 件";
inline constexpr const char* kSearchRunning = " (検索中...)";
inline constexpr const char* kSearchEmpty = "検索する文字を入力してください";
inline constexpr const char* kSearchNotText = "検索する文字列に使えない文字があります";
inline constexpr const char* kSearchUnspellable =
    "Shift-JIS で書けない文字があるため、見つかりません";
// Which text the search window looks at: it follows the decoded view.
inline constexpr const char* kSearchStoredText = "保存された文字を検索します";
inline constexpr const char* kSearchDecodedText = "デコード表示の文字を検索します";

// Faces the dialogs and panes ask for by name.
inline constexpr const char* kDialogFace = "ＭＳ Ｐゴシック";

}  // namespace ek::str
