// The control's own colouring scheme: token colours and the comment, quote, hex and link options.
#pragma once

#include <memory>
#include <string>

#include "editor/fountain.h"

namespace tessary {

// One colour per token group. Reserve is the scheme's own Reserve colour.
class TEditorColors {
 public:
  TEditorColors(TFountainColor& reserve, const TChangeNotify& onChange);
  TEditorColors(const TEditorColors&) = delete;
  TEditorColors& operator=(const TEditorColors&) = delete;

  TEditorColor& Ank() { return ank_; }
  TEditorColor& Comment() { return comment_; }
  TEditorColor& DBCS() { return dbcs_; }
  TEditorColor& Hit() { return hit_; }
  TEditorColor& Int() { return int_; }
  TEditorColor& Mail() { return mail_; }
  TEditorColor& Reserve() { return reserve_; }
  TEditorColor& Select() { return select_; }
  TEditorColor& Str() { return str_; }
  TEditorColor& Symbol() { return symbol_; }
  TEditorColor& Url() { return url_; }
  const TEditorColor& Ank() const { return ank_; }
  const TEditorColor& Comment() const { return comment_; }
  const TEditorColor& DBCS() const { return dbcs_; }
  const TEditorColor& Hit() const { return hit_; }
  const TEditorColor& Int() const { return int_; }
  const TEditorColor& Mail() const { return mail_; }
  const TEditorColor& Reserve() const { return reserve_; }
  const TEditorColor& Select() const { return select_; }
  const TEditorColor& Str() const { return str_; }
  const TEditorColor& Symbol() const { return symbol_; }
  const TEditorColor& Url() const { return url_; }

 private:
  TEditorColor ank_, comment_, dbcs_, hit_, int_, mail_;
  TEditorColor& reserve_;
  TEditorColor select_, str_, symbol_, url_;
};

class TEditorFountain : public TFountain {
 public:
  TEditorFountain();

  TEditorColors& Colors() { return colors_; }
  const TEditorColors& Colors() const { return colors_; }
  // Empty strings switch the rule off. Every setter notifies only on a real change.
  const std::string& Commenter() const { return commenter_; }
  void SetCommenter(std::string s) { Set(commenter_, std::move(s)); }
  bool ControlCode() const { return controlCode_; }
  void SetControlCode(bool on) { Set(controlCode_, on); }
  const std::string& HexPrefix() const { return hexPrefix_; }
  void SetHexPrefix(std::string s) { Set(hexPrefix_, std::move(s)); }
  bool Mail() const { return mail_; }
  void SetMail(bool on) { Set(mail_, on); }
  // Only the first byte is the quotation character.
  const std::string& Quotation() const { return quotation_; }
  void SetQuotation(std::string s) { Set(quotation_, std::move(s)); }
  bool Url() const { return url_; }
  void SetUrl(bool on) { Set(url_, on); }

  std::unique_ptr<TFountainParser> CreateParser() const override;

 private:
  template <class T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    NotifyEventList();
  }
  TEditorColors colors_;
  std::string commenter_;
  bool controlCode_ = false;
  std::string hexPrefix_;
  bool mail_ = false;
  std::string quotation_;
  bool url_ = false;
};

}  // namespace tessary
