// Reserved-word and INI-section colouring: reading the word file and applying the three modes.
#include "commands/reserved_words.h"

#include <utility>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "codec/sjis_text.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kSectionOpen = "[";
constexpr std::string_view kSectionClose = "]";

bool IsSectionPair(const TFountainBracketItem& item) {
  return item.LeftBracket() == kSectionOpen && item.RightBracket() == kSectionClose;
}

std::string MessageNaming(const char* what, const std::string& path) {
  std::string text = what;
  text += "\r\n";
  text += path;
  return text;
}

}  // namespace

std::optional<std::vector<std::string>> WordsOfWordFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
  if (!IsWellFormedUtf8(bytes)) return std::nullopt;
  std::vector<std::string> words;
  LineSplitter lines(bytes);
  std::string_view line;
  while (lines.Next(line))
    if (!line.empty()) words.push_back(Utf8ToSjis(line));
  return words;
}

ReservedWords::ReservedWords(TEditorFountain& scheme, EditorControl& control,
                             ReservedWordsPort& port, Messages& messages, PrivateProfile& ini,
                             std::string word_file_path)
    : scheme_(scheme),
      control_(control),
      port_(port),
      messages_(messages),
      ini_(ini),
      word_file_path_(std::move(word_file_path)) {}

template <class Change>
void ReservedWords::InOneBatch(Change&& change) {
  const int32_t top = control_.TopRow();
  {
    UpdateGuard<TFountain> batch(scheme_);
    change();
  }
  control_.SetTopRow(top);
}

TFountainBracketItem* ReservedWords::SectionBrackets() {
  TFountainBracketCollection& brackets = scheme_.Brackets();
  for (int i = 0; i < brackets.Count(); ++i)
    if (IsSectionPair(brackets.Item(i))) return &brackets.Item(i);
  return nullptr;
}

void ReservedWords::RemoveSectionBrackets() {
  TFountainBracketCollection& brackets = scheme_.Brackets();
  for (int i = brackets.Count(); i-- > 0;)
    if (IsSectionPair(brackets.Item(i))) brackets.Delete(i);
}

// A pair already there keeps its background, which only the colour command sets.
void ReservedWords::ApplyMode(ReserveMode mode) {
  scheme_.SetReserveWordList(mode == ReserveMode::ReserveSet ? words_ : std::vector<std::string>{});
  if (mode != ReserveMode::IniSet) {
    RemoveSectionBrackets();
    return;
  }
  TFountainBracketItem* pair = SectionBrackets();
  if (pair == nullptr) {
    Result<TFountainBracketItem*> added =
        scheme_.Brackets().Add(std::string(kSectionOpen), std::string(kSectionClose));
    if (!added) {
      messages_.ShowMessage(added.error().message);
      return;
    }
    pair = added.value();
  }
  pair->ItemColor().SetColor(ReserveColor());
}

void ReservedWords::SetMode(ReserveMode mode) {
  InOneBatch([&] { ApplyMode(mode); });
  mode_ = mode;
  port_.SetReserveChecks(mode_);
}

void ReservedWords::MenuReseveNoSetClick() {
  SetMode(ReserveMode::NoSet);
}

void ReservedWords::MenuReseveIniSetClick() {
  SetMode(ReserveMode::IniSet);
}

void ReservedWords::MenuReseveReserveSetClick() {
  if (words_.empty()) {
    messages_.ShowMessage(kNoReservedWordsMessage);
    port_.SetReserveChecks(mode_);  // the menu may have checked the item on its own
    return;
  }
  SetMode(ReserveMode::ReserveSet);
}

void ReservedWords::MenuReserveReadClick() {
  std::optional<std::string> chosen = port_.ChooseWordFile(ChooserStartOf(word_file_path_));
  if (!chosen) return;
  word_file_path_ = std::move(*chosen);
  const WordFileRead read = LoadWordFile(word_file_path_);
  if (read != WordFileRead::Loaded) Report(read, word_file_path_);
}

WordFileRead ReservedWords::LoadWordFile(const std::string& path) {
  if (KindOfPath(path) == PathKind::Missing) return WordFileRead::Missing;
  Result<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return WordFileRead::Unreadable;
  std::optional<std::vector<std::string>> words = WordsOfWordFile(bytes.value());
  if (!words) return WordFileRead::NotUtf8;
  if (words->empty()) return WordFileRead::Empty;
  words_ = std::move(*words);
  loaded_file_ = path;
  SetMode(ReserveMode::ReserveSet);
  port_.SetWordFilePanel(ChooserStartOf(path).name);
  // Like the other remembered paths: the next start's dialog begins here, and a path that
  // Shift-JIS cannot hold is not stored.
  WriteProfilePath(ini_, kReserveSection, path).IgnoreFailure();
  return WordFileRead::Loaded;
}

void ReservedWords::Report(WordFileRead read, const std::string& path) {
  switch (read) {
    case WordFileRead::Loaded:
      return;
    case WordFileRead::Missing:
      messages_.ShowMessage(MessageNaming(kWordFileMissingMessage, path));
      return;
    case WordFileRead::Unreadable:
      messages_.ShowMessage(MessageNaming(kWordFileUnreadableMessage, path));
      return;
    case WordFileRead::NotUtf8:
      messages_.ShowMessage(MessageNaming(kWordFileNotUtf8Message, path));
      return;
    case WordFileRead::Empty:
      messages_.ShowMessage(kNoReservedWordsMessage);
      return;
  }
}

void ReservedWords::MenuReserveColorClick() {
  const std::optional<TColor> chosen = port_.ChooseReserveColor(ReserveColor());
  if (!chosen) return;
  InOneBatch([&] {
    scheme_.Reserve().SetColor(*chosen);
    if (mode_ != ReserveMode::IniSet) return;
    if (TFountainBracketItem* pair = SectionBrackets()) {
      pair->ItemColor().SetColor(*chosen);
      pair->ItemColor().SetBkColor(port_.NormalBackColor());
    }
  });
}

}  // namespace tessary
