// Loading, refusing and writing a document file as the editor does, for commands that rewrite one.
#include "document_file.h"

#include <cstdio>

#include "codec/char_code_detector.h"
#include "editor/editor_search.h"
#include "platform/file_io.h"

namespace tessary::cli {
namespace {

// Messages hold the Windows line break of the message boxes; a terminal wants one newline.
void PrintMessage(std::string_view command, std::string_view text) {
  std::string s;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) s.push_back(text[i]);
  std::fprintf(stderr, "tessary-cli %.*s: %s\n", static_cast<int>(command.size()), command.data(),
               s.c_str());
}

// Messages of the file layer name their file; the missing-file message does not.
std::string NamingTheFile(const std::string& path, const std::string& message) {
  return message.find(path) == std::string::npos ? path + ": " + message : message;
}

}  // namespace

LoadOutcome LoadForRewrite(std::string_view command, const std::string& input, CharCode read,
                           ForceWrite force) {
  Result<LoadedText> loaded = LoadDocumentFile(input, read, WorkingFiles::Skip());
  if (!loaded) {
    PrintMessage(command, NamingTheFile(input, loaded.error().message));
    return {std::nullopt, 1};
  }
  const LoadedText& doc = loaded.value();
  if (doc.WriteProtected() && force == ForceWrite::No) {
    if (doc.mixed_ret_code) PrintMessage(command, kMixedRetCodeMessage);
    if (doc.invalid_char_found) PrintMessage(command, kInvalidCharMessage);
    if (doc.text_cut_short) PrintMessage(command, kTextCutMessage);
    PrintMessage(command, input + ": not converted (--force converts the text shown)");
    return {std::nullopt, 2};
  }
  if (doc.NoTextObtained()) {
    PrintMessage(command, kNoTextMessage);
    return {std::nullopt, 2};
  }
  return {std::move(loaded).value(), 0};
}

int WriteRewritten(std::string_view command, const std::string& input, const std::string& output,
                   const LoadedText& doc, const std::string& bytes) {
  return WriteRewritten(command, input, output, doc,
                        [&bytes](const PieceWriter& put) { return put(bytes); });
}

int WriteRewritten(std::string_view command, const std::string& input, const std::string& output,
                   const LoadedText& doc, const ContentPieces& content) {
  if (Status s = WriteFileAtomic(output, content, Durability::Unsynced); !s) {
    PrintMessage(command, s.error().message);
    return 1;
  }
  WarnReplaced(command, input, doc.replaced_chars);
  return 0;
}

void WarnReplaced(std::string_view command, const std::string& input, uint64_t replaced_chars) {
  if (replaced_chars > 0)
    PrintMessage(command, "warning: " + std::to_string(replaced_chars) + " characters of " + input +
                              " have no Shift-JIS form and became \"?\" or a similar character");
}

std::optional<MappedFile> MapJoinedSjisFile(const std::string& path) {
  std::optional<MappedFile> file = MappedFile::Open(path);
  if (!file) return std::nullopt;
  const std::string_view bytes = file->bytes();
  const Detection d = DetectCharCode(bytes);
  if (d.code != CharCode::SJIS || d.ret != RetCode::CrLf || d.invalid_char_found ||
      d.mixed_ret_code || !IsJoinedCrLfText(bytes))
    return std::nullopt;
  return file;
}

}  // namespace tessary::cli
