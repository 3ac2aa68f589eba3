// Where tokens begin in a row, for Ctrl+Left and Ctrl+Right; the colouring parser plugs in its own.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/row_attribute_data.h"

namespace tessary {

// Appends to starts the byte positions (ascending, each on a character boundary, 0 < p < size)
// at which a token begins inside rowText, given the colouring state at the row's start.
class TokenStarts {
 public:
  virtual ~TokenStarts() = default;
  virtual void TokenStartsOf(std::string_view rowText, const TRowAttributeData& state,
                             std::vector<int32_t>& starts) const = 0;
};

// Until the colouring parser provides its tokens: a token begins wherever the kind of character
// changes (letters and digits, blanks, punctuation, half-width katakana, double-byte
// characters), and every punctuation byte is a token of its own.
class CharClassTokenStarts final : public TokenStarts {
 public:
  void TokenStartsOf(std::string_view rowText, const TRowAttributeData& state,
                     std::vector<int32_t>& starts) const override;
};

}  // namespace tessary
