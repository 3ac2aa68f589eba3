// Updating the document code state through a load and before an overwrite save.
#include "codec/document_code_state.h"

namespace tessary {

void DocumentCodeState::ApplyDetection(const Detection& detection) {
  DetectedCode = detection.code;
  DetectedRetCode = detection.ret;
  InvalidCharFound = detection.invalid_char_found;
  MixedRetCode = detection.mixed_ret_code;
}

void DocumentCodeState::ApplyText(const std::string& file_name, const LoadedText& loaded) {
  FileName = file_name;
  ReadCode = SaveCode = LoadedCode = loaded.code;
  ReadRetCode = SaveRetCode = LoadedRetCode = loaded.ret;
  SetNames(loaded.code_name, loaded.ret_name);
  InvalidCharFound = loaded.invalid_char_found;
  MixedRetCode = loaded.mixed_ret_code;
  ReplacedChars = loaded.replaced_chars;
}

void DocumentCodeState::ApplyFileFacts(uint64_t file_size, FileProtection protection) {
  FileSize = file_size;
  if (FileSize == 0) {
    ResetCodes(CharCode::SJIS);
    LoadedCode = CharCode::SJIS;
    LoadedRetCode = RetCode::CrLf;
  }
  FileReadOnly = protection == FileProtection::ReadOnly;
  LoadedReadCodeName = ReadCodeName;
  LoadedReadRetName = ReadRetName;
  LoadedSaveCodeName = SaveCodeName;
  LoadedSaveRetName = SaveRetName;
}

void DocumentCodeState::ResetCodes(CharCode code) {
  ReadCode = SaveCode = code;
  ReadRetCode = SaveRetCode = RetCode::CrLf;
  SetNames(CharCodeName(code), RetCodeName(RetCode::CrLf));
}

void DocumentCodeState::PrepareOverwriteSave() {
  SaveCode = LoadedCode;
  SaveRetCode = LoadedRetCode;
}

void DocumentCodeState::SetNames(std::string_view code, std::string_view ret) {
  ReadCodeName = SaveCodeName = code;
  ReadRetName = SaveRetName = ret;
}

}  // namespace tessary
