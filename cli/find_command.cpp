// tessary-cli find: every hit of repeated forward searches, file by file, as the window finds them.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "codec/document_loader.h"
#include "codec/sjis_text.h"
#include "commands.h"
#include "document_file.h"
#include "editor/editor_search.h"
#include "search_args.h"

namespace tessary::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: tessary-cli find [--case] [--word] [--width] [--breaks] [--count] WORD PATH...\n"
    "\n"
    "Loads each PATH as the editor does (a folder: every regular file below it, in path\n"
    "order) and searches it for WORD (UTF-8, searched as its exact Shift-JIS form) from the\n"
    "start of the text, each search starting right after the previous hit, as repeated\n"
    "forward searches in the editor find them.\n"
    "  --case    upper and lower case differ\n"
    "  --word    whole words only\n"
    "  --width   half-width and full-width forms are equal\n"
    "  --breaks  line ends, tabs, blanks and full-width blanks in the text are skipped\n"
    "  --count   one line per file: PATH<TAB>HITS\n"
    "Each hit is printed as PATH<TAB>LINE<TAB>OFFSET<TAB>LENGTH<TAB>TEXT: the 1-based line\n"
    "where the hit starts, the hit's byte offset in that line's Shift-JIS text (from 0), the\n"
    "bytes of text it covers (a line end counts as the 2 bytes of CR LF; skipped bytes\n"
    "count), and that line in UTF-8.\n"
    "Exit status: 0 something was found, 1 nothing was found, 2 bad arguments, an empty\n"
    "WORD or one Shift-JIS cannot hold, or a file that could not be read (reported on\n"
    "standard error; the other files are still searched).\n";

enum class Report { Hits, Counts };

struct Options {
  TSearchOptions bits = search_option::kForward;
  Report report = Report::Hits;
  std::string word;  // Shift-JIS
  std::vector<std::string> paths;
};

enum class FileOutcome { Found, NotFound, Failed };

int Usage(const char* problem) {
  return UsageError("find", problem, kHelp);
}

// Parses the arguments; returns an exit status when the command should stop.
std::optional<int> Parse(const Args& args, Options& o) {
  SearchArgs parsed;
  if (auto status = ParseSearchArgs(args, "--count", "find", kHelp, parsed)) return status;
  const std::vector<std::string>& words = parsed.words;
  o.bits = parsed.bits;
  if (parsed.own_flag) o.report = Report::Counts;
  if (words.size() < 2) return Usage("WORD and a PATH are needed");
  const auto sjis = SjisWord("find", "WORD", words[0], EmptyWord::Refused);
  if (!sjis) return 2;
  o.word = *sjis;
  o.paths.assign(words.begin() + 1, words.end());
  return std::nullopt;
}

void PrintError(const std::string& message) {
  std::fprintf(stderr, "tessary-cli find: %s\n", message.c_str());
}

// The files a PATH stands for: itself, or a folder's regular files below it sorted by path.
// Returns false (after reporting) when a folder could not be read to the end.
bool CollectFiles(const std::string& path, std::vector<std::string>& files) {
  std::error_code ec;
  if (!fs::is_directory(path, ec)) {
    files.push_back(path);
    return true;
  }
  std::vector<std::string> found;
  for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (it->is_regular_file(type_ec)) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  if (ec) PrintError(path + ": " + ec.message());
  return !ec;
}

// The file's lines as the editor loads them; nothing (after reporting) when it cannot be read.
std::optional<TextLines> Load(const std::string& path) {
  Result<LoadedText> loaded = LoadDocumentFile(path, CharCode::Auto, WorkingFiles::Skip());
  if (!loaded) {
    const std::string& message = loaded.error().message;
    PrintError(message.find(path) == std::string::npos ? path + ": " + message : message);
    return std::nullopt;
  }
  return std::move(loaded.value().lines);
}

// Prints a file's hits or their count; returns what was found.
class HitReport {
 public:
  HitReport(const std::string& path, Report report) : path_(path), report_(report) {}
  void Add(TextPos start, int64_t length, std::string_view line) {
    ++hits_;
    if (report_ == Report::Counts) return;
    if (start.row != row_) {  // a line's UTF-8 form is made once however many hits it holds
      row_ = start.row;
      utf8_ = SjisToUtf8(line);
    }
    std::printf("%s\t%d\t%d\t%lld\t%s\n", path_.c_str(), start.row + 1, start.byte,
                static_cast<long long>(length), utf8_.c_str());
  }
  [[nodiscard]] FileOutcome Finish() const {
    if (report_ == Report::Counts)
      std::printf("%s\t%lld\n", path_.c_str(), static_cast<long long>(hits_));
    return hits_ > 0 ? FileOutcome::Found : FileOutcome::NotFound;
  }

 private:
  const std::string& path_;
  Report report_;
  int64_t hits_ = 0;
  int32_t row_ = -1;
  std::string utf8_;
};

// A Shift-JIS file with CR LF line ends and nothing the loader would drop holds its rows
// joined exactly as search joins them, so its mapped bytes are searched as they are: no copy,
// no line splitting, rows counted only up to the hits. Nothing when the file is any other.
std::optional<FileOutcome> SearchJoinedFile(const std::string& path, const Options& o) {
  const std::optional<MappedFile> file = MapJoinedSjisFile(path);
  if (!file) return std::nullopt;
  const std::string_view bytes = file->bytes();
  HitReport report(path, o.report);
  ForEachSearchHitInJoinedText(bytes, TSearchPattern(o.word, o.bits), TEditorHitStyle::hsDraw,
                               [&](const TJoinedTextHit& h) {
                                 report.Add(h.hit.start, h.hit.length, h.line);
                                 return true;
                               });
  return report.Finish();
}

FileOutcome SearchFile(const std::string& path, const Options& o) {
  if (const std::optional<FileOutcome> joined = SearchJoinedFile(path, o)) return *joined;
  const std::optional<TextLines> lines = Load(path);
  if (!lines) return FileOutcome::Failed;
  // The rows of the editor's unwrapped document, searched as the control's Search called again
  // and again from the start of the text finds them, each hit shown as a hit (hsDraw): one pass
  // with the pattern prepared once, and no copy of the text into a document.
  const TTextLinesSearchRows rows(*lines);
  HitReport report(path, o.report);
  ForEachSearchHit(rows, TSearchPattern(o.word, o.bits), TSearchStart{{0, 0}, 0},
                   TEditorHitStyle::hsDraw, [&](const TSearchHit& hit) {
                     report.Add(hit.start, hit.length,
                                lines->Line(static_cast<size_t>(hit.start.row)));
                     return true;
                   });
  return report.Finish();
}

}  // namespace

int FindCommand(const Args& args) {
  Options o;
  if (auto status = Parse(args, o)) return *status;
  bool failed = false;
  bool found = false;
  for (const std::string& path : o.paths) {
    std::vector<std::string> files;
    failed |= !CollectFiles(path, files);
    for (const std::string& file : files) {
      const FileOutcome outcome = SearchFile(file, o);
      failed |= outcome == FileOutcome::Failed;
      found |= outcome == FileOutcome::Found;
    }
  }
  if (failed) return 2;
  return found ? 0 : 1;
}

}  // namespace tessary::cli
