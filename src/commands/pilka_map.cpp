// Reading, ordering and copying a Pilka keyboard map.
#include "commands/pilka_map.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "base/line_split.h"

namespace tessary {
namespace {

constexpr size_t kFixedWidthGap = 2;  // blanks after the longest value of a column

std::array<const std::string*, 4> Fields(const PilkaRow& row) {
  return {&row.category, &row.command, &row.keys, &row.function};
}

void AppendLine(std::string& out, const PilkaRow& row) {
  out += row.category;
  out += '\t';
  out += row.command;
  out += '\t';
  out += row.keys;
  out += '\t';
  out += row.function;
}

}  // namespace

std::optional<PilkaRow> ParsePilkaLine(std::string_view line) {
  // A TAB byte is never the trail byte of a Shift-JIS character, so bytes can be searched.
  std::array<size_t, 3> tabs{};
  size_t from = 0;
  for (size_t& tab : tabs) {
    tab = line.find('\t', from);
    if (tab == std::string_view::npos) return std::nullopt;
    from = tab + 1;
  }
  PilkaRow row;
  row.category = line.substr(0, tabs[0]);
  row.command = line.substr(tabs[0] + 1, tabs[1] - tabs[0] - 1);
  row.keys = line.substr(tabs[1] + 1, tabs[2] - tabs[1] - 1);
  row.function = line.substr(tabs[2] + 1);
  return row;
}

std::optional<std::vector<PilkaRow>> ParsePilkaMap(std::string_view text) {
  std::vector<PilkaRow> rows;
  LineSplitter lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    std::optional<PilkaRow> row = ParsePilkaLine(line);
    if (!row) return std::nullopt;
    rows.push_back(std::move(*row));
  }
  return rows;
}

std::string PilkaFirstKey(std::string_view keys) {
  // ",," is the comma key and its separator; any other comma only separates. A comma byte is
  // never a Shift-JIS trail byte.
  std::string first;
  for (size_t i = 0; i < keys.size(); ++i) {
    const char c = keys[i];
    if (c == ',') {
      if (i + 1 < keys.size() && keys[i + 1] == ',') first += ',';
      break;
    }
    if (c != ' ') first += c;
  }
  return first;
}

std::vector<size_t> SortedPilkaOrder(const std::vector<PilkaRow>& rows) {
  std::vector<KeySortEntry> entries;
  entries.reserve(rows.size());
  for (const PilkaRow& row : rows)
    entries.push_back(
        KeySortEntry{ModifierGroupOf(PilkaFirstKey(row.keys)), KeyMapSortKey(row.keys)});
  return SortedEntryOrder(entries);
}

std::string PilkaTabSeparatedText(const std::vector<PilkaRow>& rows) {
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) text += kCrLf;
    AppendLine(text, rows[i]);
  }
  return text;
}

std::string PilkaFixedWidthText(const std::vector<PilkaRow>& rows) {
  std::array<size_t, 4> widths{};
  for (const PilkaRow& row : rows) {
    const auto fields = Fields(row);
    for (size_t f = 0; f < fields.size(); ++f) widths[f] = std::max(widths[f], fields[f]->size());
  }
  const size_t line_bytes = std::accumulate(widths.begin(), widths.end(), size_t{0}) +
                            widths.size() * kFixedWidthGap + kCrLf.size();
  std::string text;
  text.reserve(rows.size() * line_bytes);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) text += kCrLf;
    const auto fields = Fields(rows[i]);
    for (size_t f = 0; f < fields.size(); ++f) {
      text += *fields[f];
      text.append(widths[f] + kFixedWidthGap - fields[f]->size(), ' ');
    }
  }
  return text;
}

PilkaMapModel::PilkaMapModel(PilkaDocumentText document_text, Clipboard& clipboard,
                             Messages& messages)
    : document_text_(std::move(document_text)), clipboard_(clipboard), messages_(messages) {}

void PilkaMapModel::Start() {
  SetText(document_text_ ? document_text_() : std::string());
  view_ = PilkaView::Text;
  Validate(PilkaOrder::Text);
}

void PilkaMapModel::PasteFromDocument() {
  SetText(document_text_ ? document_text_() : std::string());
  text_is_new_ = true;
}

void PilkaMapModel::PasteFromClipboard() {
  SetText(clipboard_.Text().value_or(std::string()));
  text_is_new_ = true;
}

void PilkaMapModel::ShowText() {
  view_ = PilkaView::Text;
}

void PilkaMapModel::ShowList() {
  view_ = PilkaView::List;
  if (text_is_new_) Validate(PilkaOrder::Text);
}

void PilkaMapModel::ListInOrder(PilkaOrder order) {
  Validate(order);
}

void PilkaMapModel::CopyTabSeparated() {
  if (!rows_.empty()) Copy(PilkaTabSeparatedText(rows_));
}

void PilkaMapModel::CopyFixedWidth() {
  if (!rows_.empty()) Copy(PilkaFixedWidthText(rows_));
}

PilkaButtons PilkaMapModel::buttons() const {
  const bool list = view_ == PilkaView::List;
  return PilkaButtons{.paste = !list, .sort = list, .copy = list && !rows_.empty()};
}

void PilkaMapModel::SetText(std::string text) {
  text_ = std::move(text);
  ++text_revision_;
}

// A text that is not a map leaves an empty list behind, so no copy can carry rows of an
// earlier text that the user no longer sees.
void PilkaMapModel::Validate(PilkaOrder order) {
  text_is_new_ = false;
  order_ = order;
  std::optional<std::vector<PilkaRow>> rows = ParsePilkaMap(text_);
  rows_ = rows ? std::move(*rows) : std::vector<PilkaRow>();
  if (order == PilkaOrder::Sorted) {
    shown_ = SortedPilkaOrder(rows_);
  } else {
    shown_.resize(rows_.size());
    std::iota(shown_.begin(), shown_.end(), size_t{0});
  }
  ++list_revision_;
  if (!rows) messages_.ShowMessage(kNotPilkaMapMessage);
}

void PilkaMapModel::Copy(const std::string& text) {
  clipboard_.SetText(text, ClipboardShape::Stream);
  messages_.ShowMessage(kPilkaCopiedMessage);
}

}  // namespace tessary
