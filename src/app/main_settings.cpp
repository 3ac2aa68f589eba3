// Reading the main window's keys with their defaults, and the shut-down write of all of them.
#include "app/main_settings.h"

#include <algorithm>

#include "codec/sjis_text.h"

namespace tessary {
namespace {

constexpr const char* kColorSection = "EditorColor";
constexpr const char* kEditor = "Editor";

constexpr std::array<std::string_view, 7> kReadKeys = {
    "ReadSJIS",    "ReadUTF8Bom",    "ReadUTF8",   "ReadUTF16BomBe",
    "ReadUTF16Be", "ReadUTF16BomLe", "ReadUTF16Le"};
constexpr std::array<int, 4> kTabWidths = {2, 4, 6, 8};
constexpr std::array<std::string_view, 4> kTabKeys = {"Tab2", "Tab4", "Tab6", "Tab8"};

std::string ReadText(const PrivateProfile& ini, std::string_view section, std::string_view key,
                     std::string_view fallback) {
  std::optional<std::string> v = ini.ReadString(section, key);
  return v ? SjisToUtf8(*v) : std::string(fallback);
}

// A name that Shift-JIS cannot hold is not written garbled: the default takes its place.
std::string FileText(const std::string& utf8, std::string_view fallback) {
  std::optional<std::string> s = Utf8ToSjisExact(utf8);
  return s ? *s : *Utf8ToSjisExact(fallback);
}

FontChoice ReadFont(const PrivateProfile& ini, std::string_view name_key, std::string_view size_key,
                    std::string_view color_key, const FontChoice& fallback) {
  FontChoice f;
  f.name = ReadText(ini, kColorSection, name_key, fallback.name);
  if (f.name.empty()) f.name = fallback.name;
  f.size = ReadFontSize(ini, kColorSection, size_key, fallback.size);
  f.color = ReadColor(ini, kColorSection, color_key, fallback.color);
  return f;
}

// The radio groups are stored as one boolean per item; the first checked item wins, and a
// group with nothing checked takes the default.
WrapMode ReadWrapMode(const PrivateProfile& ini) {
  if (ini.ReadBool(kEditor, "WrapNone", false)) return WrapMode::None;
  if (ini.ReadBool(kEditor, "WrapLength", false)) return WrapMode::Length;
  return WrapMode::WindowWidth;
}

int ReadTabWidth(const PrivateProfile& ini) {
  for (size_t i = 0; i < kTabKeys.size(); ++i)
    if (ini.ReadBool(kEditor, kTabKeys[i], kTabWidths[i] == 4)) return kTabWidths[i];
  return 4;
}

class EntryList {
 public:
  void Text(std::string_view section, std::string_view key, std::string value) {
    entries_.push_back({std::string(section), std::string(key), std::move(value)});
  }
  void Bool(std::string_view section, std::string_view key, bool v) {
    Text(section, key, v ? "1" : "0");
  }
  void Color(std::string_view key, TColor c) { Text(kColorSection, key, ColorToText(c)); }
  void Font(std::string_view name_key, std::string_view size_key, std::string_view color_key,
            const FontChoice& f) {
    Text(kColorSection, name_key, FileText(f.name, kDefaultFontName));
    Text(kColorSection, size_key, std::to_string(f.size));
    Color(color_key, f.color);
  }
  std::vector<PrivateProfile::Entry> Take() { return std::move(entries_); }

 private:
  std::vector<PrivateProfile::Entry> entries_;
};

}  // namespace

bool ReadCodeMenu::Checked(CharCode c) const {
  const int i = static_cast<int>(c);
  return i >= 1 && i <= 7 && codes[static_cast<size_t>(i - 1)];
}

std::string_view ReadMenuKey(CharCode c) {
  const int i = static_cast<int>(c);
  return i >= 1 && i <= 7 ? kReadKeys[static_cast<size_t>(i - 1)] : std::string_view("ReadAuto");
}

MainSettings ReadMainSettings(const PrivateProfile& ini) {
  const MainSettings d;
  MainSettings s;
  s.font = ReadFont(ini, "FontName", "FontSize", "FontColor", d.font);
  s.font_read_only =
      ReadFont(ini, "FontNameReadOnly", "FontSizeReadOnly", "FontColorReadOnly", d.font_read_only);
  s.back_color = ReadColor(ini, kColorSection, "BackColor", d.back_color);
  s.back_color_read_only =
      ReadColor(ini, kColorSection, "BackColorReadOnly", d.back_color_read_only);
  s.reserve_color = ReadColor(ini, kColorSection, "ReserveColor", d.reserve_color);
  s.select_font_color = ReadColor(ini, kColorSection, "SelectFontColor", d.select_font_color);
  s.select_back_color = ReadColor(ini, kColorSection, "SelectBackColor", d.select_back_color);
  s.kigou_color = ReadColor(ini, kColorSection, "KigouColor", d.kigou_color);
  s.under_line_color = ReadColor(ini, kColorSection, "UnderLineColor", d.under_line_color);

  s.row_visible = ini.ReadBool(kEditor, "RowVisible", d.row_visible);
  s.col_visible = ini.ReadBool(kEditor, "ColVisible", d.col_visible);
  s.under_line_visible = ini.ReadBool(kEditor, "UnderLineVisible", d.under_line_visible);
  s.read_menu.auto_detect = ini.ReadBool(kEditor, "ReadAuto", d.read_menu.auto_detect);
  for (size_t i = 0; i < kReadKeys.size(); ++i)
    s.read_menu.codes[i] = ini.ReadBool(kEditor, kReadKeys[i], d.read_menu.codes[i]);
  s.crlf_mark = ini.ReadBool(kEditor, "CrLf", d.crlf_mark);
  s.eof_mark = ini.ReadBool(kEditor, "EOF", d.eof_mark);
  s.tab_mark = ini.ReadBool(kEditor, "Tab", d.tab_mark);
  s.dbcs_mark = ini.ReadBool(kEditor, "DBCS", d.dbcs_mark);
  s.close_esc_key = ini.ReadBool(kEditor, "CloseESCkey", d.close_esc_key);
  s.close_enter_key = ini.ReadBool(kEditor, "CloseENTERkey", d.close_enter_key);
  s.close_q_key = ini.ReadBool(kEditor, "CloseQkey", d.close_q_key);
  s.close_x_key = ini.ReadBool(kEditor, "CloseXkey", d.close_x_key);
  s.wrap = ReadWrapMode(ini);
  s.caret_move_next = ini.ReadBool(kEditor, "CaretMoveNext", d.caret_move_next);
  s.caret_move_free = ini.ReadBool(kEditor, "CaretMoveFree", d.caret_move_free);
  s.caret_auto_indent = ini.ReadBool(kEditor, "CaretAutoIndent", d.caret_auto_indent);
  s.tab_width = ReadTabWidth(ini);
  s.crlf_not_include = ini.ReadBool(kEditor, "CrlfNotInclude", d.crlf_not_include);
  s.select_length_char = ini.ReadBool(kEditor, "SelectLengthChar", d.select_length_char);
  s.status_bar_top = ini.ReadBool("StatusBar", "PositionTop", d.status_bar_top);
  s.status_bar_bottom = ini.ReadBool("StatusBar", "PositionBottom", d.status_bar_bottom);
  s.open_save_dialog_xp_style =
      ini.ReadBool("OpenSaveDialog", "XpStyle", d.open_save_dialog_xp_style);
  s.placement = ReadPlacement(ini, "FormMain", d.placement);

  for (size_t i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i + 1);
    s.favorite_folder_files[i] = ReadText(ini, "Favorite" + n, "FolderFile", "");
    s.launcher_folder_files[i] = ReadText(ini, "Launcher" + n, "FolderFile", "");
  }
  s.load_folder_file = ReadText(ini, "Load", "FolderFile", "");
  s.save_folder_file = ReadText(ini, "Save", "FolderFile", "");
  s.reserve_folder_file = ReadText(ini, "Reserve", "FolderFile", "");
  s.warning_show = ini.ReadBool("Wraning", "Show", d.warning_show);
  return s;
}

std::vector<PrivateProfile::Entry> ShutDownEntries(const MainSettings& s) {
  EntryList e;
  e.Font("FontName", "FontSize", "FontColor", s.font);
  e.Font("FontNameReadOnly", "FontSizeReadOnly", "FontColorReadOnly", s.font_read_only);
  e.Color("BackColor", s.back_color);
  e.Color("BackColorReadOnly", s.back_color_read_only);
  e.Color("ReserveColor", s.reserve_color);
  e.Color("SelectFontColor", s.select_font_color);
  e.Color("SelectBackColor", s.select_back_color);
  e.Color("KigouColor", s.kigou_color);
  e.Color("UnderLineColor", s.under_line_color);

  e.Bool(kEditor, "RowVisible", s.row_visible);
  e.Bool(kEditor, "ColVisible", s.col_visible);
  e.Bool(kEditor, "UnderLineVisible", s.under_line_visible);
  e.Bool(kEditor, "ReadAuto", s.read_menu.auto_detect);
  for (size_t i = 0; i < kReadKeys.size(); ++i) e.Bool(kEditor, kReadKeys[i], s.read_menu.codes[i]);
  e.Bool(kEditor, "CrLf", s.crlf_mark);
  e.Bool(kEditor, "EOF", s.eof_mark);
  e.Bool(kEditor, "Tab", s.tab_mark);
  e.Bool(kEditor, "DBCS", s.dbcs_mark);
  e.Bool(kEditor, "CloseESCkey", s.close_esc_key);
  e.Bool(kEditor, "CloseENTERkey", s.close_enter_key);
  e.Bool(kEditor, "CloseQkey", s.close_q_key);
  e.Bool(kEditor, "CloseXkey", s.close_x_key);
  e.Bool(kEditor, "WrapNone", s.wrap == WrapMode::None);
  e.Bool(kEditor, "WrapLength", s.wrap == WrapMode::Length);
  e.Bool(kEditor, "WrapWindowWidth", s.wrap == WrapMode::WindowWidth);
  e.Bool(kEditor, "CaretMoveNext", s.caret_move_next);
  e.Bool(kEditor, "CaretMoveFree", s.caret_move_free);
  e.Bool(kEditor, "CaretAutoIndent", s.caret_auto_indent);
  for (size_t i = 0; i < kTabKeys.size(); ++i)
    e.Bool(kEditor, kTabKeys[i], s.tab_width == kTabWidths[i]);
  e.Bool(kEditor, "CrlfNotInclude", s.crlf_not_include);
  e.Bool(kEditor, "SelectLengthChar", s.select_length_char);
  e.Bool("StatusBar", "PositionTop", s.status_bar_top);
  e.Bool("StatusBar", "PositionBottom", s.status_bar_bottom);
  e.Bool("OpenSaveDialog", "XpStyle", s.open_save_dialog_xp_style);
  return e.Take();
}

Status WriteMainSettings(PrivateProfile& ini, const MainSettings& s) {
  if (Status st = ini.WriteStrings(ShutDownEntries(s)); !st) return st;
  return WritePlacement(ini, "FormMain", s.placement.state, s.placement.bounds);
}

Status WriteFontChoice(PrivateProfile& ini, Protection p, const FontChoice& f) {
  EntryList e;
  if (p == Protection::ReadOnly)
    e.Font("FontNameReadOnly", "FontSizeReadOnly", "FontColorReadOnly", f);
  else
    e.Font("FontName", "FontSize", "FontColor", f);
  return ini.WriteStrings(e.Take());
}

Status WriteBackColor(PrivateProfile& ini, Protection p, TColor c) {
  return ini.WriteString(
      kColorSection, p == Protection::ReadOnly ? "BackColorReadOnly" : "BackColor", ColorToText(c));
}

Status WriteWrapMode(PrivateProfile& ini, WrapMode mode) {
  EntryList e;
  e.Bool(kEditor, "WrapNone", mode == WrapMode::None);
  e.Bool(kEditor, "WrapLength", mode == WrapMode::Length);
  e.Bool(kEditor, "WrapWindowWidth", mode == WrapMode::WindowWidth);
  return ini.WriteStrings(e.Take());
}

Status WriteWrapByte(PrivateProfile& ini, int wrap_byte) {
  return ini.WriteString(kEditor, "WrapByte", std::to_string(wrap_byte));
}

Status WriteStatusBarVisible(PrivateProfile& ini, StatusBarPosition bar, bool visible) {
  return ini.WriteBool("StatusBar",
                       bar == StatusBarPosition::Top ? "PositionTop" : "PositionBottom", visible);
}

EditorScheme SchemeFor(const MainSettings& s, Protection p) {
  if (p == Protection::ReadOnly) return {s.font_read_only, s.back_color_read_only};
  return {s.font, s.back_color};
}

TColor TabMarkColor(const MainSettings& s) {
  return s.tab_mark ? s.kigou_color : s.back_color;
}
TColor DbcsMarkColor(const MainSettings& s) {
  return s.dbcs_mark ? s.kigou_color : s.back_color;
}

EditorViewOptions ViewOptionsFor(const MainSettings& s) {
  EditorViewOptions v;
  v.left_bar = s.row_visible;
  v.ruler = s.col_visible;
  v.under_line = s.under_line_visible;
  v.ret_mark = s.crlf_mark;
  v.eof_mark = s.eof_mark;
  v.reserve_color = s.reserve_color;
  v.select_color = s.select_font_color;
  v.select_back_color = s.select_back_color;
  v.mark_color = s.kigou_color;
  v.under_line_color = s.under_line_color;
  v.tab_mark_color = TabMarkColor(s);
  v.dbcs_mark_color = DbcsMarkColor(s);
  v.next_line = s.caret_move_next;
  v.free_caret = s.caret_move_free;
  v.auto_indent = s.caret_auto_indent;
  v.tab_space_count = s.tab_width;
  return v;
}

int ReadWrapByte(const PrivateProfile& ini) {
  const int v = ini.ReadInteger(kEditor, "WrapByte", kDefaultWrapByte);
  return v > 0 ? v : kDefaultWrapByte;
}

WrapSetting WrapFor(WrapMode mode, int wrap_byte, int visible_cols) {
  switch (mode) {
    case WrapMode::None:
      return {false, wrap_byte};
    case WrapMode::Length:
      return {true, wrap_byte};
    case WrapMode::WindowWidth:
      break;
  }
  return {true, std::max(1, visible_cols - 1)};
}

std::optional<std::string> SettingsFileProblem(const PrivateProfile& ini) {
  if (!ini.Oversized()) return std::nullopt;
  return "設定ファイルが大きすぎるので読み込みません。\r\n既定の設定で起動し、設定は保存しません。\r\n" +
         ini.path();
}

}  // namespace tessary
