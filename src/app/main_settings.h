// Every settings key of the main window: read with its default at start-up, all written at exit.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_values.h"
#include "base/color.h"
#include "codec/char_code.h"
#include "platform/private_profile.h"

namespace tessary {

// Texts are UTF-8 in memory; the settings file holds them as Shift-JIS.
struct FontChoice {
  std::string name;
  int size = 14;
  TColor color = clWhite;
  bool operator==(const FontChoice&) const = default;
};

inline constexpr const char* kDefaultFontName = "ＭＳ ゴシック";

// The read menu: an independent automatic-detection mark and a radio group of the seven codes
// (which may also be left with nothing checked by the settings file).
struct ReadCodeMenu {
  bool auto_detect = true;
  std::array<bool, 7> codes{true, false, false, false, false, false, false};  // SJIS .. UTF16Le
  bool Checked(CharCode c) const;
  bool operator==(const ReadCodeMenu&) const = default;
};

enum class WrapMode { None, Length, WindowWidth };

struct MainSettings {
  FontChoice font{kDefaultFontName, 14, clWhite};
  FontChoice font_read_only{kDefaultFontName, 14, clBlack};
  TColor back_color = clBlack;
  TColor back_color_read_only = clWhite;
  TColor reserve_color = clRed;
  TColor select_font_color = clWhite;
  TColor select_back_color = clBlue;
  TColor kigou_color = clBlue;
  TColor under_line_color = clBlue;

  bool row_visible = true;
  bool col_visible = true;
  bool under_line_visible = true;
  ReadCodeMenu read_menu;
  bool crlf_mark = true;
  bool eof_mark = true;
  bool tab_mark = true;
  bool dbcs_mark = true;
  bool close_esc_key = true;
  bool close_enter_key = true;
  bool close_q_key = true;
  bool close_x_key = true;
  WrapMode wrap = WrapMode::WindowWidth;
  bool caret_move_next = true;
  bool caret_move_free = false;
  bool caret_auto_indent = false;
  int tab_width = 4;  // 2, 4, 6 or 8
  bool crlf_not_include = true;
  bool select_length_char = true;
  bool status_bar_top = true;
  bool status_bar_bottom = true;
  bool open_save_dialog_xp_style = false;
  WindowPlacement placement;

  // Read once at start-up for the commands that use them; never written at exit.
  std::array<std::string, 3> favorite_folder_files;
  std::array<std::string, 3> launcher_folder_files;
  std::string load_folder_file;
  std::string save_folder_file;
  std::string reserve_folder_file;
  bool warning_show = true;

  bool operator==(const MainSettings&) const = default;
};

// Every key with its default when the file, the key or a readable value is missing.
MainSettings ReadMainSettings(const PrivateProfile& ini);

// The message shown once at start-up when the settings file is far too large to be a settings
// file: its keys then read as their defaults and it is never rewritten. Nothing otherwise.
std::optional<std::string> SettingsFileProblem(const PrivateProfile& ini);

// The keys written at shut-down: every EditorColor key, every Editor boolean, StatusBar,
// OpenSaveDialog. `Editor`/`WrapByte` is not among them: the wrap-length window writes it and
// every use reads it afresh, so a stale copy never overwrites another process's choice.
std::vector<PrivateProfile::Entry> ShutDownEntries(const MainSettings& s);
// The shut-down write: ShutDownEntries in one rewrite, then the window placement.
Status WriteMainSettings(PrivateProfile& ini, const MainSettings& s);

// ---- keys the view commands write at once (the shut-down write repeats them) ----

enum class Protection { Writable, ReadOnly };
enum class StatusBarPosition { Top, Bottom };
// FontName/FontSize/FontColor, or the three read-only keys.
Status WriteFontChoice(PrivateProfile& ini, Protection p, const FontChoice& f);
// BackColor or BackColorReadOnly.
Status WriteBackColor(PrivateProfile& ini, Protection p, TColor c);
// WrapNone, WrapLength and WrapWindowWidth together.
Status WriteWrapMode(PrivateProfile& ini, WrapMode mode);
// What the wrap-length window stores after its bounds check.
Status WriteWrapByte(PrivateProfile& ini, int wrap_byte);
Status WriteStatusBarVisible(PrivateProfile& ini, StatusBarPosition bar, bool visible);

// ---- how the settings drive the editor ----

// Font and colours of the editor for one protection state (what SetEditorColor applies).
struct EditorScheme {
  FontChoice font;    // also colours the left bar's numbers, the ruler and its caret mark
  TColor background;  // editor, left bar and ruler
  bool operator==(const EditorScheme&) const = default;
};
EditorScheme SchemeFor(const MainSettings& s, Protection p);

// A mark switched off is drawn in the background colour, so it stays invisible.
TColor TabMarkColor(const MainSettings& s);
TColor DbcsMarkColor(const MainSettings& s);

// What a wrap mode sets: WordWrap and, when wrapping, WrapOption.WrapByte.
struct WrapSetting {
  bool word_wrap = false;
  int wrap_byte = 80;
  bool operator==(const WrapSetting&) const = default;
};
inline constexpr int kDefaultWrapByte = 80;
// `Editor`/`WrapByte` as stored (read afresh at every use); unreadable text gives 80.
int ReadWrapByte(const PrivateProfile& ini);
// Window width wraps one column short of the visible columns (at least 1).
WrapSetting WrapFor(WrapMode mode, int wrap_byte, int visible_cols);

// Every editor setting that the view options drive, in the terms of the control's properties.
// Applied at start-up, and the toggles of the view menu change one field each.
struct EditorViewOptions {
  bool left_bar = true;    // Leftbar.Visible, Leftbar.ShowNumber and Leftbar.ZeroLead together
  bool ruler = true;       // Ruler.Visible
  bool under_line = true;  // Marks.Underline.Visible
  bool ret_mark = true;    // Marks.RetMark.Visible
  bool eof_mark = true;    // Marks.EofMark.Visible
  TColor reserve_color = clRed;       // View.Colors.Reserve.Color
  TColor select_color = clWhite;      // View.Colors.Select.Color
  TColor select_back_color = clBlue;  // View.Colors.Select.BkColor
  TColor mark_color = clBlue;         // Marks.RetMark.Color and Marks.EofMark.Color
  TColor under_line_color = clBlue;   // Marks.Underline.Color
  TColor tab_mark_color = clBlue;     // read by the line decorations
  TColor dbcs_mark_color = clBlue;
  bool next_line = true;     // Caret.NextLine
  bool free_caret = false;   // Caret.FreeCaret
  bool auto_indent = false;  // Caret.AutoIndent
  int tab_space_count = 4;   // Caret.TabSpaceCount
  bool operator==(const EditorViewOptions&) const = default;
};
EditorViewOptions ViewOptionsFor(const MainSettings& s);

// The settings keys of the read menu items, in menu order after "ReadAuto".
std::string_view ReadMenuKey(CharCode c);

}  // namespace tessary
