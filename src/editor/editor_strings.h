// Lines: the logical-line view of a document, with the whole-text operations and the file loader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "editor/the_string_list.h"

namespace tessary {

class TEditorScreenStrings;
class EditorView;
class TextLines;

// Stores no text: every operation maps logical line indexes to rows of the document. An index
// outside the lines raises EListError, as the string lists do.
class TEditorStrings {
 public:
  explicit TEditorStrings(TEditorScreenStrings& document) : document_(document) {}

  int32_t Count() const;
  std::string Get(int32_t i) const;
  void Put(int32_t i, std::string_view s);
  void Insert(int32_t i, std::string_view s);
  int32_t Add(std::string_view s);  // returns the former Count
  void Delete(int32_t i);
  void Clear();

  void SetTextStr(std::string_view s);
  std::string GetTextStr() const;
  // Takes the whole text of another list (each entry followed by CR LF), then puts the owner's
  // caret on the last row, column 0.
  void Assign(const TheStringList& other);
  void Assign(const TEditorStrings& other);
  // Replaces the text by the loaders' packed lines.
  void SetTextLines(const TextLines& lines);
  // The same, giving the lines' memory back as they are taken in.
  void SetTextLines(TextLines&& lines);

  // Reads the file as Shift-JIS in 8192-byte blocks: CR, LF and CR LF end lines (also a CR LF
  // split by a block boundary), a zero byte hides the rest of its block, byte 26 ends the text.
  // On failure the document is empty and the error names the file.
  Status LoadFromFile(const std::string& path);

  void SetUpdateState(bool updating);
  TEditorScreenStrings& Document() { return document_; }

 private:
  EditorView* Owner() const;
  [[nodiscard]] Status LoadRows(const std::string& path);
  void BeginChange() const;
  void EndChange(int32_t row, size_t insertedLength) const;
  void CheckLine(int32_t i, int32_t limit) const {
    if (i < 0 || i >= limit) throw EListError();
  }

  TEditorScreenStrings& document_;
  int32_t update_count_ = 0;
};

}  // namespace tessary
