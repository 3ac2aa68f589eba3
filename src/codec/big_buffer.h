// Large buffers that fault in huge pages where the system can: outputs and whole-file reads.
#pragma once

#include <cstddef>
#include <string>

#include "base/result.h"

namespace tessary {

// Resizes buf to n bytes. For a buffer of many megabytes the allocation is first marked for
// transparent huge pages (Linux), which cuts the page faults of filling it by a factor of 512;
// elsewhere, or when the system refuses, it is a plain resize.
void ResizeLargeBuffer(std::string& buf, size_t n);

// ReadWholeFile into such a buffer: the same bytes and errors, fewer page faults for big files.
Result<std::string> ReadLargeFile(const std::string& path);

}  // namespace tessary
