// tessary-cli textconv: one of the selected-text conversions over a whole file.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codec/document_saver.h"
#include "commands.h"
#include "commands/text_conversions.h"
#include "document_file.h"

namespace tessary::cli {
namespace {

constexpr const char* kHelp =
    "usage: tessary-cli textconv (--upper | --lower | --zen2han | --han2zen | --tabs N)\n"
    "                            [--force] INPUT OUTPUT\n"
    "\n"
    "Loads INPUT as the editor does, converts its whole text as the editor's commands convert\n"
    "a selection, and writes OUTPUT in the code and line end the load found, as the editor's\n"
    "overwrite save does. Line ends pass unchanged.\n"
    "  --upper    letters to upper case (ASCII, full-width Latin, Greek, Cyrillic, Roman\n"
    "             numerals)\n"
    "  --lower    letters to lower case\n"
    "  --zen2han  full-width katakana, digits, Latin letters and symbols to half-width\n"
    "  --han2zen  half-width katakana, digits, Latin letters and symbols to full-width\n"
    "  --tabs N   every TAB to N blanks; N is 2, 4, 6 or 8\n"
    "A file the editor would open write-protected (control bytes, mixed line ends, text\n"
    "hidden by a zero byte or an EOF mark) is refused unless --force, which converts the\n"
    "text the editor would show.\n"
    "Exit status: 0 written (characters replaced by \"?\" on the way in are reported on\n"
    "standard error), 1 a file could not be read or written, 2 bad arguments, a refused\n"
    "write-protected file, or a non-empty file that gave no text.\n";

constexpr std::pair<std::string_view, TextConversion> kConversionWords[] = {
    {"--upper", TextConversion::UpperCase},   {"--lower", TextConversion::LowerCase},
    {"--zen2han", TextConversion::ZenToHan},  {"--han2zen", TextConversion::HanToZen},
    {"--tabs", TextConversion::TabsToBlanks},
};

struct Options {
  std::optional<TextConversion> conversion;
  int blanks = 0;
  ForceWrite force = ForceWrite::No;
  std::string input, output;
};

int Usage(const char* problem) {
  return UsageError("textconv", problem, kHelp);
}

std::optional<TextConversion> ConversionOption(std::string_view word) {
  for (const auto& [w, c] : kConversionWords)
    if (w == word) return c;
  return std::nullopt;
}

// The blanks per TAB: exactly one of the counts the tab window offers.
std::optional<int> ParseBlanks(std::string_view word) {
  if (word.size() != 1) return std::nullopt;
  const int n = word[0] - '0';
  return IsOfferedTabBlankCount(n) ? std::optional<int>(n) : std::nullopt;
}

// Parses the arguments; returns an exit status when the command should stop.
std::optional<int> Parse(const Args& args, Options& o) {
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (a == "--force") {
      o.force = ForceWrite::Yes;
      continue;
    }
    if (const auto c = ConversionOption(a)) {
      if (o.conversion) return Usage("give one conversion");
      o.conversion = c;
      if (*c != TextConversion::TabsToBlanks) continue;
      if (i + 1 >= args.size()) return Usage("--tabs lacks its count");
      const auto blanks = ParseBlanks(args[++i]);
      if (!blanks) return Usage("--tabs takes 2, 4, 6 or 8");
      o.blanks = *blanks;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return Usage("unknown option");
    files.push_back(a);
  }
  if (!o.conversion) return Usage("a conversion is needed");
  if (files.size() != 2) return Usage("INPUT and OUTPUT are needed");
  o.input = files[0];
  o.output = files[1];
  return std::nullopt;
}

// Every line converted on its own into one packed buffer, so line ends never reach a routine.
TextLines ConvertLines(const TextLines& lines, TextConversion conversion, int blanks) {
  std::string bytes;
  bytes.reserve(lines.TotalBytes());
  std::vector<size_t> ends;
  ends.reserve(lines.Count());
  for (size_t i = 0; i < lines.Count(); ++i) {
    AppendConverted(conversion, lines.Line(i), blanks, bytes);
    ends.push_back(bytes.size());
  }
  return TextLines::FromPacked(std::move(bytes), std::move(ends), lines.last_line_has_end());
}

}  // namespace

int TextConvCommand(const Args& args) {
  Options o;
  if (auto status = Parse(args, o)) return *status;
  LoadOutcome loaded = LoadForRewrite("textconv", o.input, CharCode::Auto, o.force);
  if (!loaded.doc) return loaded.exit_status;
  LoadedText& doc = *loaded.doc;
  std::string bytes;
  {
    const TextLines converted = ConvertLines(doc.lines, *o.conversion, o.blanks);
    // The loaded text has served: at most two copies of the text are held at once.
    doc.lines = TextLines();
    bytes = EncodeDocument(converted, doc.code, doc.ret);
  }
  return WriteRewritten("textconv", o.input, o.output, doc, bytes);
}

}  // namespace tessary::cli
