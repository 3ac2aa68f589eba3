// The load pipeline: a file's bytes and the requested read code to the document's lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/result.h"
#include "codec/char_code.h"
#include "codec/char_code_detector.h"
#include "codec/text_lines.h"
#include "platform/app_home.h"

namespace tessary {

// Messages of the load, exact (UTF-8).
inline constexpr std::string_view kFileMissingMessage = "ファイルがありません";
inline constexpr std::string_view kMixedRetCodeMessage =
    "改行(CrLf)までに、さらに改行(Lf)がありますので\r\n書き換え禁止ファイルとして扱います";
inline constexpr std::string_view kInvalidCharMessage =
    "不正な文字を含んでいますので\r\n書き換え禁止ファイルとして扱います";
inline constexpr std::string_view kTextCutMessage =
    "ファイルの途中に 00 または 1A のバイトがあり、その先の一部を読み込んでいませんので\r\n"
    "書き換え禁止ファイルとして扱います";
inline constexpr std::string_view kNoTextMessage =
    "ファイルサイズが 0 以上ですが、テキストが取得できませんでした";

struct LoadedText {
  TextLines lines;
  // The effective code (the request when there was one, else the detected code) and the
  // detected line end; an empty file is always Shift-JIS with CR LF. They become ReadCode,
  // SaveCode and LoadedCode (and their line ends).
  CharCode code = CharCode::SJIS;
  RetCode ret = RetCode::CrLf;
  bool invalid_char_found = false;
  bool mixed_ret_code = false;
  // Display texts; the read and save names are the same after a load.
  std::string_view code_name;
  std::string_view ret_name;
  // Characters that became "?" on the way in (one per UTF-16 unit), or another character by
  // best fit. An overwrite save makes that change permanent, so the document keeps this count.
  uint64_t replaced_chars = 0;
  // Size of the file's bytes.
  uint64_t file_size = 0;
  // Whether UTF-8 decoding failed (the text is then empty).
  bool decode_failed = false;

  // A zero byte or an EOF mark hid text of the file (kTextCutMessage).
  bool text_cut_short = false;

  // The document opens write-protected (besides a read-only file attribute).
  bool WriteProtected() const { return invalid_char_found || mixed_ret_code || text_cut_short; }
  // A non-empty file gave no text: the post-load check shows kNoTextMessage.
  bool NoTextObtained() const { return file_size > 0 && lines.Empty(); }
};

// Pure pipeline over the file's bytes and its detection (DetectCharCode(bytes)). With
// invalid_char_found the text is what "Tessary-UnKnown.txt" holds (the bytes without control
// bytes), read as Shift-JIS like the document's own file loader reads a file.
LoadedText LoadDocumentText(std::string_view bytes, CharCode requested, const Detection& detection);
// The same, taking over the bytes: the UTF paths decode in the file's own buffer.
LoadedText LoadDocumentBytes(std::string&& bytes, CharCode requested, const Detection& detection);
LoadedText LoadDocumentText(std::string_view bytes, CharCode requested);
LoadedText LoadDocumentBytes(std::string&& bytes, CharCode requested);

// Where loading a file may write the "Tessary-UnKnown.txt" working file: the window's settings
// folder, or nowhere (the command-line tools leave the working files alone).
class WorkingFiles {
 public:
  [[nodiscard]] static WorkingFiles WriteIn(AppHome home) { return WorkingFiles(std::move(home)); }
  [[nodiscard]] static WorkingFiles Skip() { return WorkingFiles(std::nullopt); }
  const std::optional<AppHome>& home() const { return home_; }

 private:
  explicit WorkingFiles(std::optional<AppHome> home) : home_(std::move(home)) {}
  std::optional<AppHome> home_;
};

// A file's whole bytes and what DetectCharCode found in them.
struct DetectedFile {
  std::string bytes;
  Detection detection;
};

// Why ReadAndDetect stopped. Each caller words its own message from the kind and the reason.
enum class ReadFailure { Missing, Unreadable, WorkingFileNotWritten };
struct ReadError {
  ReadFailure failure = ReadFailure::Missing;
  // kFileMissingMessage for a missing path, else the file layer's reason naming the file.
  Error error;
  // The file's classification when only the working file failed; the default (Shift-JIS,
  // CR LF, no flags) when the bytes could not be read.
  Detection detection;
};

// Reads path whole (only a path that is not there is Missing; a folder, FIFO or device is
// Unreadable and named as such), detects its codes and, when allowed, rewrites
// "Tessary-UnKnown.txt" as the detection asks. Nothing is decoded, so a caller can move the
// bytes into LoadDocumentBytes.
[[nodiscard]] std::variant<DetectedFile, ReadError> ReadAndDetect(const std::string& path,
                                                                  WorkingFiles files);

// The load as the window does it, I/O included: ReadAndDetect (any failure is its error), then
// LoadDocumentBytes. Skip gives the same text, as the working file's content is taken from
// memory either way.
Result<LoadedText> LoadDocumentFile(const std::string& path, CharCode requested,
                                    WorkingFiles files);

}  // namespace tessary
