// tessary-cli replace: replace all from the start of a file's text, written as the editor saves.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_split.h"
#include "codec/document_saver.h"
#include "commands.h"
#include "document_file.h"
#include "editor/editor_control.h"
#include "editor/editor_control_search.h"
#include "editor/editor_search.h"
#include "editor/rows_replacement.h"
#include "search_args.h"

namespace tessary::cli {
namespace {

constexpr const char* kHelp =
    "usage: tessary-cli replace [--case] [--word] [--width] [--breaks] [--force]\n"
    "                           WORD REPLACEMENT INPUT OUTPUT\n"
    "\n"
    "Loads INPUT as the editor does, replaces every hit of WORD by REPLACEMENT from the start\n"
    "of the text as the editor's replace all does (each hit searched after the one before,\n"
    "so a REPLACEMENT that holds WORD is not searched again), writes OUTPUT in the code and\n"
    "line end the load found, as the editor's overwrite save does, and prints the number of\n"
    "replacements. WORD and REPLACEMENT are UTF-8, used as their exact Shift-JIS form;\n"
    "an empty REPLACEMENT deletes the hits. OUTPUT is written even when nothing was replaced.\n"
    "  --case    upper and lower case differ\n"
    "  --word    whole words only\n"
    "  --width   half-width and full-width forms are equal\n"
    "  --breaks  line ends, tabs, blanks and full-width blanks in the text are skipped (and\n"
    "            replaced with the hit)\n"
    "  --force   replace in a file the editor would open write-protected (control bytes,\n"
    "            mixed line ends, text hidden by a zero byte or an EOF mark): the text shown\n"
    "Exit status: 0 written (characters replaced by \"?\" on the way in are reported on\n"
    "standard error), 1 a file could not be read or written, 2 bad arguments, an empty\n"
    "WORD, a word Shift-JIS cannot hold, a refused write-protected file, or a non-empty\n"
    "file that gave no text.\n";

struct Options {
  TSearchOptions bits = search_option::kForward;
  ForceWrite force = ForceWrite::No;
  std::string word, replacement;  // Shift-JIS
  std::string input, output;
};

int Usage(const char* problem) {
  return UsageError("replace", problem, kHelp);
}

// Parses the arguments; returns an exit status when the command should stop.
std::optional<int> Parse(const Args& args, Options& o) {
  SearchArgs parsed;
  if (auto status = ParseSearchArgs(args, "--force", "replace", kHelp, parsed)) return status;
  const std::vector<std::string>& words = parsed.words;
  o.bits = parsed.bits;
  if (parsed.own_flag) o.force = ForceWrite::Yes;
  if (words.size() != 4) return Usage("WORD, REPLACEMENT, INPUT and OUTPUT are needed");
  const auto word = SjisWord("replace", "WORD", words[0], EmptyWord::Refused);
  if (!word) return 2;
  const auto replacement = SjisWord("replace", "REPLACEMENT", words[1], EmptyWord::Allowed);
  if (!replacement) return 2;
  o.word = *word;
  o.replacement = *replacement;
  o.input = words[2];
  o.output = words[3];
  return std::nullopt;
}

// The control's text in the code and line end given; rows are lines as nothing is wrapped.
std::string EncodeControl(const EditorControl& control, CharCode code, RetCode ret) {
  const TEditorScreenStrings& doc = control.Document();
  auto line = [&doc](size_t i) {
    const auto row = static_cast<int32_t>(i);
    return row < doc.Count() ? doc.GetView(row) : std::string_view();
  };
  return EncodeDocument(LineSource(static_cast<size_t>(doc.LineCount()), line), code, ret);
}

// A Shift-JIS file with CR LF line ends and nothing the loader would drop or refuse holds its
// rows joined as search joins them, so it is replaced in its mapped bytes straight into the
// text to write: no document, no rows, no second copy of the text. Returns the exit status, or
// nothing when the file is any other.
std::optional<int> ReplaceInJoinedFile(const Options& o) {
  const std::optional<MappedFile> file = MapJoinedSjisFile(o.input);
  if (!file) return std::nullopt;
  const std::string_view bytes = file->bytes();
  const auto bits = static_cast<TSearchOptions>(o.bits | search_option::kForward);
  TJoinedReplacement r =
      ReplaceAllInJoinedText(bytes, TSearchPattern(o.word, bits), WithCrLfLineEnds(o.replacement));
  const int status =
      WriteRewritten("replace", o.input, o.output, LoadedText{}, SavedWithCrLf(std::move(r.text)));
  if (status == 0) std::printf("%lld\n", static_cast<long long>(r.count));
  return status;
}

}  // namespace

int ReplaceCommand(const Args& args) {
  Options o;
  if (auto status = Parse(args, o)) return *status;
  if (const std::optional<int> status = ReplaceInJoinedFile(o)) return *status;
  LoadOutcome loaded = LoadForRewrite("replace", o.input, CharCode::Auto, o.force);
  if (!loaded.doc) return loaded.exit_status;
  EditorControl control;
  control.Lines().SetTextLines(loaded.doc->lines);
  loaded.doc->lines = TextLines();  // the control holds the text now
  control.SetCaret(0, 0);
  const int64_t count = ReplaceAll(control, o.word, o.bits, o.replacement);
  const int status = WriteRewritten("replace", o.input, o.output, *loaded.doc,
                                    EncodeControl(control, loaded.doc->code, loaded.doc->ret));
  if (status == 0) std::printf("%lld\n", static_cast<long long>(count));
  return status;
}

}  // namespace tessary::cli
