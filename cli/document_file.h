// Loading, refusing and writing a document file as the editor does, for commands that rewrite one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codec/document_loader.h"
#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace tessary::cli {

// Whether a file the editor would open write-protected is still converted.
enum class ForceWrite { No, Yes };

// A loaded document, or the exit status to stop with (the reason already printed).
struct LoadOutcome {
  std::optional<LoadedText> doc;
  int exit_status = 0;
};

// Loads `input` as the editor opens it, without its working files. Stops with 1 when the file
// cannot be read, with 2 when it would open write-protected (unless forced) or a non-empty
// file gave no text. Messages begin with "tessary-cli COMMAND: ".
[[nodiscard]] LoadOutcome LoadForRewrite(std::string_view command, const std::string& input,
                                         CharCode read, ForceWrite force);

// Writes the bytes over `output` as the overwrite save does; reports characters that became
// "?" on the way in. Returns the exit status: 0, or 1 when the write failed.
[[nodiscard]] int WriteRewritten(std::string_view command, const std::string& input,
                                 const std::string& output, const LoadedText& doc,
                                 const std::string& bytes);
// The same for content made while it is written. Like a shell's redirection, the tool leaves
// syncing the new file to the system; it still replaces OUTPUT atomically.
[[nodiscard]] int WriteRewritten(std::string_view command, const std::string& input,
                                 const std::string& output, const LoadedText& doc,
                                 const ContentPieces& content);

// Reports on standard error the characters that became "?" or another one on the way in.
void WarnReplaced(std::string_view command, const std::string& input, uint64_t replaced_chars);

// A Shift-JIS file with CR LF line ends and nothing the loader would drop, refuse or protect,
// mapped: its bytes already are its rows joined as search joins them, so find and replace work
// on them without a document. Nothing for any other file; the full load then reports what it
// finds.
[[nodiscard]] std::optional<MappedFile> MapJoinedSjisFile(const std::string& path);

}  // namespace tessary::cli
