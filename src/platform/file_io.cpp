// POSIX implementation of whole-file reads and atomic writes.
#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include "platform/large_buffer.h"
#include "platform/worker_thread.h"

namespace tessary {
namespace {

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { (void)Close(); }
  int get() const { return fd_; }
  void Reset(int fd) {
    (void)Close();
    fd_ = fd;
  }
  [[nodiscard]] int Release() { return std::exchange(fd_, -1); }
  [[nodiscard]] int Close() {
    int rc = 0;
    if (fd_ >= 0) rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

PathKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return PathKind::Regular;
  if (S_ISDIR(mode)) return PathKind::Folder;
  if (S_ISFIFO(mode)) return PathKind::Fifo;
  if (S_ISCHR(mode)) return PathKind::CharDevice;
  if (S_ISBLK(mode)) return PathKind::BlockDevice;
  if (S_ISSOCK(mode)) return PathKind::Socket;
  return PathKind::Other;
}

Error NotAFile(const std::string& what, const std::string& path, PathKind kind) {
  return Error{what + ": " + path + " " + std::string(DescribeKind(kind)) + ", not a file",
               kind == PathKind::Folder ? EISDIR : 0};
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// 0 when every byte was written, else the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Hands a large file's written part to the disk while the rest is still being made. Without it
// the system writes the whole file at the close or rename that replaces a file, and the caller
// waits for that at the end. The calls go to a second thread, as they may wait for the disk's
// queue; the writer never waits for them, and a range still going out merges into the next.
class WriteBackStarter {
 public:
  explicit WriteBackStarter(int fd) : fd_(fd) {}

  void Wrote(size_t n) {
#ifdef __linux__
    constexpr uint64_t kWriteBackBytes = uint64_t{8} << 20;
    written_ += n;
    if (written_ - started_ < kWriteBackBytes || no_thread_) return;
    if (!worker_) {
      try {
        worker_.emplace();
      } catch (const std::system_error&) {  // the system writes back as it would anyway
        no_thread_ = true;
        return;
      }
    }
    if (!worker_->Idle()) return;
    const auto from = static_cast<off64_t>(started_),
               count = static_cast<off64_t>(written_ - started_);
    started_ = written_;
    // Files that cannot (a pipe, a device) refuse, and are written as they would be anyway.
    worker_->Start([fd = fd_, from, count] {
      (void)::sync_file_range(fd, from, count, SYNC_FILE_RANGE_WRITE);
    });
#else
    (void)n;
#endif
  }

 private:
  int fd_;
  uint64_t written_ = 0;
  uint64_t started_ = 0;
  bool no_thread_ = false;
  std::optional<WorkerThread> worker_;  // last: waited for before the rest goes
};

// 0 when every piece was written, else the errno of the first failure.
int WriteContent(int fd, const ContentPieces& content) {
  WriteBackStarter write_back(fd);  // gone, and so done, before the caller closes fd
  return content([&](std::string_view piece) {
    if (int e = WriteAll(fd, piece); e != 0) return e;
    write_back.Wrote(piece.size());
    return 0;
  });
}

ContentPieces Whole(std::string_view bytes) {
  return [bytes](const PieceWriter& put) { return put(bytes); };
}

// ---- where a save goes ----

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A link in /proc (what /dev/stdout and /dev/fd/N lead to) names an open file, not a path: its
// text may be "pipe:[1234]" or end in " (deleted)", so only the kernel can follow it.
bool NamesAnOpenFile(const std::string& link) {
#ifdef __linux__
  struct statfs fs {};
  return ::statfs(FolderOf(link).c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
#else
  (void)link;
  return false;
#endif
}

enum class Route { ByName, ThroughOpenFile };

struct Target {
  std::string path;  // no longer a symbolic link, unless route is ThroughOpenFile
  Route route = Route::ByName;
};

// Follows the symbolic links path leads through, so the save changes the file at the end of
// the chain and every link keeps pointing at it. A relative target counts from its link's
// folder, as the kernel takes it.
Result<Target> FollowLinks(const std::string& path) {
  constexpr int kMaxLinks = 40;  // the kernel's own limit
  std::string at = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0) {
      // A new file, or one a link points to ahead; a missing folder is reported when the
      // temporary file cannot be made in it.
      if (errno == ENOENT || errno == ENOTDIR) return Target{at};
      return SystemError("cannot write", path, errno);
    }
    if (!S_ISLNK(st.st_mode)) return Target{at};
    if (NamesAnOpenFile(at)) return Target{at, Route::ThroughOpenFile};
    std::string to(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(at.c_str(), to.data(), to.size());
    if (n < 0) return SystemError("cannot write", path, errno);
    to.resize(static_cast<size_t>(n));
    at = !to.empty() && to[0] == '/' ? to : FolderOf(at) + "/" + to;
  }
  return SystemError("cannot write", path, ELOOP);
}

// Root may write any file, so a file without a single write bit is what marks it read-only;
// anyone else gets the answer the kernel would give when the file is opened.
Status CheckWritable(const std::string& path, const std::string& target, const struct stat& st) {
  bool refused = false;
  if (::geteuid() == 0) {
    refused = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  } else if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    if (errno != EACCES) return SystemError("cannot write", path, errno);
    refused = true;
  }
  if (refused) return Error{"cannot write: " + path + " is write-protected (read-only)", EACCES};
  return Success();
}

// ---- writing in place ----

enum class Sync { File, None };

// Writes over the content of what target names: a FIFO, a device, a file with other names or
// owners that a new file could not take over. Not atomic: a failure may leave it cut short.
Status WriteInPlace(const std::string& path, const std::string& target,
                    const ContentPieces& content, const struct stat& expected, Sync sync) {
  Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return SystemError("cannot write", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return SystemError("cannot write", path, errno);
  if (!SameFile(st, expected)) return Error{"cannot write: " + path + " changed while saving", 0};
  // Emptied only once it is known to be the file that was checked.
  if (S_ISREG(st.st_mode) && ::ftruncate(fd.get(), 0) != 0)
    return SystemError("cannot write", path, errno);
  if (int e = WriteContent(fd.get(), content); e != 0) return SystemError("cannot write", path, e);
  if (sync == Sync::File && ::fsync(fd.get()) != 0) return SystemError("cannot write", path, errno);
  if (fd.Close() != 0) return SystemError("cannot write", path, errno);
  return Success();
}

// ---- writing through a temporary file ----

// ".tsy" and eight random letters or digits: short, so the longest file names still leave
// room, and not guessable, so nobody can plant a link under it in advance.
std::string RandomTempName() {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device random;
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::string name = ".tsy";
  for (int i = 0; i < 8; ++i) name.push_back(kAlphabet[pick(random)]);
  return name;
}

// A new file beside the target, removed again unless it was renamed over the target.
class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    (void)fd_.Close();
    if (!path_.empty() && !renamed_) ::unlink(path_.c_str());
  }

  // 0 on success, else the errno of the last attempt.
  [[nodiscard]] int Create(const std::string& folder, mode_t mode) {
    constexpr int kAttempts = 100;
    for (int i = 0; i < kAttempts; ++i) {
      std::string p = folder + "/" + RandomTempName();
      const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
      if (fd >= 0) {
        fd_.Reset(fd);
        path_ = std::move(p);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }
  int fd() const { return fd_.get(); }
  [[nodiscard]] int Close() { return fd_.Close() == 0 ? 0 : errno; }
  [[nodiscard]] int RenameOver(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
    renamed_ = true;
    return 0;
  }

 private:
  Fd fd_{-1};
  std::string path_;
  bool renamed_ = false;
};

Error FolderError(const std::string& path, int errnum) {
  if (errnum == ENOENT || errnum == ENOTDIR)
    return Error{"cannot write: " + path + ": its folder does not exist", errnum};
  if (errnum == EACCES || errnum == EPERM)
    return Error{"cannot write: " + path + ": its folder is not writable", errnum};
  return SystemError("cannot write", path, errnum);
}

// Gives the temporary file the owner, group and permission bits of the file it replaces.
// False when the system does not let this user reproduce them.
bool TakeOverAttributes(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return false;
  // After fchown, which clears the set-user and set-group bits.
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

Status SyncFolder(const std::string& path, const std::string& folder) {
  Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return SystemError("cannot sync the folder of", path, errno);
  // Some file systems cannot sync a folder at all; the rename is then as safe as they allow.
  if (::fsync(fd.get()) != 0 && errno != EINVAL)
    return SystemError("cannot sync the folder of", path, errno);
  return Success();
}

enum class Replaced { Yes, NotWithItsOwner };

// Writes a new file and renames it over the target. `old` is the file replaced, or null.
Result<Replaced> ReplaceFile(const std::string& path, const std::string& target,
                             const ContentPieces& content, const struct stat* old,
                             Durability durability) {
  const std::string folder = FolderOf(target);
  TempFile temp;
  // An existing file's bits are set once the file holds what it will; until then only we read.
  if (int e = temp.Create(folder, old ? 0600 : 0666); e != 0) return FolderError(path, e);
  if (int e = WriteContent(temp.fd(), content); e != 0) return SystemError("cannot write", path, e);
  if (old && !TakeOverAttributes(temp.fd(), *old)) return Replaced::NotWithItsOwner;
  const bool synced = durability == Durability::Synced;
  if (synced && ::fsync(temp.fd()) != 0) return SystemError("cannot write", path, errno);
  if (int e = temp.Close(); e != 0) return SystemError("cannot write", path, e);
  if (int e = temp.RenameOver(target); e != 0) return SystemError("cannot write", path, e);
  if (synced) {
    if (Status s = SyncFolder(path, folder); !s) return s.error();
  }
  return Replaced::Yes;
}

Status SaveNewFile(const std::string& path, const std::string& target, const ContentPieces& content,
                   Durability durability) {
  Result<Replaced> r = ReplaceFile(path, target, content, nullptr, durability);
  if (!r) return r.error();
  return Success();
}

Error InPlaceRefused(const std::string& path) {
  return Error{"cannot write: " + path + " can only be written in place", 0};
}

Status SaveRegularFile(const std::string& path, const Target& target, const ContentPieces& content,
                       const struct stat& st, Durability durability, InPlace allowed) {
  const Sync sync = durability == Durability::Synced ? Sync::File : Sync::None;
  if (Status s = CheckWritable(path, target.path, st); !s) return s;
  // Every other name of the file must see the new text too.
  const bool in_place = target.route == Route::ThroughOpenFile || st.st_nlink > 1 ||
                        (::geteuid() != 0 && st.st_uid != ::geteuid());
  if (in_place && allowed == InPlace::Refused) return InPlaceRefused(path);
  if (in_place) return WriteInPlace(path, target.path, content, st, sync);
  Result<Replaced> r = ReplaceFile(path, target.path, content, &st, durability);
  if (!r) return r.error();
  if (r.value() == Replaced::Yes) return Success();
  if (allowed == InPlace::Refused) return InPlaceRefused(path);
  return WriteInPlace(path, target.path, content, st, sync);
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return KindOfMode(st.st_mode);
  return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unreachable;
}

std::string_view DescribeKind(PathKind kind) {
  switch (kind) {
    case PathKind::Missing:
      return "does not exist";
    case PathKind::Regular:
      return "is a file";
    case PathKind::Folder:
      return "is a folder";
    case PathKind::Fifo:
      return "is a FIFO";
    case PathKind::CharDevice:
      return "is a character device";
    case PathKind::BlockDevice:
      return "is a block device";
    case PathKind::Socket:
      return "is a socket";
    case PathKind::Other:
      break;
    case PathKind::Unreachable:
      return "cannot be examined";
  }
  return "is of an unknown kind";
}

std::optional<uint64_t> FileSizeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool FileExists(const std::string& path) {
  return FileSizeOf(path).has_value();
}

Result<std::string> ReadWholeFile(const std::string& path) {
  return ReadFileHead(path, UINT64_MAX);
}

Result<std::string> ReadFileHead(const std::string& path, uint64_t max_bytes) {
  Result<FileReader> reader = FileReader::Open(path);
  if (!reader) return reader.error();
  FileReader& file = reader.value();
  std::string bytes;
  ResizeLargeBuffer(bytes, static_cast<size_t>(std::min<uint64_t>(file.Size(), max_bytes)));
  Result<size_t> got = file.Read(bytes.data(), bytes.size());
  if (!got) return got.error();
  bytes.resize(got.value());  // shorter when the file shrank while we read
  return bytes;
}

Result<FileReader> FileReader::Open(const std::string& path) {
  // The type is checked before the open: opening a FIFO waits for a writer, and a device may
  // never end.
  struct stat named {};
  if (::stat(path.c_str(), &named) != 0) return SystemError("cannot open", path, errno);
  if (!S_ISREG(named.st_mode)) return NotAFile("cannot read", path, KindOfMode(named.st_mode));
  // O_NONBLOCK: should a FIFO take the file's place after the check, the open still returns.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return SystemError("cannot open", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return SystemError("cannot read", path, errno);
  if (!S_ISREG(st.st_mode)) return NotAFile("cannot read", path, KindOfMode(st.st_mode));
  if (!SameFile(st, named)) return Error{"cannot read: " + path + " changed while opening", 0};
  return FileReader(fd.Release(), static_cast<uint64_t>(st.st_size), path);
}

FileReader::FileReader(FileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      read_(other.read_),
      path_(std::move(other.path_)) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    read_ = other.read_;
    path_ = std::move(other.path_);
  }
  return *this;
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

// The read stops at the size the file had when opened: a file that grows while it is read, or
// a kernel file that reports more and more, can never make the buffer grow without end.
Result<size_t> FileReader::Read(char* into, size_t max_bytes) {
  const size_t n = static_cast<size_t>(std::min<uint64_t>(max_bytes, size_ - read_));
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd_, into + got, n - got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return SystemError("cannot read", path_, errno);
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  read_ += got;
  return got;
}

Status WriteFileAtomic(const std::string& path, std::string_view bytes) {
  return WriteFileAtomic(path, Whole(bytes), Durability::Synced);
}

Status WriteFileAtomic(const std::string& path, const ContentPieces& content, Durability durability,
                       InPlace in_place) {
  if (path.empty()) return SystemError("cannot write", path, ENOENT);
  Result<Target> found = FollowLinks(path);
  if (!found) return found.error();
  const Target& target = found.value();
  struct stat st {};
  if (::stat(target.path.c_str(), &st) != 0) {
    if ((errno != ENOENT && errno != ENOTDIR) || target.route == Route::ThroughOpenFile)
      return SystemError("cannot write", path, errno);
    return SaveNewFile(path, target.path, content, durability);
  }
  switch (const PathKind kind = KindOfMode(st.st_mode)) {
    case PathKind::Regular:
      return SaveRegularFile(path, target, content, st, durability, in_place);
    case PathKind::Fifo:
    case PathKind::CharDevice:
      // What is written goes to a reader or a driver; there is no content to replace.
      if (in_place == InPlace::Refused) return InPlaceRefused(path);
      return WriteInPlace(path, target.path, content, st, Sync::None);
    case PathKind::BlockDevice:
      // A document written over a disk's first blocks would cost the disk its file system.
    default:
      return NotAFile("cannot write", path, kind);
  }
}

Result<std::vector<std::string>> RegularFilesIn(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return SystemError("cannot list", folder, errno);
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    struct stat st {};
    // lstat, not stat: a link is left out whatever it names.
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode))
      names.push_back(name);
    errno = 0;
  }
  const int failure = errno;
  ::closedir(dir);
  if (failure != 0) return SystemError("cannot list", folder, failure);
  return names;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

Status CreateNewFile(const std::string& path) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (fd.get() < 0) return SystemError("cannot create", path, errno);
  if (fd.Close() != 0) return SystemError("cannot create", path, errno);
  return Success();
}

Status MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return Success();
  const int failure = errno;
  if (failure == EEXIST && KindOfPath(path) == PathKind::Folder) return Success();
  return SystemError("cannot create the folder", path, failure);
}

Status RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return Success();
  return SystemError("cannot delete", path, errno);
}

}  // namespace tessary
