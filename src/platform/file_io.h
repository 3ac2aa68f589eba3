// Whole-file reads and atomic whole-file writes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tessary {

// What a path names once symbolic links are followed. Unreachable: the system would not say
// (no search permission on a folder, a link loop, a name too long); reading or writing the
// path reports the system's reason.
enum class PathKind {
  Missing,
  Regular,
  Folder,
  Fifo,
  CharDevice,
  BlockDevice,
  Socket,
  Other,
  Unreachable
};

[[nodiscard]] PathKind KindOfPath(const std::string& path);

// What the path is, for a message that follows its name: "is a folder", "is a FIFO", ...
[[nodiscard]] std::string_view DescribeKind(PathKind kind);

// Size from the directory entry, or nothing when the path names no regular file.
[[nodiscard]] std::optional<uint64_t> FileSizeOf(const std::string& path);
// True when the path (links followed) names a regular file.
[[nodiscard]] bool FileExists(const std::string& path);

// The file's bytes as far as its size when opened, or the reason they could not be read. Only
// a regular file is opened, so a FIFO, a device or a folder is reported without waiting on it.
[[nodiscard]] Result<std::string> ReadWholeFile(const std::string& path);
// The same, but no more than the first max_bytes: for lists whose rows are few, so that a
// corrupt file of gigabytes costs no more than the list can hold.
[[nodiscard]] Result<std::string> ReadFileHead(const std::string& path, uint64_t max_bytes);

// A regular file read from its start in pieces, up to the size it had when opened (as
// ReadWholeFile reads it), so that a long file passes through a buffer of one piece.
class FileReader {
 public:
  FileReader(FileReader&& other) noexcept;
  FileReader& operator=(FileReader&& other) noexcept;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  // Opens only a regular file, with the same checks and messages as ReadWholeFile.
  [[nodiscard]] static Result<FileReader> Open(const std::string& path);
  // The size when opened.
  [[nodiscard]] uint64_t Size() const { return size_; }
  // Reads what follows into [into, into + max_bytes): fewer bytes only at the end (or when the
  // file shrank), 0 after it. A failure carries the system's reason.
  [[nodiscard]] Result<size_t> Read(char* into, size_t max_bytes);

 private:
  FileReader(int fd, uint64_t size, std::string path)
      : fd_(fd), size_(size), path_(std::move(path)) {}
  int fd_ = -1;
  uint64_t size_ = 0;
  uint64_t read_ = 0;
  std::string path_;
};

// Saves bytes as the content of the file path names; the path itself stays what it was.
// Symbolic links are followed and the file they name is written. A regular file with one name
// is replaced by a temporary file renamed over it, so a crash or a failed write never leaves it
// half written; owner, group and permission bits are kept. A FIFO, a character device or a file
// with more than one name is written in place. A file that its user could not write (for root,
// one without any write permission bit) is refused as write-protected.
[[nodiscard]] Status WriteFileAtomic(const std::string& path, std::string_view bytes);

// Writes one piece of a file's content; 0, or the errno of the failure.
using PieceWriter = std::function<int(std::string_view piece)>;
// Hands a file's content to the writer piece by piece, in order, and returns the first non-zero
// result of the writer (0 when every piece went out), so a large text is written as it is
// made, never held whole.
using ContentPieces = std::function<int(const PieceWriter& put)>;

// Whether a replaced file reaches the disk before the write returns.
enum class Durability {
  Synced,    // the file and its folder are synced: what the editor's saves need
  Unsynced,  // left to the system, as a shell's redirection leaves it: for a tool's output
};

// Whether a file that cannot be replaced (a FIFO, a device, a file with other names or owned
// by another user) may be written in place. A writer whose content may still fail half way
// refuses, so that such a failure never leaves a half-written file.
enum class InPlace { Allowed, Refused };

// WriteFileAtomic over content made while it is written; a failure of the writer or of the
// content leaves the file as it was (unless it is written in place, as above).
[[nodiscard]] Status WriteFileAtomic(const std::string& path, const ContentPieces& content,
                                     Durability durability, InPlace in_place = InPlace::Allowed);

// The names of the regular files directly in a folder, in no particular order. Symbolic links,
// sub-folders and every other kind of entry are left out, so nothing listed leads outside the
// folder.
[[nodiscard]] Result<std::vector<std::string>> RegularFilesIn(const std::string& folder);

// True when the path itself is a symbolic link (not followed).
[[nodiscard]] bool IsSymbolicLink(const std::string& path);

// Creates an empty file that did not exist: an existing file (or link, or anything else of that
// name) is reported, never truncated or followed.
[[nodiscard]] Status CreateNewFile(const std::string& path);

// Creates a folder that is missing; an existing folder is success.
[[nodiscard]] Status MakeFolder(const std::string& path);

// Removes a file name (a link is removed, not what it names). A missing name is success.
[[nodiscard]] Status RemoveFile(const std::string& path);

}  // namespace tessary
