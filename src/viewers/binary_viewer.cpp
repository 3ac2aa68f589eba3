// The binary viewer without its widgets: settings, patterns, caret commands, search, offsets.
#include "viewers/binary_viewer.h"

#include <charconv>

#include "base/sjis.h"
#include "codec/cp932.h"
#include "codec/cp932_converter.h"
#include "codec/sjis_text.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "platform/settings_values.h"

namespace tessary {

namespace {

constexpr std::string_view kEditorSection = "BinaryEditor";
constexpr std::string_view kColorSection = "BinaryColor";
constexpr std::string_view kOffsetSection = "Binary";
constexpr char kHex[] = "0123456789ABCDEF";

std::string HexOf(std::string_view bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 3);
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
    hex += ' ';
  }
  return hex;
}

// The code points of well-formed UTF-8 (what the window's boxes give); nothing for anything else.
std::optional<std::u32string> CodePoints(std::string_view utf8) {
  if (!IsWellFormedUtf8(utf8)) return std::nullopt;
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t cp = n == 1 ? b : b & (0x7F >> n);
    for (int k = 1; k < n; ++k) cp = cp << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    out += cp;
    i += static_cast<size_t>(n);
  }
  return out;
}

void AppendUnit(char16_t u, ByteOrder order, std::string& out) {
  const auto hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
  out += order == ByteOrder::BigEndian ? hi : lo;
  out += order == ByteOrder::BigEndian ? lo : hi;
}

std::string Utf16Of(const std::u32string& cps, ByteOrder order) {
  std::string out;
  for (char32_t cp : cps) {
    if (cp < 0x10000) {
      AppendUnit(static_cast<char16_t>(cp), order, out);
      continue;
    }
    cp -= 0x10000;
    AppendUnit(static_cast<char16_t>(0xD800 + (cp >> 10)), order, out);
    AppendUnit(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)), order, out);
  }
  return out;
}

ByteOrder OrderOf(CharCode code) {
  return IsLittleEndian(code) ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
}

// The text in the file's code, or nothing when the code cannot hold one of its characters.
std::optional<std::string> TextInCode(std::string_view utf8, CharCode code) {
  if (code == CharCode::UTF8 || code == CharCode::UTF8Bom)
    return IsWellFormedUtf8(utf8) ? std::optional<std::string>(std::string(utf8)) : std::nullopt;
  if (IsSixteenBit(code)) {
    const std::optional<std::u32string> cps = CodePoints(utf8);
    if (!cps) return std::nullopt;
    return Utf16Of(*cps, OrderOf(code));
  }
  return Utf8ToSjisExact(utf8);
}

}  // namespace

std::variant<SearchPattern, PatternRefusal> PatternForText(std::string_view text, CharCode code) {
  if (text.empty()) return PatternRefusal::Empty;
  for (const FixedSearchEntry& e : kFixedSearchEntries)
    if (text == e.text) return SearchPattern{std::string(e.bytes), HexOf(e.bytes), "", true};
  std::optional<std::string> bytes = TextInCode(text, code);
  if (!bytes) return PatternRefusal::Unmappable;
  SearchPattern p;
  p.hex = HexOf(*bytes);
  p.text_in_file_code = *bytes;
  p.bytes = std::move(*bytes);
  return p;
}

Status WritePatternFiles(const AppHome& home, const SearchPattern& pattern, CharCode code) {
  if (!pattern.fixed) {
    std::string src;
    if (code == CharCode::UTF8 || code == CharCode::UTF8Bom) src = "\xEF\xBB\xBF";
    src += pattern.text_in_file_code;
    src += "\r\n";
    if (Status s = WriteFileAtomic(home.PathOf(WorkingFile::BinSrc), src); !s) return s;
  }
  return WriteFileAtomic(home.PathOf(WorkingFile::BinDst), pattern.bytes);
}

// ---- settings ----

BinaryLook ReadBinaryLook(const PrivateProfile& ini) {
  const BinaryLook d;
  BinaryLook look;
  look.font_name = SjisToUtf8(ini.ReadString(kColorSection, "FontName", Utf8ToSjis(d.font_name)));
  look.font_size = ReadFontSize(ini, kColorSection, "FontSize", d.font_size);
  look.font_color = ReadColor(ini, kColorSection, "FontColor", d.font_color);
  look.back_color = ReadColor(ini, kColorSection, "BackColor", d.back_color);
  look.kigou_color = ReadColor(ini, kColorSection, "KigouColor", d.kigou_color);
  look.underline_color = ReadColor(ini, kColorSection, "UnderLineColor", d.underline_color);
  look.show_tab = ini.ReadBool(kEditorSection, "ShowTab", d.show_tab);
  look.show_cr = ini.ReadBool(kEditorSection, "ShowCr", d.show_cr);
  look.show_lf = ini.ReadBool(kEditorSection, "ShowLf", d.show_lf);
  look.underline_visible = ini.ReadBool(kEditorSection, "UnderLineVisible", d.underline_visible);
  return look;
}

Status WriteBinaryLook(PrivateProfile& ini, const BinaryLook& look) {
  const std::string color(kColorSection), editor(kEditorSection);
  const auto flag = [](bool v) { return std::string(v ? "1" : "0"); };
  return ini.WriteStrings({
      {editor, "ShowTab", flag(look.show_tab)},
      {editor, "ShowCr", flag(look.show_cr)},
      {editor, "ShowLf", flag(look.show_lf)},
      {editor, "UnderLineVisible", flag(look.underline_visible)},
      {color, "FontName", Utf8ToSjis(look.font_name)},
      {color, "FontSize", std::to_string(look.font_size)},
      {color, "FontColor", ColorToText(look.font_color)},
      {color, "BackColor", ColorToText(look.back_color)},
      {color, "KigouColor", ColorToText(look.kigou_color)},
      {color, "UnderLineColor", ColorToText(look.underline_color)},
  });
}

bool IsMarkedByte(const BinaryLook& look, uint8_t b) {
  return (b == 0x09 && look.show_tab) || (b == 0x0D && look.show_cr) || (b == 0x0A && look.show_lf);
}

Status StoreBinaryOffset(PrivateProfile& ini, uint64_t offset) {
  return ini.WriteString(kOffsetSection, "SelStart", std::to_string(offset));
}

uint64_t StoredBinaryOffset(const PrivateProfile& ini, uint64_t fallback) {
  const std::optional<std::string> text = ini.ReadString(kOffsetSection, "SelStart");
  if (!text) return fallback;
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), v);
  return ec == std::errc() && end == text->data() + text->size() ? v : fallback;
}

// ---- offsets between the editor's text and the file ----

namespace {

// Bytes one Shift-JIS character of the editor's text takes in the file's code.
int EncodedLength(uint16_t unit, CharCode code) {
  if (IsSixteenBit(code)) return 2;
  if (unit < 0x80) return 1;
  return unit < 0x800 ? 2 : 3;
}

// Walks a line's characters; `step(byte, length_in_file)` returns false to stop.
template <class Step>
void ForEachChar(std::string_view line, CharCode code, Step step) {
  for (size_t i = 0; i < line.size();) {
    const size_t n = sjis::CharLength(line, i);
    if (code == CharCode::SJIS) {
      if (!step(i, static_cast<int>(n))) return;
    } else {
      const auto b = static_cast<uint8_t>(line[i]);
      const uint16_t unit = n == 2 ? cp932::DecodePair(b, static_cast<uint8_t>(line[i + 1]))
                            : sjis::IsLeadByte(b) ? cp932::kDefaultUnit
                                                  : cp932::DecodeSingle(b);
      if (!step(i, EncodedLength(unit, code))) return;
    }
    i += n;
  }
}

uint64_t FileLengthOf(std::string_view line, CharCode code) {
  if (code == CharCode::SJIS) return line.size();
  uint64_t n = 0;
  ForEachChar(line, code, [&](size_t, int len) {
    n += static_cast<uint64_t>(len);
    return true;
  });
  return n;
}

uint64_t LineEndLength(RetCode ret, CharCode code) {
  const uint64_t units = ret == RetCode::CrLf ? 2 : ret == RetCode::None ? 0 : 1;
  return IsSixteenBit(code) ? 2 * units : units;
}

uint64_t MarkLength(CharCode code) {
  return code == CharCode::UTF8Bom ? 3 : HasBom(code) ? 2 : 0;
}

}  // namespace

uint64_t FileOffsetOfPlace(const CsvLines& lines, TextPlace place, CharCode code, RetCode ret) {
  uint64_t offset = MarkLength(code);
  const uint64_t eol = LineEndLength(ret, code);
  const int32_t line = std::clamp<int32_t>(place.line, 0, std::max(lines.Count(), 1) - 1);
  lines.ForEach(0, line, [&](int32_t, std::string_view text) {
    offset += FileLengthOf(text, code) + eol;
    return true;
  });
  if (line >= lines.Count()) return offset;
  std::string scratch;
  const std::string_view text = lines.Line(line, scratch);
  const size_t prefix =
      static_cast<size_t>(std::clamp<int64_t>(place.byte, 0, static_cast<int64_t>(text.size())));
  return offset + FileLengthOf(text.substr(0, prefix), code);
}

TextPlace PlaceOfFileOffset(const CsvLines& lines, uint64_t offset, CharCode code, RetCode ret) {
  const uint64_t eol = LineEndLength(ret, code);
  uint64_t left = offset > MarkLength(code) ? offset - MarkLength(code) : 0;
  TextPlace place;
  lines.ForEach(0, lines.Count(), [&](int32_t i, std::string_view text) {
    place = TextPlace{i, 0};
    const uint64_t length = FileLengthOf(text, code);
    if (left >= length + eol && i + 1 < lines.Count()) {
      left -= length + eol;
      return true;
    }
    place.byte = static_cast<int64_t>(text.size());  // in the line end, or past the text
    ForEachChar(text, code, [&](size_t at, int len) {
      if (left < static_cast<uint64_t>(len)) {
        place.byte = static_cast<int64_t>(at);
        return false;
      }
      left -= static_cast<uint64_t>(len);
      return true;
    });
    return false;
  });
  return place;
}

// ---- the model ----

BinaryViewerModel::BinaryViewerModel(const BinaryViewerArgs& args)
    : args_(args), history_(MruShape{kFindHistoryLength, MruLength::UpTo, ""}) {
  history_.Load(args_.home.PathOf(WorkingFile::Find), EscapedSjisListCodec());
}

void BinaryViewerModel::Show(std::string_view text) {
  args_.messages.ShowMessage(std::string(text));
}

void BinaryViewerModel::Open(uint64_t offset) {
  file_.reset();
  if (!FileExists(args_.file_name)) return Show(binary_text::kNoFile);
  Result<std::unique_ptr<PagedFile>> opened = PagedFile::Open(args_.file_name);
  if (!opened) {
    std::string text(binary_text::kUnreadable);
    text += "\n";
    text += opened.error().message;
    return Show(text);
  }
  file_ = std::move(opened).value();
  layout_ = DumpLayout::ForSize(file_->Size());
  caret_ = CaretAtByte(layout_, FileSize(), offset);
  SetTopLine(caret_.line);
}

std::string_view BinaryViewerModel::LineBytes(uint64_t line) {
  if (!file_ || line >= LineCount()) return {};
  Result<std::string_view> bytes = file_->Bytes(line * 16, 16);
  if (bytes) return bytes.value();
  if (read_failure_ == ReadFailure::None) {
    read_failure_ = ReadFailure::Pending;  // once: a pane repaints many times
    read_error_ = bytes.error().message;
  }
  return {};
}

void BinaryViewerModel::ReportReadFailure() {
  if (read_failure_ != ReadFailure::Pending) return;
  read_failure_ = ReadFailure::Reported;
  Show(std::string(binary_text::kUnreadable) + "\n" + read_error_);
}

std::string_view BinaryViewerModel::LineText(uint64_t line, std::string& out) {
  out.clear();
  if (!file_ || line >= LineCount()) return out;
  const std::string_view bytes = LineBytes(line);
  FormatDumpLine(layout_, line, bytes, out);
  if (bytes.empty() && FileSize() != 0) out.resize(static_cast<size_t>(layout_.offset_digits));
  return out;
}

uint64_t BinaryViewerModel::CaretOffset() const {
  return ByteAtCaret(layout_, FileSize(), caret_);
}

std::string BinaryViewerModel::OffsetLabel() const {
  return file_ ? OffsetText(CaretOffset()) : std::string();
}

void BinaryViewerModel::SetTopLine(uint64_t line) {
  const uint64_t lines = LineCount();
  top_ = lines == 0 ? 0 : std::min(line, lines - 1);
}

// Keeps the caret's line on the screen, as the editor scrolls to its caret.
void BinaryViewerModel::ShowCaretLine() {
  const auto rows = static_cast<uint64_t>(page_rows_);
  if (caret_.line < top_) top_ = caret_.line;
  if (caret_.line >= top_ + rows) top_ = caret_.line - rows + 1;
}

void BinaryViewerModel::PlaceCaret(DumpCaret caret) {
  if (!file_) return;
  caret_ = SnapCaret(layout_, FileSize(), caret);
  sel_length_ = 0;
  ShowCaretLine();
}

void BinaryViewerModel::MoveCaret(DumpKey key) {
  if (!file_) return;
  const uint64_t last = LineCount() - 1;
  const auto page = static_cast<uint64_t>(page_rows_);
  DumpCaret c = caret_;
  switch (key) {
    case DumpKey::Left:
      c.column -= caret_.column == layout_.ByteColumn(0) ? 0 : 1;
      break;
    case DumpKey::Right:
      ++c.column;
      break;
    case DumpKey::Up:
      c.line -= c.line == 0 ? 0 : 1;
      break;
    case DumpKey::Down:
      c.line = std::min(c.line + 1, last);
      break;
    case DumpKey::Home:
      c.column = 0;
      break;
    case DumpKey::End:
      c.column = layout_.LineLength();
      break;
    case DumpKey::PageUp:
      c.line -= std::min(c.line, page);
      top_ -= std::min(top_, page);
      break;
    case DumpKey::PageDown:
      c.line = std::min(c.line + page, last);
      top_ = std::min(top_ + page, last);
      break;
    case DumpKey::First:
      c = DumpCaret{0, 0};
      break;
    case DumpKey::Last:
      c = DumpCaret{last, layout_.LineLength()};
      break;
  }
  PlaceCaret(c);
}

void BinaryViewerModel::MenuBinaryTopClick() {
  if (!file_ || caret_.line == 0) return;
  PlaceCaret(DumpCaret{0, caret_.column});
  top_ = 0;
}

void BinaryViewerModel::MenuBinaryPrevClick() {
  if (file_ && caret_.line != 0) MoveCaret(DumpKey::PageUp);
}

void BinaryViewerModel::MenuBinaryNextClick() {
  if (file_ && caret_.line + 1 < LineCount()) MoveCaret(DumpKey::PageDown);
}

void BinaryViewerModel::MenuBinaryEndClick() {
  if (!file_ || caret_.line + 1 >= LineCount()) return;
  PlaceCaret(DumpCaret{LineCount() - 1, caret_.column});
  top_ = LineCount() - 1;
}

void BinaryViewerModel::RememberInHistory(std::string_view text) {
  for (const FixedSearchEntry& e : kFixedSearchEntries)
    if (text == e.text) return;
  history_.Push(std::string(text));
}

void BinaryViewerModel::Search(std::string_view text, SearchDirection direction,
                               const ScanProgress& progress) {
  if (text.empty()) return Show(binary_text::kNoWord);
  RememberInHistory(text);
  const auto pattern = PatternForText(text, args_.code);
  if (const auto* refusal = std::get_if<PatternRefusal>(&pattern))
    return Show(*refusal == PatternRefusal::Empty ? binary_text::kNoWord
                                                  : binary_text::kUnmappable);
  const SearchPattern& p = std::get<SearchPattern>(pattern);
  pattern_hex_ = p.hex;
  // The files are for other readers; the search goes on with the pattern in memory.
  WritePatternFiles(args_.home, p, args_.code).IgnoreFailure();
  if (!file_) return Show(binary_text::kNotFound);
  uint64_t start = CaretOffset();
  if (sel_length_ != 0) {
    // Continue after (or before) the hit that is selected.
    if (direction == SearchDirection::Previous && start == 0) return Show(binary_text::kNotFound);
    start = direction == SearchDirection::Next ? start + 1 : start - 1;
  }
  sel_length_ = 0;
  const ScanResult r = FindBytes(*file_, p.bytes, start, direction, progress);
  if (r.outcome == ScanOutcome::Found) {
    caret_ = CaretAtByte(layout_, FileSize(), r.offset);
    top_ = caret_.line;
    sel_length_ = 2;
  } else if (r.outcome == ScanOutcome::NotFound) {
    Show(binary_text::kNotFound);
  } else if (r.outcome == ScanOutcome::Failed) {
    Show(std::string(binary_text::kUnreadable) + "\n" + r.error.message);
  }
}

std::optional<uint64_t> BinaryViewerModel::OffsetToHandBack() const {
  if (!file_) return std::nullopt;
  return CaretOffset();
}

void BinaryViewerModel::Close() {
  history_.Save(args_.home.PathOf(WorkingFile::Find), EscapedSjisListCodec()).IgnoreFailure();
}

}  // namespace tessary
