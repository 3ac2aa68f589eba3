// Ctrl+Left/Right stops from the colouring tokenizer: where its tokens begin in a row.
#pragma once

#include "editor/fountain.h"
#include "editor/token_starts.h"

namespace tessary {

// The token starts of the scheme's tokenizer (the scheme is borrowed and read live). A token
// continued from the row before does not begin in the row.
class TFountainTokenStarts final : public TokenStarts {
 public:
  explicit TFountainTokenStarts(const TFountain& fountain) : fountain_(fountain) {}
  void TokenStartsOf(std::string_view rowText, const TRowAttributeData& state,
                     std::vector<int32_t>& starts) const override;

 private:
  const TFountain& fountain_;
};

}  // namespace tessary
