// Status-bar, caption and wrap-length texts.
#include "app/status_texts.h"

#include "base/sjis.h"

namespace tessary {

std::string CaretPositionText(int64_t line0, int64_t column0) {
  return std::to_string(line0 + 1) + "行, " + std::to_string(column0 + 1) + "桁";
}

std::string SelectionCountText(std::string_view s, LineEndCounting line_ends, SelectionUnit unit) {
  if (s.empty()) return {};
  int64_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if ((c == '\r' || c == '\n') && line_ends == LineEndCounting::Exclude) continue;
    if (sjis::IsLeadByte(c) && i + 1 < s.size()) {
      n += unit == SelectionUnit::Characters ? 1 : 2;
      ++i;
      continue;
    }
    ++n;
  }
  return std::to_string(n) + "文字";
}

std::string WindowCaption(std::string_view file_name, bool active) {
  std::string_view shown = file_name;
  if (!active) {
    auto slash = file_name.find_last_of('/');
    if (slash != std::string_view::npos) shown = file_name.substr(slash + 1);
  }
  std::string caption(shown);
  caption += " - Tessary";
  return caption;
}

std::optional<std::string> WrapLengthRefusal(int64_t value) {
  if (value <= 9) return std::string("10以上を設定してください");
  if (value > 250) return std::string("250以下を設定してください");
  return std::nullopt;
}

bool NumericEditAccepts(NumericType type, std::string_view text, size_t caret, char typed) {
  if (typed >= '0' && typed <= '9') return true;
  const bool is_signed = type == NumericType::DecimalSigned || type == NumericType::DoubleSigned;
  const bool is_double = type == NumericType::DoubleUnSigned || type == NumericType::DoubleSigned;
  if (typed == '-') return is_signed && caret == 0 && text.find('-') == std::string_view::npos;
  if (typed == '.') return is_double && text.find('.') == std::string_view::npos;
  return false;
}

}  // namespace tessary
