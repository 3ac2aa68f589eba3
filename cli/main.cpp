// Entry of tessary-cli: dispatches to the sub-commands.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "commands.h"

namespace {

struct Command {
  std::string_view name;
  int (*run)(const tessary::cli::Args&);
  std::string_view summary;
};

constexpr Command kCommands[] = {
    {"detect", tessary::cli::DetectCommand, "print the character code and line end of files"},
    {"convert", tessary::cli::ConvertCommand, "convert a file as the editor loads and saves it"},
    {"count", tessary::cli::CountCommand, "print the lines and wrapped rows of a file"},
    {"textconv", tessary::cli::TextConvCommand,
     "convert case, width or tabs of a file's whole text"},
    {"find", tessary::cli::FindCommand, "print every hit of a word in files or folders"},
    {"replace", tessary::cli::ReplaceCommand, "replace every hit of a word in a file"},
};

void Usage(std::FILE* out) {
  std::fprintf(out, "usage: tessary-cli COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& c : kCommands)
    std::fprintf(out, "  %-9.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                 static_cast<int>(c.summary.size()), c.summary.data());
  std::fprintf(out, "\n'tessary-cli COMMAND --help' explains a command.\n");
}

// find and replace scan clean files in place, mapped; a file that another program shortens
// meanwhile faults on its lost pages. Say so and stop with the error status instead of dying on
// the signal; replace writes nothing before its scan is done, so no output is left half made.
extern "C" void FileShrankWhileRead(int) {
  static constexpr char kMessage[] =
      "tessary-cli: a file was shortened by another program while it was read\n";
  [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  ::_exit(2);
}

void StopOnShrunkFiles() {
  struct sigaction action {};
  action.sa_handler = FileShrankWhileRead;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGBUS, &action, nullptr);
}

}  // namespace

int tessary::cli::UsageError(const char* command, const char* problem, const char* help) {
  std::fprintf(stderr, "tessary-cli %s: %s\n\n%s", command, problem, help);
  return 2;
}

int main(int argc, char** argv) {
  StopOnShrunkFiles();
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    Usage(stdout);
    return 0;
  }
  for (const auto& c : kCommands) {
    if (c.name == name) return c.run(tessary::cli::Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "tessary-cli: unknown command '%s'\n", argv[1]);
  Usage(stderr);
  return 2;
}
