// tessary-cli count: lines and screen rows of a file loaded into a document.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "codec/document_loader.h"
#include "commands.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"

namespace tessary::cli {
namespace {

constexpr const char* kHelp =
    "usage: tessary-cli count [--wrap N] [--tab N] FILE\n"
    "\n"
    "Loads FILE into a document as the editor does (code detection, conversion to Shift-JIS)\n"
    "and prints LINES<TAB>ROWS: the number of\n"
    "logical lines, and the number of screen rows with word wrap at N columns (N is kept\n"
    "within 20..250; no wrapping without --wrap). --tab sets the tab width (default 4).\n"
    "Errors go to standard error with exit status 1.\n";

constexpr int32_t kDefaultTab = 4;

std::optional<int32_t> ParsePositive(const std::string& s) {
  int32_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v <= 0) return std::nullopt;
  return v;
}

// Messages of the file layer name their file; the missing-file message does not.
std::string NamingTheFile(const std::string& path, const std::string& message) {
  return message.find(path) == std::string::npos ? path + ": " + message : message;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "tessary-cli count: %s\n", message.c_str());
  return 1;
}

}  // namespace

int CountCommand(const Args& args) {
  std::optional<int32_t> wrap;
  int32_t tab = kDefaultTab;
  std::string path;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (a == "--wrap" || a == "--tab") {
      if (i + 1 >= args.size()) return Fail(a + " needs a number");
      const auto v = ParsePositive(args[++i]);
      if (!v) return Fail(a + ": not a positive number: " + args[i]);
      if (a == "--wrap")
        wrap = *v;
      else
        tab = *v;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return Fail("unknown option " + a);
    } else if (path.empty()) {
      path = a;
    } else {
      return Fail("only one FILE is counted");
    }
  }
  if (path.empty()) {
    std::fputs(kHelp, stderr);
    return 1;
  }
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  doc.SetTabSpaceCount(tab);
  if (wrap) {
    doc.WrapOption().SetWrapByte(*wrap);
    doc.SetWordWrap(true);
  }
  Result<LoadedText> loaded = LoadDocumentFile(path, CharCode::Auto, WorkingFiles::Skip());
  if (!loaded) return Fail(NamingTheFile(path, loaded.error().message));
  // Taken over, so the file's text is given back as the document fills.
  lines.SetTextLines(std::move(loaded.value().lines));
  std::printf("%d\t%d\n", lines.Count(), doc.Count());
  return 0;
}

}  // namespace tessary::cli
