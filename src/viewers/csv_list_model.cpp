// The CSV list window's rules: paging, load all, jump, headings, search and its settings.
#include "viewers/csv_list_model.h"

#include <algorithm>
#include <cstdio>

#include "codec/sjis_text.h"
#include "commands/jump.h"
#include "editor/editor_screen_strings.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/settings_values.h"

namespace tessary {
namespace {

constexpr std::string_view kListSection = "CsvList";
constexpr std::string_view kColorSection = "CsvListColor";

std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

// ---- the lines ----

void CsvLines::ForEach(int32_t first, int32_t end,
                       const std::function<bool(int32_t, std::string_view)>& f) const {
  std::string scratch;
  for (int32_t i = first; i < end; ++i)
    if (!f(i, Line(i, scratch))) return;
}

int32_t DocumentCsvLines::Count() const {
  return document_.LineCount();
}

std::string_view DocumentCsvLines::Line(int32_t i, std::string& scratch) const {
  const int32_t row = document_.LineToRow(i);
  if (!document_.WordWrap()) return document_.GetView(row);
  scratch.clear();
  for (int32_t r = row; r < document_.Count(); ++r) {
    scratch.append(document_.GetView(r));
    if (row_bits::RowAttributeOf(document_.GetWord1(r)) != RowEnd::RowWrapped) break;
  }
  return scratch;
}

void DocumentCsvLines::ForEach(int32_t first, int32_t end,
                               const std::function<bool(int32_t, std::string_view)>& f) const {
  if (first >= end) return;
  int32_t line = first;
  std::string joined;
  bool joining = false;
  document_.ForEachRow(document_.LineToRow(first),
                       [&](int32_t, std::string_view text, uint32_t w1, uint32_t) {
                         if (row_bits::RowAttributeOf(w1) == RowEnd::RowWrapped) {
                           if (!joining)
                             joined.assign(text);
                           else
                             joined.append(text);
                           joining = true;
                           return true;
                         }
                         if (joining) {
                           joined.append(text);
                           text = joined;
                           joining = false;
                         }
                         return f(line, text) && ++line < end;
                       });
  if (joining && line < end) f(line, joined);
}

// ---- settings ----

CsvListLook ReadCsvListLook(const PrivateProfile& ini) {
  const CsvListLook d;
  CsvListLook look;
  look.font_name = SjisToUtf8(ini.ReadString(kColorSection, "FontName", Utf8ToSjis(d.font_name)));
  look.font_size = ReadFontSize(ini, kColorSection, "FontSize", d.font_size);
  look.font_color = ReadColor(ini, kColorSection, "FontColor", d.font_color);
  look.back_color = ReadColor(ini, kColorSection, "BackColor", d.back_color);
  return look;
}

Status WriteCsvListLook(PrivateProfile& ini, const CsvListLook& look) {
  const std::string section(kColorSection);
  return ini.WriteStrings({
      {section, "FontName", Utf8ToSjis(look.font_name)},
      {section, "FontSize", std::to_string(look.font_size)},
      {section, "FontColor", ColorToText(look.font_color)},
      {section, "BackColor", ColorToText(look.back_color)},
  });
}

Status StoreCsvListLine(PrivateProfile& ini, int32_t line) {
  return ini.WriteInteger(kListSection, "LineNum", line);
}

int32_t StoredCsvListLine(const PrivateProfile& ini, int32_t line_count) {
  const int stored = ini.ReadInteger(kListSection, "LineNum", 0);
  return std::clamp<int32_t>(stored, 0, std::max(line_count, 1) - 1);
}

std::string CsvRowCaption(int32_t line) {
  char text[16];
  std::snprintf(text, sizeof text, "%05d", line + 1);
  return text;
}

std::string CsvColumnCaption(int column) {
  return TwoDigits(column);
}

// ---- the model ----

CsvListModel::CsvListModel(CsvListPorts ports)
    : ports_(ports), history_(MruShape{kFindHistoryLength, MruLength::UpTo, ""}) {
  look_ = ReadCsvListLook(PrivateProfile(ports_.home.SettingsFile()));
  history_.Load(ports_.home.PathOf(WorkingFile::Find), EscapedSjisListCodec());
  for (int k = 1; k <= kCsvFieldColumns; ++k) headings_[static_cast<size_t>(k - 1)] = TwoDigits(k);
}

void CsvListModel::Start() {
  const PrivateProfile ini(ports_.home.SettingsFile());
  // A hand-edited or foreign settings file must not give a page of no lines or no width.
  page_size_index_ = std::clamp(ini.ReadInteger(kListSection, "DispNum", kCsvDefaultPageSizeIndex),
                                0, kCsvPageSizeCount - 1);
  col_width_index_ = std::clamp(ini.ReadInteger(kListSection, "ColWidth", kCsvDefaultColWidthIndex),
                                0, kCsvColWidthCount - 1);
  start_line_ = StoredCsvListLine(ini, Lines());
  Fill(start_line_);
}

int32_t CsvListModel::ClampLine(int32_t line) const {
  return std::clamp<int32_t>(line, 0, std::max(Lines(), 1) - 1);
}

void CsvListModel::RowFields(int32_t row, std::string& scratch,
                             std::vector<std::string_view>& fields) const {
  StringToCsvList(ports_.lines.Line(first_line_ + row, scratch), fields);
}

void CsvListModel::Fill(int32_t page_top) {
  first_line_ = ClampLine(page_top);
  row_count_ = std::clamp<int32_t>(Lines() - first_line_, 0, PageSize());
  ++generation_;
  ForgetHitField();
  selected_ = row_count_ > 0 ? 0 : -1;
  scroll_ = CsvScroll::Top;
}

void CsvListModel::SelectAndCentre(int32_t row) {
  selected_ = row_count_ > 0 ? std::clamp(row, 0, row_count_ - 1) : -1;
  scroll_ = CsvScroll::Centre;
}

void CsvListModel::Select(int32_t row, CsvSelectionBy by) {
  selected_ = row >= 0 && row < row_count_ ? row : -1;
  if (by == CsvSelectionBy::User) ForgetHitField();
}

std::string CsvListModel::FirstCaption() const {
  return row_count_ > 0 ? RowCaption(0) : std::string();
}

std::string CsvListModel::LastCaption() const {
  return row_count_ > 0 ? RowCaption(row_count_ - 1) : std::string();
}

void CsvListModel::MenuCsvListNextClick(int visible_rows) {
  if (all_lines_) {
    SelectAndCentre(std::max(selected_, 0) + std::max(visible_rows, 1));
    scroll_ = CsvScroll::Top;
    ForgetHitField();
    return;
  }
  if (first_line_ >= Lines() - 1) return;
  Fill(std::min(first_line_ + PageSize(), Lines() - 1));
}

void CsvListModel::MenuCsvListPrevClick(int visible_rows) {
  if (all_lines_) {
    SelectAndCentre(std::max(selected_, 0) - std::max(visible_rows, 1));
    scroll_ = CsvScroll::Top;
    ForgetHitField();
    return;
  }
  if (first_line_ == 0) return;
  Fill(std::max(first_line_ - PageSize(), 0));
}

void CsvListModel::MenuCsvListTopClick() {
  if (all_lines_) {
    SelectAndCentre(0);
    ForgetHitField();
  } else if (first_line_ != 0) {
    Fill(0);
  }
}

void CsvListModel::MenuCsvListEndClick() {
  if (all_lines_) {
    SelectAndCentre(row_count_ - 1);
    ForgetHitField();
  } else if (first_line_ < Lines() - 1) {
    Fill(Lines() - 1);  // the last page holds the last line alone
  }
}

void CsvListModel::ComboBox1Change(int index) {
  page_size_index_ = std::clamp(index, 0, kCsvPageSizeCount - 1);
  if (!all_lines_) Fill(first_line_);
}

void CsvListModel::ComboBox2Change(int index) {
  col_width_index_ = std::clamp(index, 0, kCsvColWidthCount - 1);
}

bool CsvListModel::MenuCsvListLoadAllClick() {
  if (Lines() > kCsvLoadAllQuietLines &&
      ports_.messages.AskYesNo(std::string(csv_text::kAskLoadAll)) != Answer::Yes)
    return false;
  all_lines_ = true;
  first_line_ = 0;
  row_count_ = Lines();
  ++generation_;
  ForgetHitField();
  SelectAndCentre(ClampLine(ports_.caret_line));
  return true;
}

void CsvListModel::JumpConfirmed() {
  const int32_t index = JumpLineIndex(StoredJumpEntry(ports_.home), Lines());
  if (all_lines_) {
    SelectAndCentre(index);
    ForgetHitField();
  } else {
    Fill(index);
  }
}

void CsvListModel::MenuMoveStartPositionClick() {
  if (all_lines_) {
    SelectAndCentre(start_line_);
    ForgetHitField();
  } else {
    Fill(start_line_);
  }
}

bool CsvListModel::MenuAddHeaderClick() {
  if (selected_ < 0) return false;
  std::string scratch;
  std::vector<std::string_view> fields;
  RowFields(selected_, scratch, fields);
  for (size_t k = 0; k < headings_.size(); ++k) {
    headings_[k] = TwoDigits(static_cast<int>(k + 1)) + " ";
    if (k < fields.size()) headings_[k] += SjisToUtf8(fields[k]);
  }
  return true;
}

// ---- search ----

bool CsvListModel::TakeHits(int32_t row, std::string_view line, int from_field,
                            const CsvCellMatcher& matcher) {
  std::vector<std::string_view> fields;
  StringToCsvList(line, fields);
  std::string numbers;
  int last = -1;
  for (int k = std::max(from_field, 0); k < static_cast<int>(fields.size()); ++k) {
    if (!matcher.Matches(fields[static_cast<size_t>(k)])) continue;
    if (!numbers.empty()) numbers += '/';
    numbers += TwoDigits(k + 1);
    last = k;
  }
  if (last < 0) return false;
  hit_row_ = row;
  hit_col_ = last;
  label_ = "行:";
  label_ += RowCaption(row);
  label_ += " 桁:";
  label_ += numbers;
  SelectAndCentre(row);
  return true;
}

bool CsvListModel::SearchRows(const CsvCellMatcher& matcher, SearchDirection direction) {
  if (row_count_ == 0) return false;
  std::string folded;
  const int first_field = hit_col_ + 1;
  if (direction == SearchDirection::Next) {
    const int32_t from = std::max(selected_, 0);
    bool found = false;
    ports_.lines.ForEach(first_line_ + from, first_line_ + row_count_,
                         [&](int32_t line, std::string_view text) {
                           if (!matcher.MayMatchIn(text, folded)) return true;
                           const int32_t row = line - first_line_;
                           found = TakeHits(row, text, row == from ? first_field : 0, matcher);
                           return !found;
                         });
    return found;
  }
  if (selected_ < 0) return false;
  std::string scratch;
  for (int32_t row = selected_; row >= 0; --row) {
    const std::string_view text = ports_.lines.Line(first_line_ + row, scratch);
    if (!matcher.MayMatchIn(text, folded)) continue;
    if (TakeHits(row, text, row == selected_ ? first_field : 0, matcher)) return true;
  }
  return false;
}

bool CsvListModel::Search(std::string_view word, SearchDirection direction) {
  if (word.empty()) {
    ports_.messages.ShowMessage(std::string(find_text::kNoWord));
    return false;
  }
  history_.Push(std::string(word));
  // A word Shift-JIS cannot hold is in no cell of a Shift-JIS document.
  const std::optional<std::string> sjis = Utf8ToSjisExact(word);
  if (sjis && SearchRows(CsvCellMatcher(*sjis), direction)) return true;
  label_ = csv_text::kEmptyLabel;
  std::string message(csv_text::kNotFound);
  message += word;
  ports_.messages.ShowMessage(message);
  return false;
}

// ---- widths ----

std::vector<std::vector<std::string>> CsvListModel::WidestCells(size_t per_column) const {
  struct Candidate {
    size_t columns;
    std::string text;  // Shift-JIS
  };
  std::vector<std::vector<Candidate>> best(kCsvFieldColumns);
  std::vector<std::string_view> fields;
  ports_.lines.ForEach(first_line_, first_line_ + row_count_, [&](int32_t, std::string_view line) {
    StringToCsvList(line, fields);
    for (size_t k = 0; k < fields.size(); ++k) {
      std::vector<Candidate>& column = best[k];
      if (column.size() == per_column && fields[k].size() <= column.back().columns) continue;
      const size_t width = CsvTextColumns(fields[k]);
      if (column.size() == per_column && width <= column.back().columns) continue;
      if (std::any_of(column.begin(), column.end(),
                      [&](const Candidate& c) { return c.text == fields[k]; }))
        continue;
      if (column.size() == per_column) column.pop_back();
      const auto at = std::find_if(column.begin(), column.end(),
                                   [&](const Candidate& c) { return c.columns < width; });
      column.insert(at, Candidate{width, std::string(fields[k])});
    }
    return true;
  });
  std::vector<std::vector<std::string>> texts(kCsvFieldColumns);
  for (size_t k = 0; k < best.size(); ++k)
    for (const Candidate& c : best[k]) texts[k].push_back(SjisToUtf8(c.text));
  return texts;
}

// ---- closing ----

void CsvListModel::Close() {
  PrivateProfile ini(ports_.home.SettingsFile());
  const std::string section(kListSection);
  std::vector<PrivateProfile::Entry> entries{
      {section, "DispNum", std::to_string(page_size_index_)},
      {section, "ColWidth", std::to_string(col_width_index_)},
  };
  // Without a selected row the line written at opening stays for the main window.
  if (selected_ >= 0)
    entries.push_back({section, "LineNum", std::to_string(first_line_ + selected_)});
  // Closing goes on when the settings or the history cannot be written: the window then opens
  // as it did before.
  ini.WriteStrings(entries).IgnoreFailure();
  WriteCsvListLook(ini, look_).IgnoreFailure();
  history_.Save(ports_.home.PathOf(WorkingFile::Find), EscapedSjisListCodec()).IgnoreFailure();
}

}  // namespace tessary
