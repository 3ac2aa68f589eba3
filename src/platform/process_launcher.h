// Starting another program with an argument list, never through a shell.
#pragma once

#include <string>
#include <vector>

#include "base/result.h"

namespace tessary {

struct LaunchRequest {
  std::string program;                 // the executable's path; a relative one is made absolute
  std::vector<std::string> arguments;  // after the program name, each passed exactly as it is
  std::string working_folder;          // the child's working folder; empty keeps the caller's
};

// Starts a program and returns once it runs or has failed to start; never waits for it to end.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  [[nodiscard]] virtual Status Start(const LaunchRequest& request) = 0;
};

// fork and exec. The child is detached (its own session, reaped by the system, not by this
// process); a failure to change to the working folder or to run the program comes back as the
// error, with the system's reason. The caller's own working folder never changes.
class PosixProcessLauncher final : public ProcessLauncher {
 public:
  [[nodiscard]] Status Start(const LaunchRequest& request) override;
};

}  // namespace tessary
