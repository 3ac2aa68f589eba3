// Token starts for word-wise caret motion, from the colouring tokenizer.
#include "editor/fountain_token_starts.h"

namespace tessary {

void TFountainTokenStarts::TokenStartsOf(std::string_view rowText, const TRowAttributeData& state,
                                         std::vector<int32_t>& starts) const {
  // Only the last token of a row can depend on the next row, and never where it begins, so
  // the row is scanned alone.
  std::unique_ptr<TFountainParser> parser = fountain_.CreateParser();
  TRowAttributeData alone = state;
  alone.RowAttribute = RowEnd::RowEndsLine;
  parser->Start(rowText, {}, alone);
  while (parser->NextToken() != token::kEof) {
    const int64_t start = parser->TokenStart();
    if (parser->IsContinuation() || start <= 0) continue;
    starts.push_back(static_cast<int32_t>(start));
  }
}

}  // namespace tessary
