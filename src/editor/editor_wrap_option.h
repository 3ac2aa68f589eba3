// The wrap options: row width and the Japanese line-breaking rules, with change notification.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tessary {

// Shift-JIS defaults of the character sets.
// "、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"
inline constexpr const char* kDefaultFollowStr =
    "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52\x81\x53"
    "\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78\x21\x29\x2C\x2E"
    "\x3A\x3B\x3F\x5D\x7D\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
// "（［｛「『([{｢"
inline constexpr const char* kDefaultLeadStr = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77\x28\x5B\x7B\xA2";
// "、。，．,.｡､"
inline constexpr const char* kDefaultPunctuationStr = "\x81\x41\x81\x42\x81\x43\x81\x44\x2C\x2E\xA1\xA4";

constexpr int32_t kMinWrapByte = 20;
constexpr int32_t kMaxWrapByte = 250;

class TEditorWrapOption {
 public:
  // Raised once per effective change (a set to the value already held raises nothing).
  std::function<void()> OnChange;

  bool FollowRetMark() const { return follow_ret_mark_; }
  bool FollowPunctuation() const { return follow_punctuation_; }
  const std::string& FollowStr() const { return follow_str_; }
  bool Leading() const { return leading_; }
  const std::string& LeadStr() const { return lead_str_; }
  const std::string& PunctuationStr() const { return punctuation_str_; }
  bool WordBreak() const { return word_break_; }
  int32_t WrapByte() const { return wrap_byte_; }

  void SetFollowRetMark(bool v) { Set(follow_ret_mark_, v); }
  void SetFollowPunctuation(bool v) { Set(follow_punctuation_, v); }
  void SetFollowStr(const std::string& v) { Set(follow_str_, v); }
  void SetLeading(bool v) { Set(leading_, v); }
  void SetLeadStr(const std::string& v) { Set(lead_str_, v); }
  void SetPunctuationStr(const std::string& v) { Set(punctuation_str_, v); }
  void SetWordBreak(bool v) { Set(word_break_, v); }
  // Clamped to 20..250 before it is compared with the value held.
  void SetWrapByte(int32_t v);

  // Copies all eight options and raises OnChange once.
  void Assign(const TEditorWrapOption& o);

 private:
  template <class T>
  void Set(T& field, const T& v) {
    if (field == v) return;
    field = v;
    if (OnChange) OnChange();
  }

  bool follow_ret_mark_ = false;
  bool follow_punctuation_ = false;
  std::string follow_str_ = kDefaultFollowStr;
  bool leading_ = false;
  std::string lead_str_ = kDefaultLeadStr;
  std::string punctuation_str_ = kDefaultPunctuationStr;
  bool word_break_ = false;
  int32_t wrap_byte_ = 80;
};

}  // namespace tessary
