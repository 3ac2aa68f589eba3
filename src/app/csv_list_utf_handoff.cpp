// The Unicode CSV library's three calls and their messages.
#include "app/csv_list_utf_handoff.h"

#include <filesystem>

#include "app/external_programs.h"
#include "platform/file_io.h"
#include "viewers/csv_list_utf_api.h"

namespace tessary {

std::string CsvListUtfLibraryPath(const std::string& executable_folder) {
  return (std::filesystem::path(executable_folder) / kCsvListUtfLibrary).string();
}

CsvListUtfHandoff::CsvListUtfHandoff(LibraryLoader& loader, Messages& messages,
                                     std::string library_path)
    : loader_(loader), messages_(messages), library_path_(std::move(library_path)) {}

CsvListUtfHandoff::~CsvListUtfHandoff() = default;

void* CsvListUtfHandoff::ExportOrMessage(std::string_view name) {
  void* address = library_->Symbol(name);
  if (!address) {
    std::string text(kDllAddressMessage);
    text += name;
    messages_.ShowMessage(text);
  }
  return address;
}

void CsvListUtfHandoff::Show(void* owner, const std::string& document_path) {
  if (document_path.empty() || !FileExists(document_path))
    return messages_.ShowMessage(std::string(kNoFileToReadMessage));
  Result<std::unique_ptr<LoadedLibrary>> loaded = loader_.Load(library_path_);
  if (!loaded) {
    std::string text(kDllNotLoadedMessage);
    text += kCsvListUtfLibrary;
    return messages_.ShowMessage(text);
  }
  // A second load of the same file is the same library: the earlier hold is let go.
  library_ = std::move(loaded).value();
  if (void* open = ExportOrMessage(kCsvOpenFormExport))
    reinterpret_cast<TessaryCsvOpenForm>(open)(owner, 0);
  else
    return;
    // The whole path in the system's own spelling, however long it is.
#ifdef _WIN32
  const std::wstring native =
      std::filesystem::path(std::u8string(document_path.begin(), document_path.end())).wstring();
#else
  const std::string& native = document_path;
#endif
  if (void* start = ExportOrMessage(kCsvStartExport))
    reinterpret_cast<TessaryCsvStart>(start)(owner, native.c_str());
}

void CsvListUtfHandoff::Close(void* owner) {
  if (!library_) return;
  if (void* close = ExportOrMessage(kCsvCloseFormExport))
    reinterpret_cast<TessaryCsvCloseForm>(close)(owner);
  library_.reset();
}

}  // namespace tessary
