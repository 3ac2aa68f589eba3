// Huge-page hints for large buffers (Linux); a plain resize and read elsewhere.
#include "codec/big_buffer.h"

#include <cstdint>

#include "platform/file_io.h"

#if defined(__linux__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tessary {

void ResizeLargeBuffer(std::string& buf, size_t n) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHuge = size_t{2} << 20;
  if (n >= 8 * kHuge && buf.capacity() < n) {
    buf.reserve(n);
    const auto begin = reinterpret_cast<uintptr_t>(buf.data());
    const uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t last = (begin + n) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
  buf.resize(n);
}

#if defined(__linux__)
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

Result<std::string> ReadLargeFile(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return ReadWholeFile(path);  // the same error text as everywhere else
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadWholeFile(path);
  std::string bytes;
  ResizeLargeBuffer(bytes, static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return SystemError("cannot read", path, errno);
    if (n == 0) break;  // the file shrank while we read
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  // The file may have grown since fstat; take the rest too.
  char more[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), more, sizeof more);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return SystemError("cannot read", path, errno);
    if (n == 0) break;
    bytes.append(more, static_cast<size_t>(n));
  }
  return bytes;
}
#else
Result<std::string> ReadLargeFile(const std::string& path) { return ReadWholeFile(path); }
#endif

}  // namespace tessary
