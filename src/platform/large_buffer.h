// Large buffers: whole-file reads and outputs, and giving back the pages already used.
#pragma once

#include <cstddef>
#include <string>

namespace tessary {

// Resizes buf to n bytes, and reserves room for n bytes in buf for a buffer then appended to.
// Both stay plain 4 KB pages on purpose: transparent huge pages made the time of a whole-file
// run swing by a factor of four (a first touch stalling while the system finds a 2 MB page).
void ResizeLargeBuffer(std::string& buf, size_t n);
void ReserveLargeBuffer(std::string& buf, size_t n);

// Gives the whole pages inside [begin, begin + n) back to the system (Linux; nothing elsewhere):
// for a buffer being read front to back whose read part is never needed again. Those bytes
// read as zeros afterwards; the buffer stays valid and is freed as usual.
void ReleaseLargeBufferPages(const char* begin, size_t n);

}  // namespace tessary
