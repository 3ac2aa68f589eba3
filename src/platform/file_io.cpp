// POSIX implementation of whole-file reads and atomic writes.
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/large_buffer.h"

namespace tessary {
namespace {

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Close(); }
  int get() const { return fd_; }
  int Close() {
    int rc = 0;
    if (fd_ >= 0) rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

}  // namespace

std::optional<uint64_t> FileSizeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool FileExists(const std::string& path) {
  return FileSizeOf(path).has_value();
}

Result<std::string> ReadWholeFile(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return SystemError("cannot open", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return SystemError("cannot read", path, errno);
  if (!S_ISREG(st.st_mode)) return SystemError("not a regular file", path, EISDIR);
  std::string bytes;
  ResizeLargeBuffer(bytes, static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return SystemError("cannot read", path, errno);
    if (n == 0) break;  // the file shrank while we read
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  // The file may have grown since fstat; take the rest too, without copying what we have.
  char more[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), more, sizeof more);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return SystemError("cannot read", path, errno);
    if (n == 0) break;
    bytes.append(more, static_cast<size_t>(n));
  }
  return bytes;
}

Status WriteFileAtomic(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".tessary-tmp-" + std::to_string(::getpid());
  mode_t mode = 0666;
  struct stat st {};
  bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, existed ? 0600 : 0666));
  if (fd.get() < 0) return SystemError("cannot write", path, errno);
  auto fail = [&](int errnum) {
    fd.Close();
    ::unlink(temp.c_str());
    return SystemError("cannot write", path, errnum);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    done += static_cast<size_t>(n);
  }
  if (existed && ::fchmod(fd.get(), mode) != 0) return fail(errno);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.Close() != 0) return fail(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return SystemError("cannot write", path, e);
  }
  return Success();
}

}  // namespace tessary
