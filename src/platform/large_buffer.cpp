// Large buffers: reserving them, and giving back the pages of a part already used.
#include "platform/large_buffer.h"

#include <cstdint>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessary {

void ReserveLargeBuffer(std::string& buf, size_t n) {
  // No transparent huge pages are asked for: where the system compacts memory for them on
  // demand, or backs a virtual machine's memory lazily, a first touch of a 2 MB page stalls
  // for milliseconds, and a whole-file run then took up to four times its usual time.
  buf.reserve(n);
}

void ReleaseLargeBufferPages(const char* begin, size_t n) {
#if defined(__linux__)
  constexpr uintptr_t kPage = 4096;
  const auto b = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t first = (b + kPage - 1) & ~(kPage - 1);
  const uintptr_t last = (b + n) & ~(kPage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
#else
  (void)begin;
  (void)n;
#endif
}

void ResizeLargeBuffer(std::string& buf, size_t n) {
  ReserveLargeBuffer(buf, n);
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  // Every page is about to be written (the resize clears it): one call maps them all instead
  // of one fault each. Systems without it fault the pages in as usual.
  constexpr uintptr_t kPage = 4096;
  const auto b = reinterpret_cast<uintptr_t>(buf.data() + buf.size());
  const uintptr_t first = (b + kPage - 1) & ~(kPage - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(buf.data()) + n) & ~(kPage - 1);
  if (n >= (size_t{16} << 20) && last > first)
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
  buf.resize(n);
}

}  // namespace tessary
