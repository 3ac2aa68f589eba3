// Updating the document code state from a load and before an overwrite save.
#include "codec/document_code_state.h"

namespace tessary {

void DocumentCodeState::ApplyLoad(const std::string& file_name, const LoadedText& loaded,
                                  bool read_only_attribute) {
  FileName = file_name;
  FileSize = loaded.file_size;
  ReadCode = SaveCode = LoadedCode = loaded.code;
  ReadRetCode = SaveRetCode = LoadedRetCode = loaded.ret;
  ReadCodeName = SaveCodeName = loaded.code_name;
  ReadRetName = SaveRetName = loaded.ret_name;
  InvalidCharFound = loaded.invalid_char_found;
  MixedRetCode = loaded.mixed_ret_code;
  FileReadOnly = read_only_attribute || loaded.WriteProtected();
  ReplacedChars = loaded.replaced_chars;
  LoadedReadCodeName = ReadCodeName;
  LoadedReadRetName = ReadRetName;
  LoadedSaveCodeName = SaveCodeName;
  LoadedSaveRetName = SaveRetName;
}

void DocumentCodeState::PrepareOverwriteSave() {
  SaveCode = LoadedCode;
  SaveRetCode = LoadedRetCode;
}

}  // namespace tessary
