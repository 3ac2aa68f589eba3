// The POSIX process launcher: a double fork so no child is left to reap, errors through a pipe.
#include "platform/process_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tessary {
namespace {

// Written by the grandchild when it cannot run the program: the step and its errno. Exec
// closes the pipe on success, so the parent reads nothing.
struct ChildFailure {
  int step = 0;  // 1 working folder, 2 exec, 3 fork
  int error = 0;
};

void Report(int fd, int step) {
  const ChildFailure f{step, errno};
  [[maybe_unused]] const ssize_t n = write(fd, &f, sizeof f);
}

// Only async-signal-safe calls after the fork: everything it needs was prepared before.
[[noreturn]] void RunChild(int fd, const char* folder, const char* program, char* const* argv) {
  const pid_t grandchild = fork();
  if (grandchild < 0) {
    Report(fd, 3);
    _exit(1);
  }
  if (grandchild > 0) _exit(0);
  setsid();
  signal(SIGPIPE, SIG_DFL);
  if (folder && chdir(folder) != 0) {
    Report(fd, 1);
    _exit(127);
  }
  execv(program, argv);
  Report(fd, 2);
  _exit(127);
}

std::string AbsoluteProgram(const std::string& program) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(program, ec);
  return ec ? program : p.string();
}

Status Failure(const ChildFailure& f, const LaunchRequest& r, const std::string& program) {
  if (f.step == 1) return SystemError("cannot enter the working folder", r.working_folder, f.error);
  if (f.step == 2) return SystemError("cannot run", program, f.error);
  return SystemError("cannot start a process for", program, f.error);
}

}  // namespace

Status PosixProcessLauncher::Start(const LaunchRequest& r) {
  const std::string program = AbsoluteProgram(r.program);
  std::vector<std::string> words;
  words.reserve(r.arguments.size() + 1);
  words.push_back(program);
  words.insert(words.end(), r.arguments.begin(), r.arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return SystemError("cannot start a process for", program, errno);
  const char* folder = r.working_folder.empty() ? nullptr : r.working_folder.c_str();
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    RunChild(fds[1], folder, program.c_str(), argv.data());
  }
  const int fork_error = errno;
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return SystemError("cannot start a process for", program, fork_error);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ChildFailure f;
  ssize_t n;
  while ((n = read(fds[0], &f, sizeof f)) < 0 && errno == EINTR) {
  }
  close(fds[0]);
  if (n == static_cast<ssize_t>(sizeof f)) return Failure(f, r, program);
  return Success();
}

}  // namespace tessary
