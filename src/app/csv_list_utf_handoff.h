// Handing the document's file to the Unicode CSV library, and closing that library at exit.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/dynamic_library.h"
#include "platform/messages.h"

namespace tessary {

inline constexpr std::string_view kDllNotLoadedMessage = "DLL が読み込まれていません\r\n";
inline constexpr std::string_view kDllAddressMessage = "DLL のアドレスが取得できません\r\n";

// The library's path: its file name in the executable's folder.
[[nodiscard]] std::string CsvListUtfLibraryPath(const std::string& executable_folder);

// Loads the library on each use of the command (keeping the latest load), calls its exports
// with the main window as owner, and at exit lets it close its window before unloading it.
class CsvListUtfHandoff {
 public:
  CsvListUtfHandoff(LibraryLoader& loader, Messages& messages, std::string library_path);
  ~CsvListUtfHandoff();
  CsvListUtfHandoff(const CsvListUtfHandoff&) = delete;
  CsvListUtfHandoff& operator=(const CsvListUtfHandoff&) = delete;

  // The command: a document file that is not there, a library that does not load and a
  // missing "OpenForm" or "Start" each end it with their message.
  void Show(void* owner, const std::string& document_path);
  // At the main window's close: "CloseForm" (or its message), then the library is unloaded.
  // Nothing when the library was never loaded.
  void Close(void* owner);
  [[nodiscard]] bool Loaded() const { return library_ != nullptr; }

 private:
  // The export's address, or nullptr after telling the user it is missing.
  [[nodiscard]] void* ExportOrMessage(std::string_view name);

  LibraryLoader& loader_;
  Messages& messages_;
  std::string library_path_;
  std::unique_ptr<LoadedLibrary> library_;
};

}  // namespace tessary
