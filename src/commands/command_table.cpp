// The rows of the command table, their default captions and shortcuts.
#include "commands/command_table.h"

#include <array>
#include <initializer_list>

namespace tessary {
namespace {

constexpr std::string_view kFile = kGroupFile;
constexpr std::string_view kEdit = kGroupEdit;
constexpr std::string_view kSearch = kGroupSearch;
constexpr std::string_view kView = kGroupView;
constexpr std::string_view kTool = kGroupTool;
constexpr std::string_view kWindow = kGroupWindow;
constexpr std::string_view kReserve = kGroupReserve;
constexpr std::string_view kExtension = kGroupExtension;
constexpr std::string_view kHelp = kGroupHelp;
constexpr std::string_view kEditor = kGroupEditor;

// Short names for the menu columns, so that a row still reads on one line.
constexpr Checkable kCheck = Checkable::Yes;
constexpr Checkable kNoCheck = Checkable::No;
constexpr RadioGroup kNoRadio = RadioGroup::None;
constexpr RadioGroup kReadCode = RadioGroup::ReadCode;
constexpr RadioGroup kWrapMode = RadioGroup::WrapMode;
constexpr RadioGroup kTabWidth = RadioGroup::TabWidth;
constexpr RadioGroup kLineEnds = RadioGroup::LineEndCounting;
constexpr RadioGroup kSelUnit = RadioGroup::SelectionUnit;
constexpr RadioGroup kReserveShow = RadioGroup::ReserveDisplay;
constexpr Separator kSep = Separator::Before;
constexpr Separator kNoSep = Separator::None;
constexpr Submenu kColorMenu = Submenu::FontAndColor;
constexpr Submenu kReadMenu = Submenu::ReadCode;
constexpr Submenu kConvMenu = Submenu::Conversion;
constexpr Submenu kSnipMenu = Submenu::Snippet;
constexpr Submenu kMarkMenu = Submenu::Marks;
constexpr Submenu kCountMenu = Submenu::SelectionCount;
constexpr Submenu kKeysMenu = Submenu::CloseKeys;
constexpr Submenu kShowMenu = Submenu::ReserveDisplay;

// clang-format off
constexpr std::array<CommandEntry, 158> kCommands = {{
    {1001, "MenuNewFile", kFile, "新規作成(&N)", "Ctrl+N", CommandPlace::MainMenu},
    {1002, "MenuOpen", kFile, "開く(&O)... ", "Ctrl+O", CommandPlace::MainMenu},
    {1003, "MenuSave", kFile, "上書き保存(&S)", "Ctrl+S", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1004, "MenuSaveAs", kFile, "名前を付けて保存(&A)...", "", CommandPlace::MainMenu},
    {1005, "MenuOpenSaveDialogXpStyle", kFile, "「開く」と「名前を付けて保存」はXpスタイルで表示(&D)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep},
    {1006, "MenuReadAuto", kFile, "読込：自動検出(&R)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep, kReadMenu},
    {1007, "MenuReadSJIS", kFile, "読込：S-JIS(&J)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1008, "MenuReadUTF8Bom", kFile, "読込：UTF-8 [BOM有](&U)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1009, "MenuReadUTF8", kFile, "読込：UTF-8 [BOM無](&V)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1010, "MenuReadUTF16BomBe", kFile, "読込：UTF-16 [BOM有 ビッグエンディアン](&B)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1011, "MenuReadUTF16Be", kFile, "読込：UTF-16 [BOM無 ビッグエンディアン](&C)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1012, "MenuReadUTF16BomLe", kFile, "読込：UTF-16 [BOM有 リトルエンディアン](&L)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1013, "MenuReadUTF16Le", kFile, "読込：UTF-16 [BOM無 リトルエンディアン](&M)", "", CommandPlace::MainMenu, kCheck, kReadCode, kNoSep, kReadMenu},
    {1020, "MenuSaveClose", kFile, "上書き保存して終了(&E)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1021, "MenuClose", kFile, "終了(&Q && &X)", "", CommandPlace::MainMenu},
    {1101, "MenuJump", kEdit, "行へ移動(&G)...", "Ctrl+G", CommandPlace::MainMenu},
    {1102, "MenuReadOnly", kEdit, "書き換え禁止(&Y)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep},
    {1103, "MenuPopUpShow", kEdit, "ポップアップメニュー表示(&P)...", "", CommandPlace::MainMenu},
    {1104, "MenuCopyOneLine", kEdit, "１行コピー(&C)", "Ctrl+Alt+C", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1105, "MenuSelectWord", kEdit, "１語を選択(&W)", "", CommandPlace::MainMenu},
    {1106, "MenuCaretMoveNext", kEdit, "カーソルを前後の行に移動(&N)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep},
    {1107, "MenuCaretMoveFree", kEdit, "カーソル位置をフリーに移動(&F)", "", CommandPlace::MainMenu, kCheck},
    {1108, "MenuCaretAutoIndent", kEdit, "自動インデントを有効(&V)", "", CommandPlace::MainMenu, kCheck},
    {1109, "MenuMoveDocumentTop", kEdit, "文書の先頭に移動(&T)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1110, "MenuMoveDocumentEnd", kEdit, "文書の最後に移動(&B)", "", CommandPlace::MainMenu},
    {1111, "MenuMoveLineTop", kEdit, "行の先頭に移動(&H)", "", CommandPlace::MainMenu},
    {1112, "MenuMoveLineEnd", kEdit, "行の最後に移動(&E)", "", CommandPlace::MainMenu},
    {1113, "MenuReplaceTab", kEdit, "選択範囲のタブを空白に置換(&T)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep, kConvMenu},
    {1114, "MenuUpperCase", kEdit, "選択範囲を大文字に変換(&U)", "Ctrl+U", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kConvMenu},
    {1115, "MenuLowerCase", kEdit, "選択範囲を小文字に変換(&L)", "Ctrl+L", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kConvMenu},
    {1116, "MenuZenToHan", kEdit, "選択範囲を全角から半角に変換(&H)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kConvMenu},
    {1117, "MenuHanToZen", kEdit, "選択範囲を半角から全角に変換(&F)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kConvMenu},
    {1118, "MenuShowSnippet", kEdit, "スニペット 文字列表示(&X)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep, kSnipMenu},
    {1119, "MenuShowSnippetFile", kEdit, "スニペット ファイル表示(&Y)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kSnipMenu},
    {1120, "MenuOstrBoardSeikei", kEdit, "ostrel 掲示板ログ整形(&A)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1201, "MenuSearchWord", kSearch, "検索(&F)... ", "Ctrl+F", CommandPlace::MainMenu},
    {1202, "MenuSearchNext", kSearch, "次を検索(&N) ", "F3", CommandPlace::MainMenu},
    {1203, "MenuSearchPrev", kSearch, "前を検索(&P)", "Shift+F3", CommandPlace::MainMenu},
    {1204, "MenuSearchWordOneLine", kSearch, "１行コピーして検索(&C)... ", "Ctrl+Alt+F", CommandPlace::MainMenu},
    {1205, "MenuReplaceWord", kSearch, "置換(&R)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1301, "MenuWrapNone", kView, "折り返さない(&N)", "Ctrl+1", CommandPlace::MainMenu, kCheck, kWrapMode},
    {1302, "MenuWrapLength", kView, "指定文字で折り返し(&C)", "Ctrl+2", CommandPlace::MainMenu, kCheck, kWrapMode},
    {1303, "MenuWrapWindowWidth", kView, "ウィンドウの右端で折り返し(&W)", "Ctrl+3", CommandPlace::MainMenu, kCheck, kWrapMode},
    {1304, "MenuSetMojiLength", kView, "指定文字数設定(&S)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1305, "MenuFontColor", kView, "文字色(&F)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep, kColorMenu},
    {1306, "MenuBackColor", kView, "背景色(&B)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1307, "MenuSelectColor", kView, "選択文字色(&X)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1308, "MenuSelectBackColor", kView, "選択背景色(&Y)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1309, "MenuKigouColor", kView, "記号表示色(&K)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1310, "MenuUnderLineColor", kView, "アンダーライン表示色(&U)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1311, "MenuFontColorReadOnly", kView, "書込禁止時 文字色(&G)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1312, "MenuBackColorReadOnly", kView, "書込禁止時 背景色(&C)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kNoSep, kColorMenu},
    {1313, "MenuRow", kView, "行番号(&L)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep},
    {1314, "MenuColumn", kView, "ルーラ(&R)", "", CommandPlace::MainMenu, kCheck},
    {1315, "MenuShowUnderLine", kView, "カーソルのある行に下線を表示(&E)", "", CommandPlace::MainMenu, kCheck},
    {1316, "MenuCrLf", kView, "改行(&L)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep, kMarkMenu},
    {1317, "MenuEof", kView, "EOF(&E)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kMarkMenu},
    {1318, "MenuTab", kView, "タブ(&T)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kMarkMenu},
    {1319, "MenuDBCS", kView, "全角空白(&W)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kMarkMenu},
    {1320, "MenuTab2", kView, "タブ数2(&2)", "", CommandPlace::MainMenu, kCheck, kTabWidth, kSep},
    {1321, "MenuTab4", kView, "タブ数4(&4)", "", CommandPlace::MainMenu, kCheck, kTabWidth},
    {1322, "MenuTab6", kView, "タブ数6(&6)", "", CommandPlace::MainMenu, kCheck, kTabWidth},
    {1323, "MenuTab8", kView, "タブ数8(&8)", "", CommandPlace::MainMenu, kCheck, kTabWidth},
    {1324, "MenuCrLfNotInclude", kView, "改行をカウントしない(&N)", "", CommandPlace::MainMenu, kCheck, kLineEnds, kSep, kCountMenu},
    {1325, "MenuCrlfInclude", kView, "改行をカウントする(&I)", "", CommandPlace::MainMenu, kCheck, kLineEnds, kNoSep, kCountMenu},
    {1326, "MenuSelectLengthChar", kView, "文字数で表示(&C)", "", CommandPlace::MainMenu, kCheck, kSelUnit, kSep, kCountMenu},
    {1327, "MenuSelctLengthByte", kView, "半角文字数で表示(&B)", "", CommandPlace::MainMenu, kCheck, kSelUnit, kNoSep, kCountMenu},
    {1328, "MenuStatusBarTopVisible", kView, "上部ステータスバーを表示(&T)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep},
    {1329, "MenuStatusBarBottomVisible", kView, "下部ステータスバーを表示(&B)", "", CommandPlace::MainMenu, kCheck},
    {1401, "MenuKeyBoard", kTool, "キーボード設定(&K)...", "", CommandPlace::MainMenu},
    {1402, "MenuCloseESCkey", kTool, "ESCキーで終了(&E)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kSep, kKeysMenu},
    {1403, "MenuCloseENTERkey", kTool, "Enterキーで終了(&R)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kKeysMenu},
    {1404, "MenuCloseQkey", kTool, "Qキーで終了(&Q)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kKeysMenu},
    {1405, "MenuCloseXkey", kTool, "Xキーで終了(&X)", "", CommandPlace::MainMenu, kCheck, kNoRadio, kNoSep, kKeysMenu},
    {1407, "MenuFavoriteAuto1", kTool, "お気入１ 起動(&X)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1408, "MenuFavoriteAuto2", kTool, "お気入２ 起動(&Y)", "", CommandPlace::MainMenu},
    {1409, "MenuFavoriteAuto3", kTool, "お気入３ 起動(&Z)", "", CommandPlace::MainMenu},
    {1410, "MenuFavoriteSetting", kTool, "お気入の設定(&E)...", "", CommandPlace::MainMenu},
    {1411, "MenuLauncherAuto1", kTool, "外部プログラム １ 起動(&U)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1412, "MenuLauncherAuto2", kTool, "外部プログラム ２ 起動(&V)", "", CommandPlace::MainMenu},
    {1413, "MenuLauncherAuto3", kTool, "外部プログラム ３ 起動(&W)", "", CommandPlace::MainMenu},
    {1414, "MenuLauncherSetting", kTool, "外部プログラムの設定(&L)...", "", CommandPlace::MainMenu},
    {1501, "MenuEditorSetFocus", kWindow, "文書を選択(&N)...", "Ctrl+Tab", CommandPlace::MainMenu},
    {1502, "MenuNewEditor", kWindow, "別文書を新規作成(&W)", "", CommandPlace::MainMenu},
    {1503, "MenuFilerSetFocus", kWindow, "ファイラーを選択(&F)...", "", CommandPlace::MainMenu},
    {1601, "MenuReserveColor", kReserve, "予約語色(&V)...", "", CommandPlace::MainMenu},
    {1602, "MenuReserveRead", kReserve, "予約語ファイル読込(&O)...", "", CommandPlace::MainMenu},
    {1603, "MenuReseveIniSet", kReserve, "INIファイルのセクションを予約語色で表示(&N)", "", CommandPlace::MainMenu, kCheck, kReserveShow, kSep, kShowMenu},
    {1604, "MenuReseveReserveSet", kReserve, "予約語を予約語色で表示(&S)", "", CommandPlace::MainMenu, kCheck, kReserveShow, kNoSep, kShowMenu},
    {1605, "MenuReseveNoSet", kReserve, "予約語の表示は行わない(&C)", "", CommandPlace::MainMenu, kCheck, kReserveShow, kNoSep, kShowMenu},
    {1701, "MenuShowCsvList", kExtension, "CsvList 表示(&L)...", "", CommandPlace::MainMenu},
    {1702, "MenuShowBinary", kExtension, "バイナリ 表示(&B)...", "", CommandPlace::MainMenu},
    {1703, "MenuShowOutLine", kExtension, "アウトライン表示(&O)...", "Ctrl+F3", CommandPlace::MainMenu},
    {1704, "MenuFileOpen", kExtension, "ファイルメニューを開く(&F)", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1705, "MenuShowNoteCsv", kExtension, "CsvList表示[UTF対応](&N)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1706, "MenuShowBinaryExe", kExtension, "Rorezuvidavuv起動 バイナリ表示(&W)...", "", CommandPlace::MainMenu},
    {1707, "MenuShowCsvExe", kExtension, "Virovadizi起動 CSV表示(&X)...", "", CommandPlace::MainMenu},
    {1708, "MenuOstrBoard", kExtension, "ostrel 掲示板ログ表示(&A)...", "", CommandPlace::MainMenu, kNoCheck, kNoRadio, kSep},
    {1709, "MenuOstrHistory", kExtension, "ostrel ヒストリ表示(&H)...", "", CommandPlace::MainMenu},
    {1710, "MenuPilkaKeyBoarsMap", kExtension, "Pilka キーボードマップ表示(&M)...", "", CommandPlace::MainMenu},
    {1711, "MenuCsvListLoadAll", kExtension, "CsvList 全て表示(&A)", "", CommandPlace::InvisibleItem},
    {1712, "MenuCsvListFitColumnWidth", kExtension, "CsvList カラム幅の自動調整(&C)", "", CommandPlace::InvisibleItem},
    {1713, "MenuAddHeader", kExtension, "CsvList 現在行をヘッダーに設定(&H)", "", CommandPlace::InvisibleItem},
    {1714, "MenuMoveStartPosition", kExtension, "CsvList 開始時へ移動(S)...", "", CommandPlace::InvisibleItem},
    {1715, "MenuCsvListTop", kExtension, "CsvList 先頭(&T)", "", CommandPlace::InvisibleItem},
    {1716, "MenuCsvListPrev", kExtension, "CsvList 前ページ(&P)", "", CommandPlace::InvisibleItem},
    {1717, "MenuCsvListNext", kExtension, "CsvList 次ページ(&N)", "", CommandPlace::InvisibleItem},
    {1718, "MenuCsvListEnd", kExtension, "CsvList 最後(&E)", "", CommandPlace::InvisibleItem},
    {1719, "MenuCsvListFontColor", kExtension, "CsvList 文字色(&F)...", "", CommandPlace::InvisibleItem},
    {1720, "MenuCsvListBackColor", kExtension, "CsvList 背景色(&B)...", "", CommandPlace::InvisibleItem},
    {1721, "MenuCsvListRetMarkRet", kExtension, "CsvList 改行文字 <Ret> (&R)", "", CommandPlace::InvisibleItem},
    {1722, "MenuCsvListRetMarkLf", kExtension, "CsvList 改行文字 <Lf> (&L)", "", CommandPlace::InvisibleItem},
    {1723, "MenuCsvListRetMarkNone", kExtension, "CsvList 改行文字 空白(&N)", "", CommandPlace::InvisibleItem},
    {1731, "MenuBinaryTop", kExtension, "バイナリ 先頭(&T)", "", CommandPlace::InvisibleItem},
    {1732, "MenuBinaryPrev", kExtension, "バイナリ 前ページ(&P)", "", CommandPlace::InvisibleItem},
    {1733, "MenuBinaryNext", kExtension, "バイナリ 次ページ(&N)", "", CommandPlace::InvisibleItem},
    {1734, "MenuBinaryEnd", kExtension, "バイナリ 最後(&E)", "", CommandPlace::InvisibleItem},
    {1735, "MenuBinaryShowTab", kExtension, "バイナリ タブ(Tab)の 09 を記号色で表示(&T)", "", CommandPlace::InvisibleItem},
    {1736, "MenuBinaryShowCr", kExtension, "バイナリ 改行(Cr)の 0D を記号色で表示(&D)", "", CommandPlace::InvisibleItem},
    {1737, "MenuBinaryShowLf", kExtension, "バイナリ 改行(Lf)の 0A を記号色で表示(&A)", "", CommandPlace::InvisibleItem},
    {1738, "MenuBinaryFontColor", kExtension, "バイナリ 文字色(&F)...", "", CommandPlace::InvisibleItem},
    {1739, "MenuBinaryBackColor", kExtension, "バイナリ 背景色(&B)...", "", CommandPlace::InvisibleItem},
    {1740, "MenuBinaryKigouColor", kExtension, "バイナリ 記号表示色(&K)...", "", CommandPlace::InvisibleItem},
    {1741, "MenuBinaryUnderLineColor", kExtension, "バイナリ アンダーライン表示色(&U)...", "", CommandPlace::InvisibleItem},
    {1742, "MenuBinaryShowUnderLine", kExtension, "バイナリ カーソルのある行に下線を表示(&D)", "", CommandPlace::InvisibleItem},
    {1801, "MenuShowHelp", kHelp, "ヘルプ表示(&C)...", "", CommandPlace::MainMenu},
    {1802, "MenuKeyMap", kHelp, "キーボードマップ(&K)...", "", CommandPlace::MainMenu},
    {1803, "MenuVersion", kHelp, "バージョン情報(&V)...", "", CommandPlace::MainMenu},
    {9001, "", kEditor, "マーク設定0", "Shift+Ctrl+0", CommandPlace::EditorControl},
    {9002, "", kEditor, "マーク設定1", "Shift+Ctrl+1", CommandPlace::EditorControl},
    {9003, "", kEditor, "マーク設定2", "Shift+Ctrl+2", CommandPlace::EditorControl},
    {9004, "", kEditor, "マーク設定3", "Shift+Ctrl+3", CommandPlace::EditorControl},
    {9005, "", kEditor, "マーク設定4", "Shift+Ctrl+4", CommandPlace::EditorControl},
    {9006, "", kEditor, "マーク設定5", "Shift+Ctrl+5", CommandPlace::EditorControl},
    {9007, "", kEditor, "マーク設定6", "Shift+Ctrl+6", CommandPlace::EditorControl},
    {9008, "", kEditor, "マーク設定7", "Shift+Ctrl+7", CommandPlace::EditorControl},
    {9009, "", kEditor, "マーク設定8", "Shift+Ctrl+8", CommandPlace::EditorControl},
    {9010, "", kEditor, "マーク設定9", "Shift+Ctrl+9", CommandPlace::EditorControl},
    {9011, "", kEditor, "マークジャンプ0", "Ctrl+Alt+0", CommandPlace::EditorControl},
    {9012, "", kEditor, "マークジャンプ1", "Ctrl+Alt+1", CommandPlace::EditorControl},
    {9013, "", kEditor, "マークジャンプ2", "Ctrl+Alt+2", CommandPlace::EditorControl},
    {9014, "", kEditor, "マークジャンプ3", "Ctrl+Alt+3", CommandPlace::EditorControl},
    {9015, "", kEditor, "マークジャンプ4", "Ctrl+Alt+4", CommandPlace::EditorControl},
    {9016, "", kEditor, "マークジャンプ5", "Ctrl+Alt+5", CommandPlace::EditorControl},
    {9017, "", kEditor, "マークジャンプ6", "Ctrl+Alt+6", CommandPlace::EditorControl},
    {9018, "", kEditor, "マークジャンプ7", "Ctrl+Alt+7", CommandPlace::EditorControl},
    {9019, "", kEditor, "マークジャンプ8", "Ctrl+Alt+8", CommandPlace::EditorControl},
    {9020, "", kEditor, "マークジャンプ9", "Ctrl+Alt+9", CommandPlace::EditorControl},
    {9021, "", kEditor, "元に戻す(&U)", "Ctrl+Z", CommandPlace::EditorControl},
    {9022, "", kEditor, "やり直し(&R)", "Ctrl+Y", CommandPlace::EditorControl},
    {9023, "", kEditor, "切り取り(&T)", "Ctrl+X", CommandPlace::EditorControl},
    {9024, "", kEditor, "コピー(&C)", "Ctrl+C", CommandPlace::EditorControl},
    {9025, "", kEditor, "貼り付け(&P)", "Ctrl+V", CommandPlace::EditorControl},
    {9026, "", kEditor, "Box貼り付け(&B)", "Ctrl+B", CommandPlace::EditorControl},
    {9027, "", kEditor, "Box選択モード(&K)", "Ctrl+K", CommandPlace::EditorControl},
    {9028, "", kEditor, "1文字削除", "Ctrl+H", CommandPlace::EditorControl},
    {9029, "", kEditor, "改行", "Ctrl+M", CommandPlace::EditorControl},
    {9030, "", kEditor, "全選択", "Ctrl+A", CommandPlace::EditorControl},
}};
// clang-format on

struct IdName {
  CommandId id;
  std::string_view name;
};
constexpr IdName kIdNames[] = {
#define TESSARY_ID_NAME(name, number) {CommandId::name, #name},
    TESSARY_COMMAND_IDS(TESSARY_ID_NAME)
#undef TESSARY_ID_NAME
};

// The named rows are the CommandIds one to one, in order, by number and by name; so every id
// the code names has its row, and a row added without its name (or the reverse) fails here.
constexpr bool NamedRowsAreTheCommandIds() {
  size_t n = 0;
  for (const CommandEntry& e : kCommands) {
    if (e.command.empty()) continue;
    if (n == std::size(kIdNames)) return false;
    if (IdNumber(kIdNames[n].id) != e.id || kIdNames[n].name != e.command) return false;
    ++n;
  }
  return n == std::size(kIdNames);
}
static_assert(NamedRowsAreTheCommandIds(), "the table's named rows and CommandId differ");

// Editor keys have no menu item, and a radio item shows a check mark like any other.
constexpr bool MenuColumnsAreConsistent() {
  for (const CommandEntry& e : kCommands) {
    const bool plain = e.checkable == Checkable::No && e.radio == RadioGroup::None &&
                       e.separator == Separator::None && e.submenu == Submenu::None;
    if (e.place == CommandPlace::EditorControl && !plain) return false;
    if (e.radio != RadioGroup::None && e.checkable != Checkable::Yes) return false;
  }
  return true;
}
static_assert(MenuColumnsAreConsistent(), "a menu column is set where it has no meaning");

struct GroupMenu {
  std::string_view group;
  std::string_view menu;
};
constexpr std::array<GroupMenu, 9> kGroupMenus = {{
    {kFile, "ファイル(&F)"},
    {kEdit, "編集(&E)"},
    {kSearch, "検索(&S)"},
    {kView, "表示(&V)"},
    {kTool, "ツール(&T)"},
    {kWindow, "ウィンドウ(&W)"},
    {kReserve, "予約語(&R)"},
    {kExtension, "拡張(&X)"},
    {kHelp, "ヘルプ(&H)"},
}};

void AddIds(std::vector<int>& ids, std::initializer_list<CommandId> named) {
  for (CommandId id : named) ids.push_back(IdNumber(id));
}

// Every id from `first` to `last`; the viewers' rows are numbered without gaps.
void AddRange(std::vector<int>& ids, CommandId first, CommandId last) {
  for (int id = IdNumber(first); id <= IdNumber(last); ++id) ids.push_back(id);
}

}  // namespace

std::span<const CommandEntry> CommandTable() {
  return kCommands;
}

const CommandEntry* FindCommand(int id) {
  for (const CommandEntry& e : kCommands)
    if (e.id == id) return &e;
  return nullptr;
}

CommandId CommandIdOf(const CommandEntry& entry) {
  // Safe for every named row: the table is checked against CommandId above.
  return static_cast<CommandId>(entry.id);
}

std::string CommandIdText(int id) {
  return std::to_string(id);
}

std::string CommandIdText(CommandId id) {
  return CommandIdText(IdNumber(id));
}

std::string_view MainMenuCaptionOfGroup(std::string_view group) {
  for (const GroupMenu& g : kGroupMenus)
    if (g.group == group) return g.menu;
  return {};
}

SubmenuText SubmenuTextOf(Submenu submenu) {
  switch (submenu) {
    case Submenu::ReadCode:
      return {"MenuReadCode", "読込文字(&R)"};
    case Submenu::Conversion:
      return {"MenuConvertSelection", "選択範囲の変換(&S)"};
    case Submenu::Snippet:
      return {"MenuSnippet", "スニペット(&I)"};
    case Submenu::FontAndColor:
      return {"MenuColor", "フォント設定と色設定(&F)"};
    case Submenu::Marks:
      return {"MenuKigou", "記号(&A)"};
    case Submenu::SelectionCount:
      return {"MenuSelectLength", "選択文字数の表示(&K)"};
    case Submenu::CloseKeys:
      return {"MenuCloseKey", "書き換え禁止時のキーボード処理(&R)"};
    case Submenu::ReserveDisplay:
      return {"MenuReserveSelect", "予約語色選択(&S)"};
    case Submenu::None:
      break;
  }
  return {};
}

std::vector<int> MainMenuShortcutIds() {
  std::vector<int> ids;
  for (const CommandEntry& e : kCommands)
    if (e.place == CommandPlace::MainMenu) ids.push_back(e.id);
  return ids;
}

std::vector<int> WindowShortcutIds(ShortcutWindow window) {
  using enum CommandId;
  std::vector<int> ids{IdNumber(MenuClose)};
  switch (window) {
    case ShortcutWindow::CsvList:
      AddIds(ids, {MenuJump, MenuSearchNext, MenuSearchPrev});
      AddRange(ids, MenuCsvListLoadAll, MenuCsvListBackColor);
      break;
    case ShortcutWindow::Binary:
      AddIds(ids, {MenuSearchNext, MenuSearchPrev});
      AddRange(ids, MenuBinaryTop, MenuBinaryShowUnderLine);
      break;
    case ShortcutWindow::BoardLog:
      AddIds(ids, {MenuSearchWord, MenuSearchNext, MenuSearchPrev});
      break;
    case ShortcutWindow::History:
      break;
    case ShortcutWindow::OutLine:
      AddIds(ids, {MenuShowOutLine});
      break;
    case ShortcutWindow::SelectFiler:
      AddIds(ids, {MenuFilerSetFocus});
      break;
    case ShortcutWindow::SelectEditor:
      AddIds(ids, {MenuEditorSetFocus});
      break;
  }
  return ids;
}

}  // namespace tessary
