// A regular file's bytes mapped read-only, for scans that need no copy of the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// The bytes of a regular file as they were when it was mapped, up to the size it had then.
// Reading them costs no copy and no page of new memory. A file shortened by another program
// while it is mapped makes reading its lost end raise SIGBUS, so only short-lived scans of a
// program that handles that signal use this (tessary-cli stops with a message), and anything
// kept goes through ReadWholeFile.
class MappedFile {
 public:
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  [[nodiscard]] std::string_view bytes() const { return {data_, size_}; }

  // The file at `path` mapped; nothing when it is not a non-empty regular file or cannot be
  // mapped (the caller then reads it the ordinary way, which reports why).
  [[nodiscard]] static std::optional<MappedFile> Open(const std::string& path);

 private:
  MappedFile(const char* data, size_t size) : data_(data), size_(size) {}
  const char* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace tessary
