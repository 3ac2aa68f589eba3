// The control's tokenizer, the coloured runs of a drawn row, and the document's row-state plug.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "editor/editor_fountain.h"
#include "editor/row_state_tokenizer.h"

namespace tessary {

// Adds, before the first-byte table and in this order: mail addresses, URLs, the commenter,
// the quotation character, "#$" and "#" control codes, and hexadecimal numbers after HexPrefix.
// ' and " are plain symbols here.
class TEditorParser : public TFountainParser {
 public:
  explicit TEditorParser(const TEditorFountain& fountain)
      : TFountainParser(fountain), editorFountain_(fountain) {}

 protected:
  void ScanNew() override;
  void ScanContinued(uint8_t kind) override;
  bool RunsToItsEnd(uint8_t kind) const override;
  const TFountainColor* KindColor(uint8_t kind) const override;
  bool QuotesAreTokens() const override { return false; }

 private:
  bool TryMail();
  bool TryUrl();
  void ScanSet(const bool (&set)[256]);

  const TEditorFountain& editorFountain_;
};

// One run of a drawn row. Runs tile the row: bytes between tokens (blanks and control bytes
// that separate tokens) form runs of kind token::kEof with no colour.
struct TTokenRun {
  int32_t start = 0;
  int32_t length = 0;
  uint8_t kind = 0;  // the token kind, kReserve for a reserved word
  TColor color = clNone;
  TColor bkColor = clNone;
  TFontStyles style;
  bool operator==(const TTokenRun&) const = default;
};

// The runs of `row` from its stored starting state (state.RowAttribute is the row's own).
// nextRow is the following row's text, used only when the row is RowWrapped. `out` is cleared
// and refilled so that a drawing loop reuses its storage. Token starts (the non-kEof runs)
// are also the stops of the word-wise caret motions.
void RowTokenRuns(const TFountain& fountain, std::string_view row, std::string_view nextRow,
                  const TRowAttributeData& state, std::vector<TTokenRun>& out);

// The document's plug: row states computed by the scheme's tokenizer. The scheme is borrowed
// and read live, so a change of its options takes effect at the next computation.
class TFountainRowStateTokenizer final : public RowStateTokenizer {
 public:
  explicit TFountainRowStateTokenizer(const TFountain& fountain);
  ~TFountainRowStateTokenizer() override;

  TRowAttributeData NextRowState(std::string_view rowText,
                                 const TRowAttributeData& start) const override;
  TRowAttributeData NextWrappedRowState(std::string_view rowText, std::string_view nextRowText,
                                        RowEnd nextRowAttribute,
                                        const TRowAttributeData& start) const override;
  bool StatesRestartAtLineStart() const override;

 private:
  const TFountain& fountain_;
  // One tokenizer reused for every row: Start resets all of its state, so results stay pure.
  std::unique_ptr<TFountainParser> parser_;
};

}  // namespace tessary
