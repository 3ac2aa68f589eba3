// A file's lines decoded piece by piece as it is read, for the tools that rewrite a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "codec/char_code.h"
#include "codec/line_source.h"
#include "codec/text_lines.h"
#include "platform/file_io.h"

namespace tessary {

// The lines a whole load of an 8-bit file gives, read, decoded and handed on one piece at a
// time, so that neither the file nor its text is ever held whole. What a whole load decides
// from the whole file is decided from its start and confirmed as the pieces pass: a file that
// turns out otherwise (a zero byte or EOF mark, other line ends, a bad UTF-8 sequence further
// on) stops the lines early and is left to the whole load.
class StreamedText {
 public:
  static constexpr size_t kPieceBytes = size_t{512} << 10;
  // The start that decides the code: at least the range where a control byte makes a file unfit.
  static constexpr size_t kStartBytes = size_t{64} << 10;

  // The file opened and its start read; nothing when a streamed load could differ from a whole
  // one from the outset: not a readable regular file, a code other than Shift-JIS or UTF-8
  // (read or requested), a start that decides no code, or a file unfit for editing.
  [[nodiscard]] static std::optional<StreamedText> Open(const std::string& path, CharCode requested,
                                                        size_t piece_bytes = kPieceBytes);

  // The effective code, and the line end the start shows (the whole file's unless Confirmed()
  // says otherwise).
  [[nodiscard]] CharCode code() const { return code_; }
  [[nodiscard]] RetCode ret() const { return ret_; }

  // The lines of the start that was read to decide the code (up to its last line end), as the
  // whole load begins: enough for a first screen. Leaves the text to be visited as before.
  [[nodiscard]] TextLines StartLines() const;
  // The file's bytes those lines came from.
  [[nodiscard]] size_t StartBytes() const;

  // The lines in order, read and decoded as they are asked for; visited once.
  [[nodiscard]] LineSource Lines();
  // The whole text as EncodeDocumentInPieces(Lines(), code, ret, put) writes it, instead of
  // Lines(). Pieces are decoded and encoded on worker threads while this one reads the next
  // piece and writes the last one. Returns 0, the first failure of put, or ECANCELED when the
  // file stopped the pieces.
  [[nodiscard]] int EncodeInPieces(CharCode code, RetCode ret, const PieceWriter& put);
  // True once a visit stopped early: what the lines gave must not be used.
  [[nodiscard]] bool Stopped() const { return stopped_; }
  // After the lines were visited: the whole file gave what a whole load gives, with the line end
  // of its start, and some text.
  [[nodiscard]] bool Confirmed() const;
  // Characters that became "?" or another character, as a whole load counts them.
  [[nodiscard]] uint64_t replaced_chars() const { return tally_.replaced; }

  // What the pieces passed so far held, as a whole load would have counted it.
  struct Tally {
    uint64_t cr = 0, lf = 0, replaced = 0;
    bool some_text = false;
    void Add(const Tally& t);
  };

 private:
  StreamedText(FileReader reader, size_t piece_bytes)
      : reader_(std::move(reader)), piece_bytes_(piece_bytes) {}
  using TextSink = std::function<void(std::string_view)>;
  void Visit(const TextSink* lines, const TextSink* runs, std::string_view eol);
  // The next piece of whole lines; nothing after the last one, or when a read failed (which
  // stops the text).
  [[nodiscard]] std::optional<std::string> NextPiece();
  [[nodiscard]] bool ReadMore(std::string& piece);

  FileReader reader_;
  size_t piece_bytes_;
  CharCode code_ = CharCode::SJIS;
  RetCode ret_ = RetCode::None;
  std::string carry_;  // bytes read but not yet decoded: the start, then a line's beginning
  Tally tally_;
  bool at_end_ = false;
  bool read_all_ = false;
  bool visited_ = false;
  bool stopped_ = false;
  std::function<void(const TextSink&)> visitor_;
  std::function<void(std::string_view, const TextSink&)> joined_visitor_;
};

}  // namespace tessary
