// Peak resident memory of this process over a stretch of work, for the memory benchmarks.
#pragma once

#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace tessary::bench {

// A "VmRSS"/"VmHWM" line of /proc/self/status in bytes; 0 when it cannot be read.
inline int64_t StatusBytes(const std::string& key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + ":", 0) == 0) return std::stoll(line.substr(key.size() + 1)) * 1024;
  return 0;
}

// Resident bytes now, after handing freed heap back to the system, and the high-water mark
// reset to it (Linux: writing 5 to clear_refs), so that PeakSinceReset sees only later work.
inline int64_t ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  return StatusBytes("VmRSS");
}

inline int64_t PeakSinceReset() {
  return StatusBytes("VmHWM");
}

}  // namespace tessary::bench
