// The main window's code state of its document: codes, line ends, names and flags of a load.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/char_code.h"
#include "codec/char_code_detector.h"
#include "codec/document_loader.h"

namespace tessary {

// Whether the document may be written back over its file.
enum class FileProtection { Writable, ReadOnly };

// Names are the display texts of the codes (UTF-8). FileName is the file the document belongs
// to (empty for a new one); ReadCode the effective code after a load (before one, the code
// asked for); SaveCode what the next save writes; LoadedCode what an overwrite save goes back
// to. The Loaded*Name texts are what the overwrite confirmation shows.
struct DocumentCodeState {
  std::string FileName;
  uint64_t FileSize = 0;
  CharCode DetectedCode = CharCode::SJIS;
  RetCode DetectedRetCode = RetCode::CrLf;
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

  // The classification of the file a load read, kept also when the load stops after it.
  void ApplyDetection(const Detection& detection);
  // A load's text has replaced the document's: its codes, names, flags and replaced count.
  // Size, protection and the confirmation's names wait for ApplyFileFacts, so a file that
  // vanishes in between leaves them as they were.
  void ApplyText(const std::string& file_name, const LoadedText& loaded);
  // Completes a load with the file's size (an empty file is Shift-JIS with CR LF whatever was
  // read) and protection, and fixes the names the overwrite confirmation shows.
  void ApplyFileFacts(uint64_t file_size, FileProtection protection);
  // A document before any load: `code` read and saved, with CR LF.
  void ResetCodes(CharCode code);
  // The codes an overwrite save writes: always the ones the file was loaded with.
  void PrepareOverwriteSave();
  [[nodiscard]] bool OverwriteLosesCharacters() const { return ReplacedChars > 0; }

 private:
  void SetNames(std::string_view code, std::string_view ret);
};

}  // namespace tessary
