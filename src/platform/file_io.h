// Whole-file reads and atomic whole-file writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace tessary {

// Size from the directory entry, or nothing when the path names no regular file.
std::optional<uint64_t> FileSizeOf(const std::string& path);
bool FileExists(const std::string& path);

// The file's bytes, or the reason they could not be read (open failure, read error, a folder).
Result<std::string> ReadWholeFile(const std::string& path);

// Writes bytes to a temporary file beside path and renames it over path, so that a crash or a
// failed write never leaves path truncated. An existing target keeps its permission bits.
Status WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace tessary
