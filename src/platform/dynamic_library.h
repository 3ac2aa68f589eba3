// Loading a library at run time and looking up its exports by name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace tessary {

// A loaded library; unloaded when the object goes.
class LoadedLibrary {
 public:
  virtual ~LoadedLibrary() = default;
  // The address of an export, or nullptr when the library has none of that name.
  [[nodiscard]] virtual void* Symbol(std::string_view name) const = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // Loads the library file at path (a full path: no search of the system's folders).
  [[nodiscard]] virtual Result<std::unique_ptr<LoadedLibrary>> Load(const std::string& path) = 0;
};

// dlopen and dlsym (LoadLibrary and GetProcAddress are the Windows counterparts). Symbols are
// bound at once and kept local to the library.
class SystemLibraryLoader final : public LibraryLoader {
 public:
  [[nodiscard]] Result<std::unique_ptr<LoadedLibrary>> Load(const std::string& path) override;
};

// An export's address as the function type the caller knows it by.
template <class Fn>
[[nodiscard]] Fn ExportAs(const LoadedLibrary& library, std::string_view name) {
  return reinterpret_cast<Fn>(library.Symbol(name));
}

}  // namespace tessary
