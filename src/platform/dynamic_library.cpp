// dlopen-based run-time loading of libraries.
#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace tessary {
namespace {

class DlLibrary final : public LoadedLibrary {
 public:
  explicit DlLibrary(void* handle) : handle_(handle) {}
  ~DlLibrary() override { dlclose(handle_); }
  DlLibrary(const DlLibrary&) = delete;
  DlLibrary& operator=(const DlLibrary&) = delete;

  void* Symbol(std::string_view name) const override {
    return dlsym(handle_, std::string(name).c_str());
  }

 private:
  void* handle_;
};

}  // namespace

Result<std::unique_ptr<LoadedLibrary>> SystemLibraryLoader::Load(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    return Error{why ? std::string(why) : path, 0};
  }
  return std::unique_ptr<LoadedLibrary>(std::make_unique<DlLibrary>(handle));
}

}  // namespace tessary
