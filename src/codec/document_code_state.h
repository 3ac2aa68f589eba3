// The main window's code state of its document: codes, line ends and names after a load.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/char_code.h"
#include "codec/document_loader.h"

namespace tessary {

// Names are the display texts of the codes (UTF-8). ReadCode holds the effective code after a
// load; SaveCode what the next save writes; LoadedCode what an overwrite save goes back to.
struct DocumentCodeState {
  std::string FileName;
  uint64_t FileSize = 0;
  CharCode ReadCode = CharCode::SJIS, SaveCode = CharCode::SJIS, LoadedCode = CharCode::SJIS;
  RetCode ReadRetCode = RetCode::CrLf, SaveRetCode = RetCode::CrLf, LoadedRetCode = RetCode::CrLf;
  std::string_view ReadCodeName = "S-JIS", ReadRetName = "Cr+Lf(Windows) ";
  std::string_view SaveCodeName = "S-JIS", SaveRetName = "Cr+Lf(Windows) ";
  std::string_view LoadedReadCodeName, LoadedReadRetName, LoadedSaveCodeName, LoadedSaveRetName;
  bool FileReadOnly = false;
  bool InvalidCharFound = false;
  bool MixedRetCode = false;
  // Characters that became "?" when the document was loaded. An overwrite save writes the "?"
  // into the file, so the window warns first while this is not 0.
  uint64_t ReplacedChars = 0;

  // Takes over a load's results; `read_only_attribute` is the file's own read-only flag.
  void ApplyLoad(const std::string& file_name, const LoadedText& loaded, bool read_only_attribute);
  // The codes an overwrite save writes: always the ones the file was loaded with.
  void PrepareOverwriteSave();
  bool OverwriteLosesCharacters() const { return ReplacedChars > 0; }
};

}  // namespace tessary
