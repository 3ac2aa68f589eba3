// Sizing large output buffers so that first touches fault in huge pages where the system can.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessary {

// Resizes buf to n bytes. For a buffer of many megabytes the allocation is first marked for
// transparent huge pages (Linux), which cuts the page faults of filling it by a factor of 512;
// elsewhere, or when the system refuses, it is a plain resize.
inline void ResizeLargeBuffer(std::string& buf, size_t n) {
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

}  // namespace tessary
