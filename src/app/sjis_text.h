// The Shift-JIS form of paths in the list files.
#pragma once

#include "app/file_lists.h"
#include "codec/sjis_text.h"

namespace tessary {

// Paths as the system spells them (UTF-8) against the Shift-JIS list files: a path that
// Shift-JIS cannot hold is left out of the files instead of stored garbled.
PathCodec SjisPathCodec();

}  // namespace tessary
