#include "gui/res/Menus.h"

#include <map>
#include <utility>

#include "gui/platform/WxText.h"
#include "shell/Resource.h"
#include "shell/Strings.h"

namespace ek {

namespace {

// "prompt\ntool tip" for each command, as the string table holds them.
const std::map<int, const char*>& CommandStrings() {
    static const std::map<int, const char*> strings = {
        {ID_VIEW_CONTENT, "タイトル・内容表示切替\n表示切替"},
        {ID_VIEW_THREAD, "ツリー表示\nツリー表示"},
        {ID_VIEW_ALLHEADER, "すべてのヘッダを表示\nすべてのヘッダ表示"},
        {ID_VIEW_FONT, "フォント変更\nフォント変更"},
        {ID_MAIL_NEXT, "次のメールの表示\n次のメール"},
        {ID_MAIL_PREV, "前のメールの表示\n前のメール"},
        {ID_VIEW_COLOR, "色の指定\n色の設定"},
        {ID_MAIL_SEARCH, "メールを検索します\nメールを検索"},
        {ID_VIEW_DECODE, "MIME をデコードして表示\nデコード表示"},
        {ID_FILE_SAVE_ATTACHMENTS, "表示中のメールの添付ファイルを保存します\n添付ファイルを保存"},
        {ID_FILE_NEW, "新しいドキュメントを作成します\n新規作成"},
        {ID_FILE_OPEN, "既存のファイルを開きます\n開く"},
        {ID_FILE_EXPORT,
         "メールを他のメール ソフトが読める mbox または .eml に書き出します\nエクスポート"},
        {ID_FILE_SAVE, "ファイルを上書き保存します\n上書き保存"},
        {ID_FILE_SAVE_AS, "ファイルに名前を付けて保存します\n名前を付けて保存"},
        {ID_FILE_PRINT, "ファイルを印刷します\n印刷"},
        {ID_FILE_PRINT_PREVIEW, "印刷イメージを表示します\n印刷プレビュー"},
        {ID_FILE_PRINT_SETUP, "プリンタの設定を変更します\nプリンタの設定"},
        {ID_EDIT_COPY, "選択範囲をコピーしてクリップボードに保存します\nコピー"},
        {ID_EDIT_FIND, "表示中のメールの中から文字列を検索します\n検索"},
        {ID_EDIT_REPEAT, "次の一致を検索します\n次を検索"},
        {ID_EDIT_FIND_PREVIOUS, "前の一致を検索します\n前を検索"},
        {ID_APP_ABOUT, "プログラムの情報、バージョンを表示します\nバージョン情報"},
        {ID_APP_EXIT, "アプリケーションを終了します\n終了"},
        {ID_VIEW_TOOLBAR, "ツール バーの表示/非表示を切り替えます\nツール バーの表示切替"},
        {ID_VIEW_STATUS_BAR,
         "ステータス バーの表示/非表示を切り替えます\nステータス バーの表示切替"},
    };
    return strings;
}

std::pair<std::string, std::string> SplitCommandString(int id) {
    const auto& strings = CommandStrings();
    auto found = strings.find(id);
    if (found == strings.end()) {
        return {};
    }
    std::string text = found->second;
    std::size_t newline = text.find('\n');
    if (newline == std::string::npos) {
        return {text, {}};
    }
    return {text.substr(0, newline), text.substr(newline + 1)};
}

void Append(wxMenu* menu, int id, const char* text, wxItemKind kind = wxITEM_NORMAL) {
    menu->Append(WxId(id), FromUtf8(text), FromUtf8(CommandPrompt(id)), kind);
}

}  // namespace

wxMenuBar* CreateMainMenuBar() {
    auto* file = new wxMenu;
    Append(file, ID_FILE_OPEN, "開く(&O)...\tCtrl+O");
    Append(file, ID_FILE_SAVE_ATTACHMENTS, "添付ファイルを保存(&T)...");
    Append(file, ID_FILE_EXPORT, "エクスポート(&E)...");
    Append(file, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S");
    Append(file, ID_FILE_SAVE_AS, "名前を付けて保存(&A)...");
    file->AppendSeparator();
    Append(file, ID_FILE_PRINT, "印刷(&P)...\tCtrl+P");
    Append(file, ID_FILE_PRINT_PREVIEW, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)");
    Append(file, ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀの設定(&R)...");
    file->AppendSeparator();
    Append(file, ID_FILE_MRU_FILE1, str::kRecentFilePlaceholder);
    file->AppendSeparator();
    Append(file, ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)");

    auto* edit = new wxMenu;
    Append(edit, ID_EDIT_COPY, "ｺﾋﾟｰ(&C)\tCtrl+C");
    Append(edit, ID_EDIT_FIND, "検索(&F)...\tCtrl+F");

    auto* view = new wxMenu;
    Append(view, ID_VIEW_CONTENT, str::kShowContent);
    Append(view, ID_VIEW_THREAD, "ツリー表示(&R)\tT", wxITEM_CHECK);
    Append(view, ID_VIEW_ALLHEADER, "ヘッダすべて表示(&A)", wxITEM_CHECK);
    Append(view, ID_VIEW_FONT, "フォント(&F)...");
    Append(view, ID_VIEW_COLOR, "色...(&C)");
    Append(view, ID_VIEW_DECODE, "デコード表示(&D)", wxITEM_CHECK);
    view->AppendSeparator();
    Append(view, ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)", wxITEM_CHECK);
    Append(view, ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", wxITEM_CHECK);

    auto* mail = new wxMenu;
    Append(mail, ID_MAIL_NEXT, "次のメール(&N)\tN");
    Append(mail, ID_MAIL_PREV, "前のメール(&P)\tP");
    mail->AppendSeparator();
    Append(mail, ID_MAIL_SEARCH, "メールを検索(&S)...\tCtrl+Shift+F");

    auto* help = new wxMenu;
    Append(help, ID_APP_ABOUT, "EKView のﾊﾞｰｼﾞｮﾝ情報(&A)...");

    auto* bar = new wxMenuBar;
    bar->Append(file, FromUtf8("ﾌｧｲﾙ(&F)"));
    bar->Append(edit, FromUtf8("編集(&E)"));
    bar->Append(view, FromUtf8("表示(&V)"));
    bar->Append(mail, FromUtf8("メール(&M)"));
    bar->Append(help, FromUtf8("ﾍﾙﾌﾟ(&H)"));
    return bar;
}

std::vector<wxAcceleratorEntry> MainAccelerators() {
    return {
        {wxACCEL_CTRL, 'C', WxId(ID_EDIT_COPY)},
        {wxACCEL_CTRL, WXK_INSERT, WxId(ID_EDIT_COPY)},
        {wxACCEL_NORMAL, 'N', WxId(ID_MAIL_NEXT)},
        {wxACCEL_NORMAL, 'P', WxId(ID_MAIL_PREV)},
        {wxACCEL_NORMAL, 'T', WxId(ID_VIEW_THREAD)},
        {wxACCEL_CTRL, 'N', WxId(ID_FILE_NEW)},
        {wxACCEL_CTRL, 'O', WxId(ID_FILE_OPEN)},
        {wxACCEL_CTRL, 'P', WxId(ID_FILE_PRINT)},
        {wxACCEL_CTRL, 'S', WxId(ID_FILE_SAVE)},
        // The accelerator table keeps the editing and pane keys of the original program.
        // Nothing handles Paste, Cut, Undo or F6, so the update gate drops them: the
        // viewer never edits, and it shows one pane at a time.
        {wxACCEL_CTRL, 'V', WxId(ID_EDIT_PASTE)},
        {wxACCEL_SHIFT, WXK_INSERT, WxId(ID_EDIT_PASTE)},
        {wxACCEL_CTRL, 'X', WxId(ID_EDIT_CUT)},
        {wxACCEL_SHIFT, WXK_DELETE, WxId(ID_EDIT_CUT)},
        {wxACCEL_CTRL, 'Z', WxId(ID_EDIT_UNDO)},
        {wxACCEL_ALT, WXK_BACK, WxId(ID_EDIT_UNDO)},
        {wxACCEL_NORMAL, WXK_F6, WxId(ID_NEXT_PANE)},
        {wxACCEL_SHIFT, WXK_F6, WxId(ID_PREV_PANE)},
        {wxACCEL_CTRL | wxACCEL_SHIFT, 'F', WxId(ID_MAIL_SEARCH)},
        {wxACCEL_CTRL, 'F', WxId(ID_EDIT_FIND)},
        {wxACCEL_NORMAL, WXK_F3, WxId(ID_EDIT_REPEAT)},
        {wxACCEL_SHIFT, WXK_F3, WxId(ID_EDIT_FIND_PREVIOUS)},
    };
}

const std::vector<int>& ToolBarLayout() {
    static const std::vector<int> layout = {
        ID_FILE_OPEN,   ID_FILE_SAVE,    ID_SEPARATOR,   ID_EDIT_COPY,
        ID_SEPARATOR,   ID_VIEW_CONTENT, ID_VIEW_THREAD, ID_VIEW_ALLHEADER,
        ID_VIEW_DECODE, ID_SEPARATOR,    ID_MAIL_PREV,   ID_MAIL_NEXT,
        ID_SEPARATOR,   ID_FILE_PRINT,   ID_SEPARATOR,   ID_APP_ABOUT,
    };
    return layout;
}

std::string CommandPrompt(int id) {
    return SplitCommandString(id).first;
}

std::string CommandToolTip(int id) {
    return SplitCommandString(id).second;
}

}  // namespace ek
