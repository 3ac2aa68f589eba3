// Large buffers that fault in huge pages where the system can: outputs and whole-file reads.
#pragma once

#include <cstddef>
#include <string>

namespace tessary {

// Resizes buf to n bytes. For a buffer of many megabytes the allocation is first marked for
// transparent huge pages (Linux), which cuts the page faults of filling it by a factor of 512;
// elsewhere, or when the system refuses, it is a plain resize.
void ResizeLargeBuffer(std::string& buf, size_t n);
// Room for n bytes in buf, marked as above, for a buffer that is then appended to.
void ReserveLargeBuffer(std::string& buf, size_t n);

// Gives the whole pages inside [begin, begin + n) back to the system (Linux; nothing elsewhere):
// for a buffer being read front to back whose read part is never needed again. Those bytes
// read as zeros afterwards; the buffer stays valid and is freed as usual.
void ReleaseLargeBufferPages(const char* begin, size_t n);

}  // namespace tessary
