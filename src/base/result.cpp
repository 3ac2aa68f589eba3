// Formatting of system errors for messages.
#include "base/result.h"

#include <cstring>

namespace tessary {

Error SystemError(const std::string& what, const std::string& path, int errnum) {
  std::string text = what;
  if (!path.empty()) text += ": " + path;
  if (errnum != 0) text += ": " + std::string(std::strerror(errnum));
  return Error{text, errnum};
}

}  // namespace tessary
