// Huge-page hints for large buffers (Linux); a plain resize elsewhere.
#include "platform/large_buffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessary {

void ReserveLargeBuffer(std::string& buf, size_t n) {
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
  buf.resize(n);
}

}  // namespace tessary
