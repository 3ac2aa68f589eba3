// Cutting CSV list lines into fields and matching search words in them by whole characters.
#include "viewers/csv_fields.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/sjis.h"

namespace tessary {
namespace {

void AddField(std::vector<std::string_view>& fields, size_t limit, std::string_view piece) {
  if (fields.size() < limit) fields.push_back(piece);
}

// Pieces of `text` between occurrences of `separator`.
void CutAt(std::string_view text, std::string_view separator, std::vector<std::string_view>& fields,
           size_t limit) {
  size_t start = 0;
  while (fields.size() < limit) {
    const size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      AddField(fields, limit, text.substr(start));
      return;
    }
    AddField(fields, limit, text.substr(start, at - start));
    start = at + separator.size();
  }
}

void CutQuoted(std::string_view line, std::vector<std::string_view>& fields, size_t limit) {
  const std::string_view rest = line.substr(1);
  if (rest.empty() || rest.find('"') == rest.size() - 1) {
    // One field: the line without its first and last character ("" for a lone quote).
    AddField(fields, limit, rest.empty() ? rest : rest.substr(0, rest.size() - 1));
    return;
  }
  CutAt(rest, "\",\"", fields, limit);
  // The last piece loses its closing quote (or whatever character ends the line), but only
  // when it is the line's own last piece, not one cut off by the limit.
  if (fields.empty()) return;
  std::string_view& last = fields.back();
  if (last.data() + last.size() == rest.data() + rest.size() && !last.empty())
    last.remove_suffix(1);
}

constexpr std::array<char, 256> MakeUpperTable() {
  std::array<char, 256> t{};
  for (int i = 0; i < 256; ++i)
    t[static_cast<size_t>(i)] = static_cast<char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
  return t;
}
constexpr std::array<char, 256> kUpper = MakeUpperTable();

char Upper(char c) {
  return kUpper[static_cast<uint8_t>(c)];
}

// Upper-cases the letters of single-byte characters only: a trail byte stays as it is.
std::string UpperByCharacters(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    const size_t n = sjis::CharLength(text, i);
    if (n == 1) out[i] = Upper(out[i]);
    i += n;
  }
  return out;
}

// Whether `word` (upper-cased by characters) stands in `cell` at the character start `at`,
// ending on a character boundary of the cell.
bool MatchesAt(std::string_view cell, size_t at, std::string_view word) {
  size_t w = 0;
  size_t i = at;
  while (w < word.size()) {
    if (i >= cell.size()) return false;
    const size_t n = sjis::CharLength(cell, i);
    if (n == 1) {
      if (Upper(cell[i]) != word[w]) return false;
    } else if (w + 1 >= word.size() || cell[i] != word[w] || cell[i + 1] != word[w + 1]) {
      return false;
    }
    i += n;
    w += n;
  }
  return w == word.size();
}

}  // namespace

void StringToCsvList(std::string_view line, std::vector<std::string_view>& fields, size_t limit) {
  fields.clear();
  if (limit == 0) return;
  if (line.find('\t') != std::string_view::npos) return CutAt(line, "\t", fields, limit);
  if (!line.empty() && line.front() == '"') return CutQuoted(line, fields, limit);
  CutAt(line, ",", fields, limit);
}

std::vector<std::string_view> StringToCsvList(std::string_view line, size_t limit) {
  std::vector<std::string_view> fields;
  StringToCsvList(line, fields, limit);
  return fields;
}

CsvCellMatcher::CsvCellMatcher(std::string_view sjis_word) : word_(UpperByCharacters(sjis_word)) {}

bool CsvCellMatcher::Matches(std::string_view cell) const {
  if (word_.empty() || cell.size() < word_.size()) return false;
  for (size_t i = 0; i + word_.size() <= cell.size(); i += sjis::CharLength(cell, i))
    if (MatchesAt(cell, i, word_)) return true;
  return false;
}

bool CsvCellMatcher::MayMatchIn(std::string_view line, std::string& scratch) const {
  if (word_.empty() || line.size() < word_.size()) return false;
  scratch.resize(line.size());
  std::transform(line.begin(), line.end(), scratch.begin(), Upper);
  return std::string_view(scratch).find(word_) != std::string_view::npos;
}

size_t CsvTextColumns(std::string_view sjis) {
  size_t columns = 0;
  for (size_t i = 0; i < sjis.size(); i += sjis::CharLength(sjis, i))
    columns += sjis::CharLength(sjis, i);
  return columns;
}

}  // namespace tessary
