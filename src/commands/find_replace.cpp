// Find and replace without windows: settings keys, history files, searches and replacements.
#include "commands/find_replace.h"

#include <string>

#include "codec/sjis_text.h"
#include "commands/caret_word.h"
#include "editor/editor_control.h"
#include "editor/editor_control_search.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {
namespace {

namespace opt = search_option;

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kParentForm = "ParentForm";

MruShape HistoryShape() {
  return MruShape{kFindHistoryLength, MruLength::UpTo, ""};
}

WorkingFile WordsFileOf(FindTarget target) {
  return target == FindTarget::OstrBoard ? WorkingFile::OstrFind : WorkingFile::Find;
}

std::string_view TargetName(FindTarget target) {
  return target == FindTarget::OstrBoard ? "OstrBoard" : "Main";
}

// Settings writes are best effort: a read-only settings folder must not stop a search, and the
// next search writes the same keys again.
void WriteSettings(const AppHome& home, const std::vector<PrivateProfile::Entry>& entries) {
  PrivateProfile(home.SettingsFile()).WriteStrings(entries).IgnoreFailure();
}

std::string StoredWord(std::string_view utf8) {
  return Utf8ToSjis(EscapeOneLine(CappedWord(utf8)));
}

std::string DoubledAmpersands(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

bool IsEndBlankOrQuote(char c) {
  return c == ' ' || c == '"' || c == '\'';
}

}  // namespace

TSearchOptions FindBoxes::Options(SearchDirection direction) const {
  TSearchOptions o = direction == SearchDirection::Next ? opt::kForward : 0;
  if (match_case) o |= opt::kMatchCase;
  if (whole_word) o |= opt::kWholeWord;
  if (no_match_zenkaku) o |= opt::kFullHalf;
  if (include_crlf) o |= opt::kSkipLineBreaks | opt::kSkipBlanks;
  return o;
}

FindBoxes ReadFindBoxes(const PrivateProfile& ini) {
  FindBoxes b;
  b.match_case = ini.ReadBool(kOptions, "MatchCase", false);
  b.whole_word = ini.ReadBool(kOptions, "WholeWord", false);
  b.no_match_zenkaku = ini.ReadBool(kOptions, "NoMatchZenkaku", false);
  b.include_crlf = ini.ReadBool(kOptions, "IncludeCRLF", false);
  return b;
}

std::string EscapeOneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool atEnd = i == 0 || i + 1 == text.size();
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (atEnd && IsEndBlankOrQuote(c)) {
      out += c == ' ' ? "\\s" : c == '"' ? "\\q" : "\\a";
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeOneLine(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c != '\\' || i + 1 == line.size()) {
      out += c;
      continue;
    }
    const std::string_view letters = "\\rntsqa";
    const std::string_view chars = "\\\r\n\t \"'";
    const size_t k = letters.find(line[i + 1]);
    if (k == std::string_view::npos) {
      out += c;  // not an escape: the backslash is the text's own
      continue;
    }
    out += chars[k];
    ++i;
  }
  return out;
}

std::string CappedWord(std::string_view utf8) {
  if (utf8.size() <= kMaxStoredWordBytes) return std::string(utf8);
  size_t end = kMaxStoredWordBytes;
  while (end > 0 && (static_cast<uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;  // continuation
  return std::string(utf8.substr(0, end));
}

ListTextCodec EscapedSjisListCodec() {
  const ListTextCodec sjis = SjisListCodec();
  return ListTextCodec{[sjis](std::string_view t) { return sjis.to_file(EscapeOneLine(t)); },
                       [sjis](std::string_view t) { return UnescapeOneLine(sjis.from_file(t)); }};
}

// ---- the find and replace windows ----

FindReplaceModel::FindReplaceModel(const AppHome& home, Messages& messages, FindWindow window,
                                   std::optional<std::string> handed)
    : home_(home),
      messages_(messages),
      window_(window),
      words_(HistoryShape()),
      replacements_(HistoryShape()) {
  PrivateProfile ini(home_.SettingsFile());
  boxes = ReadFindBoxes(ini);
  direction = ini.ReadInteger(kOptions, "Direction", 1) == 0 ? SearchDirection::Previous
                                                             : SearchDirection::Next;
  word = handed ? std::move(*handed)
                : UnescapeOneLine(SjisToUtf8(ini.ReadString(kOptions, "SearchWord", "")));
  if (window_ == FindWindow::Find && ini.ReadString(kParentForm, "Search", "Main") == "OstrBoard")
    target_ = FindTarget::OstrBoard;
  auto_close = ini.ReadBool(kOptions, "AutoClose", false);
  const ListTextCodec codec = EscapedSjisListCodec();
  words_.Load(home_.PathOf(WordsFileOf(target_)), codec);
  if (window_ == FindWindow::Replace) replacements_.Load(home_.PathOf(WorkingFile::Replace), codec);
  WriteSettings(home_, {{std::string(kOptions), "SearchWord", ""}});
}

void FindReplaceModel::Remember(SearchDirection d) {
  direction = d;
  hand_back_ = word;
  WriteSettings(home_,
                {{std::string(kOptions), "MatchCase", boxes.match_case ? "1" : "0"},
                 {std::string(kOptions), "WholeWord", boxes.whole_word ? "1" : "0"},
                 {std::string(kOptions), "NoMatchZenkaku", boxes.no_match_zenkaku ? "1" : "0"},
                 {std::string(kOptions), "IncludeCRLF", boxes.include_crlf ? "1" : "0"},
                 {std::string(kOptions), "Direction", d == SearchDirection::Next ? "1" : "0"},
                 {std::string(kOptions), "SearchWord", StoredWord(word)}});
}

void FindReplaceModel::NotFound() {
  const bool board = target_ == FindTarget::OstrBoard;
  messages_.ShowMessage(board ? std::string(find_text::kNotFoundBoard) + word
                              : std::string(find_text::kNotFoundMain) + DoubledAmpersands(word));
}

FindReplaceModel::Outcome FindReplaceModel::Find(EditorControl& editor, SearchDirection d) {
  if (word.empty()) {
    messages_.ShowMessage(std::string(find_text::kNoWord));
    return Outcome::NoWord;
  }
  Remember(d);
  if (!tessary::Search(editor, Utf8ToSjis(word), boxes.Options(d))) {
    NotFound();
    return Outcome::NotFound;
  }
  // Only words that were found enter the history.
  const ListTextCodec codec = EscapedSjisListCodec();
  words_.Push(CappedWord(word));
  words_.Save(home_.PathOf(WordsFileOf(target_)), codec).IgnoreFailure();
  if (window_ == FindWindow::Replace)
    replacements_.Save(home_.PathOf(WorkingFile::Replace), codec).IgnoreFailure();
  return Outcome::Found;
}

FindReplaceModel::Outcome FindReplaceModel::Replace(EditorControl& editor) {
  replacements_.Push(CappedWord(replacement));
  if (editor.ReadOnly()) {
    messages_.ShowMessage(std::string(find_text::kReadOnly));
    return Outcome::Refused;
  }
  if (editor.SelLength() <= 0) return Outcome::NotFound;
  editor.SetSelText(Utf8ToSjis(replacement));
  return Outcome::Found;
}

std::optional<int64_t> FindReplaceModel::ReplaceAll(EditorControl& editor) {
  if (messages_.AskYesNo(std::string(find_text::kAskReplaceAll)) != Answer::Yes)
    return std::nullopt;
  if (word.empty()) {
    messages_.ShowMessage(std::string(find_text::kNoWord));
    return std::nullopt;
  }
  if (editor.ReadOnly()) {
    messages_.ShowMessage(std::string(find_text::kReadOnly));
    return std::nullopt;
  }
  words_.Push(CappedWord(word));
  replacements_.Push(CappedWord(replacement));
  Remember(SearchDirection::Next);
  const ListTextCodec codec = EscapedSjisListCodec();
  words_.Save(home_.PathOf(WorkingFile::Find), codec).IgnoreFailure();
  replacements_.Save(home_.PathOf(WorkingFile::Replace), codec).IgnoreFailure();
  const int64_t count = tessary::ReplaceAll(
      editor, Utf8ToSjis(word), boxes.Options(SearchDirection::Next), Utf8ToSjis(replacement));
  messages_.ShowMessage(std::to_string(count) + std::string(find_text::kReplacedCount));
  return count;
}

void FindReplaceModel::Close() {
  WriteSettings(home_, {{std::string(kOptions), "AutoClose", auto_close ? "1" : "0"}});
}

// ---- the main window ----

bool MainSearch::Search(EditorControl& editor, SearchDirection direction) {
  if (word_.empty()) {
    messages_.ShowMessage(std::string(find_text::kNoWord));
    return false;
  }
  const FindBoxes boxes = target_ == FindTarget::Main
                              ? ReadFindBoxes(PrivateProfile(home_.SettingsFile()))
                              : FindBoxes{};
  if (tessary::Search(editor, Utf8ToSjis(word_), boxes.Options(direction))) return true;
  messages_.ShowMessage(std::string(find_text::kNotFoundMain) + DoubledAmpersands(word_));
  return false;
}

void MainSearch::Hand(const std::string& word, FindTarget target) {
  WriteSettings(home_, {{std::string(kOptions), "SearchWord", StoredWord(word)},
                        {std::string(kParentForm), "Search", std::string(TargetName(target))}});
}

std::string MainSearch::WordForFind(EditorControl& editor) {
  std::string word;
  if (editor.RowCount() > 0) {
    if (editor.Selected()) {
      word = SjisToUtf8(editor.SelText());
    } else {
      const CaretLine c = CaretLineOf(editor);
      const CaretWord w = WordAroundCaret(c.line_text, c.caret);
      editor.SetSelStart(editor.LineIndex(c.line) + static_cast<int64_t>(w.start));
      editor.SetSelLength(static_cast<int64_t>(w.length));
      word = SjisToUtf8(std::string_view(c.line_text).substr(w.start, w.length));
    }
  }
  Hand(word, target_);
  return word;
}

std::string MainSearch::LineForFind(EditorControl& editor) {
  std::string line;
  if (editor.RowCount() > 0) {
    for (char ch : CaretLineOf(editor).line_text)
      if (ch != '\t') line += ch;
    const size_t b = line.find_first_not_of(' ');
    line = b == std::string::npos ? "" : line.substr(b, line.find_last_not_of(' ') - b + 1);
  }
  const std::string word = SjisToUtf8(line);
  Hand(word, FindTarget::Main);
  return word;
}

std::optional<std::string> MainSearch::WordForReplace(EditorControl& editor) {
  if (editor.ReadOnly()) {
    messages_.ShowMessage(std::string(find_text::kReadOnly));
    return std::nullopt;
  }
  std::string word;
  if (editor.Selected()) {
    word = SjisToUtf8(editor.SelText());
  } else if (editor.RowCount() > 0) {
    const CaretLine c = CaretLineOf(editor);
    const CaretWord w = WordAroundCaret(c.line_text, c.caret);
    if (w.delimiterBefore)
      word = SjisToUtf8(std::string_view(c.line_text).substr(w.start, w.length));
  }
  Hand(word, FindTarget::Main);
  return word;
}

}  // namespace tessary
