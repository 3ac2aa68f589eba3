// Read-only mappings of regular files.
#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace tessary {

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    MappedFile old(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(const_cast<char*>(data_), size_);
}

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
  // O_NONBLOCK: a FIFO put in the file's place never makes the open wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  void* p = MAP_FAILED;
  size_t size = 0;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    size = static_cast<size_t>(st.st_size);
    // Populated at once: the pages are in the page cache, and mapping them in one call is far
    // cheaper than a fault per page.
    p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  }
  ::close(fd);  // the mapping keeps the file
  if (p == MAP_FAILED) return std::nullopt;
  ::madvise(p, size, MADV_SEQUENTIAL);
  return MappedFile(static_cast<const char*>(p), size);
}

}  // namespace tessary
