// Deciding text, codes, names and flags of a loaded document.
#include "codec/document_loader.h"

#include "codec/sjis_line_splitter.h"
#include "codec/utf_text_decoder.h"
#include "platform/app_home.h"
#include "platform/file_io.h"
#include "platform/large_buffer.h"

namespace tessary {
namespace {

// The 8-bit and UTF paths by code; the UTF decoders overwrite the file's bytes in place.
DecodedText DecodeByCode(std::string&& bytes, CharCode code,
                         std::optional<uint64_t> line_end_bytes) {
  switch (code) {
    case CharCode::UTF8Bom:
      return DecodeUtf8InPlace(std::move(bytes), Utf8Mark::Drop);
    case CharCode::UTF8:
      return DecodeUtf8InPlace(std::move(bytes), Utf8Mark::Keep);
    case CharCode::UTF16BomBe:
      return DecodeUtf16InPlace(std::move(bytes), ByteOrder::BigEndian, Utf16Mark::Expected);
    case CharCode::UTF16Be:
      return DecodeUtf16InPlace(std::move(bytes), ByteOrder::BigEndian, Utf16Mark::None);
    case CharCode::UTF16BomLe:
      return DecodeUtf16InPlace(std::move(bytes), ByteOrder::LittleEndian, Utf16Mark::Expected);
    case CharCode::UTF16Le:
      return DecodeUtf16InPlace(std::move(bytes), ByteOrder::LittleEndian, Utf16Mark::None);
    case CharCode::SJIS:
    case CharCode::Auto:
      break;
  }
  SjisSplit split = SplitSjisFileInPlace(std::move(bytes), line_end_bytes);
  DecodedText r;
  r.lines = std::move(split.lines);
  r.cut_short = split.cut_short;
  return r;
}

}  // namespace

LoadedText LoadDocumentBytes(std::string&& bytes, CharCode requested, const Detection& detection) {
  LoadedText r;
  r.file_size = bytes.size();
  r.invalid_char_found = detection.invalid_char_found;
  r.mixed_ret_code = detection.mixed_ret_code;
  r.code = requested == CharCode::Auto ? detection.code : requested;
  r.ret = detection.ret;
  if (bytes.empty()) {
    // Always an empty Shift-JIS document with CR LF, whatever was requested.
    r.code = CharCode::SJIS;
    r.ret = RetCode::CrLf;
  } else if (r.invalid_char_found) {
    r.lines = detection.unknown_file ? SplitSjisBytes(*detection.unknown_file)
                                     : SplitSjisBytes(WithoutControlBytes(bytes));
  } else {
    DecodedText d = DecodeByCode(std::move(bytes), r.code, detection.line_end_bytes);
    r.lines = std::move(d.lines);
    r.replaced_chars = d.replaced_chars;
    r.decode_failed = !d.ok;
    r.text_cut_short = d.cut_short && d.ok;
  }
  // The names follow the effective code also on the invalid-characters path, so the status
  // bars never show the previous document's code.
  r.code_name = CharCodeName(r.code);
  r.ret_name = RetCodeName(r.ret);
  return r;
}

LoadedText LoadDocumentText(std::string_view bytes, CharCode requested,
                            const Detection& detection) {
  return LoadDocumentBytes(std::string(bytes), requested, detection);
}

LoadedText LoadDocumentText(std::string_view bytes, CharCode requested) {
  return LoadDocumentText(bytes, requested, DetectCharCode(bytes));
}

LoadedText LoadDocumentBytes(std::string&& bytes, CharCode requested) {
  const Detection d = DetectCharCode(bytes);
  return LoadDocumentBytes(std::move(bytes), requested, d);
}

std::variant<DetectedFile, ReadError> ReadAndDetect(const std::string& path, WorkingFiles files) {
  if (KindOfPath(path) == PathKind::Missing)
    return ReadError{ReadFailure::Missing, Error{std::string(kFileMissingMessage), 0}, {}};
  // An unreadable file is reported, never classified as the zero bytes it was not.
  Result<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return ReadError{ReadFailure::Unreadable, bytes.error(), {}};
  DetectedFile f{std::move(bytes).value(), {}};
  f.detection = DetectCharCode(f.bytes);
  if (files.home() && f.detection.unknown_file) {
    if (Status s =
            WriteFileAtomic(files.home()->PathOf(WorkingFile::UnKnown), *f.detection.unknown_file);
        !s)
      return ReadError{ReadFailure::WorkingFileNotWritten, s.error(), std::move(f.detection)};
  }
  return f;
}

Result<LoadedText> LoadDocumentFile(const std::string& path, CharCode requested,
                                    WorkingFiles files) {
  std::variant<DetectedFile, ReadError> read = ReadAndDetect(path, files);
  if (const ReadError* e = std::get_if<ReadError>(&read)) return e->error;
  DetectedFile& f = std::get<DetectedFile>(read);
  return LoadDocumentBytes(std::move(f.bytes), requested, f.detection);
}

}  // namespace tessary
