// Identifiers of commands, status panes, pane windows and strings. The numbers are
// the program's own and appear in posted commands and in tests, so keep them fixed.
#pragma once

namespace ek {

// The program's own commands.
inline constexpr int ID_VIEW_CONTENT = 32771;
inline constexpr int ID_VIEW_THREAD = 32772;
inline constexpr int ID_VIEW_ALLHEADER = 32774;
inline constexpr int ID_VIEW_FONT = 32776;
inline constexpr int ID_MAIL_NEXT = 32777;
inline constexpr int ID_MAIL_PREV = 32782;
inline constexpr int ID_VIEW_COLOR = 32783;
inline constexpr int ID_FILE_EXPORT = 32810;
// The search window (メール menu).
inline constexpr int ID_MAIL_SEARCH = 32801;
// Find in the message: the previous match (the next one repeats the find).
inline constexpr int ID_EDIT_FIND_PREVIOUS = 32800;
inline constexpr int ID_VIEW_DECODE = 32784;
inline constexpr int ID_FILE_SAVE_ATTACHMENTS = 32785;

// Commands of the framework layer.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPEAT = 57640;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Status bar panes.
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int ID_INDICATOR_KANA = 59136;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int ID_INDICATOR_POSITION = 61451;

// Child-window identifiers of the panes: the visible pane always carries the first.
inline constexpr int AFX_IDW_PANE_FIRST = 59648;
inline constexpr int kContentPaneInitialId = 59649;
inline constexpr int kThreadPaneInitialId = 59650;

// Dialogs and their controls.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_PROGRESS = 102;
inline constexpr int IDC_PROGRESS_BAR = 1003;
inline constexpr int IDC_PROGRESS_PERCENT = 1004;

// wxWidgets keeps menu, tool and window ids below 32767, and every command
// identifier above is at least 32768: a command's wx id is its identifier less 32768.
constexpr int WxId(int commandId) {
    return commandId >= 0x8000 ? commandId - 0x8000 : commandId;
}
constexpr int CommandId(int wxId) {
    return wxId >= 0 && wxId < 0x8000 ? wxId + 0x8000 : wxId;
}

}  // namespace ek
