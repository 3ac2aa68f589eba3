// tessary-cli detect: one line of detection results per file; writes no working file.
#include <cstdio>

#include "codec/char_code_detector.h"
#include "codec/document_loader.h"
#include "commands.h"
#include "platform/file_io.h"

namespace tessary::cli {
namespace {

constexpr const char* kHelp =
    "usage: tessary-cli detect FILE...\n"
    "\n"
    "For each FILE prints one line of TAB-separated columns:\n"
    "  1  character code: 1 Shift-JIS, 2 UTF-8 with BOM, 3 UTF-8, 4 UTF-16 BE with BOM,\n"
    "     5 UTF-16 BE, 6 UTF-16 LE with BOM, 7 UTF-16 LE\n"
    "  2  line end: 0 CR LF, 1 CR, 2 LF, 3 none\n"
    "  3  1 when an 8-bit file holds a control byte in its first 4095 bytes, else 0\n"
    "  4  1 when CR and LF bytes occur in different numbers, else 0\n"
    "  5  the path as given\n"
    "A file that cannot be read is reported on standard error and the exit status is 1.\n";

// A missing file gets the editor's own words; anything else not a file says what it is.
void ReportUnreadable(const std::string& path, const Error& error) {
  if (KindOfPath(path) == PathKind::Missing)
    std::fprintf(stderr, "tessary-cli detect: %s: %s\n", path.c_str(),
                 std::string(kFileMissingMessage).c_str());
  else
    std::fprintf(stderr, "tessary-cli detect: %s\n", error.message.c_str());
}

}  // namespace

int DetectCommand(const Args& args) {
  if (args.empty()) {
    std::fputs(kHelp, stderr);
    return 2;
  }
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
  }
  int status = 0;
  for (const auto& path : args) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
      ReportUnreadable(path, bytes.error());
      status = 1;
      continue;
    }
    const Detection d = DetectCharCode(bytes.value());
    std::printf("%d\t%d\t%d\t%d\t%s\n", static_cast<int>(d.code), static_cast<int>(d.ret),
                d.invalid_char_found ? 1 : 0, d.mixed_ret_code ? 1 : 0, path.c_str());
  }
  return status;
}

}  // namespace tessary::cli
