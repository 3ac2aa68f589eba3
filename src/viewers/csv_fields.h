// Cutting a CSV list line into its fields, and the whole-character search inside them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// The table shows this many field columns; a line's later fields are not shown.
inline constexpr int kCsvFieldColumns = 96;

// The fields of one Shift-JIS line (without its line end), as views into the line:
// - with a TAB anywhere, the pieces between TABs (quotes and commas are plain characters);
// - else, when the line opens with a double quote: a rest whose first quote is its last
//   character (or an empty rest) gives one field, the line without its first and last
//   characters; otherwise the rest is cut at every `","` and the last piece loses its last
//   character;
// - else the pieces between commas; a line without any gives itself.
// Doubled quotes stay doubled and a record never continues on the next line. TAB, quote and
// comma never occur inside a double-byte character, so cutting at bytes is safe. At most
// `limit` fields are returned (the table has no room for more).
void StringToCsvList(std::string_view line, std::vector<std::string_view>& fields,
                     size_t limit = kCsvFieldColumns);
[[nodiscard]] std::vector<std::string_view> StringToCsvList(std::string_view line,
                                                            size_t limit = kCsvFieldColumns);

// A search word prepared once for many cells: a cell matches when, with the letters a-z of
// its single-byte characters upper-cased, it holds the word upper-cased the same way, the
// match starting and ending on character boundaries. So "a" never matches the trail byte of
// "ア" (83 41), and a trail byte is never upper-cased into another character's.
class CsvCellMatcher {
 public:
  explicit CsvCellMatcher(std::string_view sjis_word);

  [[nodiscard]] bool Matches(std::string_view cell) const;
  // False when no cell of the line can match: a quick test over the whole line's bytes
  // (every cell is a piece of its line), with `scratch` reused from line to line.
  [[nodiscard]] bool MayMatchIn(std::string_view line, std::string& scratch) const;
  [[nodiscard]] bool Empty() const { return word_.empty(); }

 private:
  std::string word_;  // upper-cased by characters
};

// The display width of a Shift-JIS text in half-width columns (a double-byte character is 2).
[[nodiscard]] size_t CsvTextColumns(std::string_view sjis);

}  // namespace tessary
