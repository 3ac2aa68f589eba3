// tessary-cli convert: loads a file as the editor does and writes it as the editor's save does.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "codec/streamed_text.h"
#include "commands.h"
#include "document_file.h"

namespace tessary::cli {
namespace {

constexpr const char* kHelp =
    "usage: tessary-cli convert [--read CODE] [--to CODE] [--eol EOL] [--force] INPUT OUTPUT\n"
    "\n"
    "Loads INPUT as the editor does (detection, or the code given by --read) and writes\n"
    "OUTPUT as the editor's save does.\n"
    "  CODE  auto (--read only), sjis, utf8bom, utf8, utf16bombe, utf16be, utf16bomle, utf16le\n"
    "  EOL   crlf, cr, lf, none\n"
    "--to and --eol default to the code and line end the load found.\n"
    "A file the editor would open write-protected (control bytes, mixed line ends, text\n"
    "hidden by a zero byte or an EOF mark) is refused unless --force, which converts the\n"
    "text the editor would show.\n"
    "Exit status: 0 written (characters replaced by \"?\" on the way in are reported on\n"
    "standard error), 1 a file could not be read or written, 2 bad arguments, a refused\n"
    "write-protected file, or a non-empty file that gave no text.\n";

constexpr std::pair<std::string_view, CharCode> kCodeWords[] = {
    {"auto", CharCode::Auto},
    {"sjis", CharCode::SJIS},
    {"utf8bom", CharCode::UTF8Bom},
    {"utf8", CharCode::UTF8},
    {"utf16bombe", CharCode::UTF16BomBe},
    {"utf16be", CharCode::UTF16Be},
    {"utf16bomle", CharCode::UTF16BomLe},
    {"utf16le", CharCode::UTF16Le},
};
constexpr std::pair<std::string_view, RetCode> kEolWords[] = {
    {"crlf", RetCode::CrLf}, {"cr", RetCode::Cr}, {"lf", RetCode::Lf}, {"none", RetCode::None}};

template <class T, size_t N>
std::optional<T> Lookup(const std::pair<std::string_view, T> (&table)[N], std::string_view word) {
  for (const auto& [w, v] : table)
    if (w == word) return v;
  return std::nullopt;
}

struct Options {
  CharCode read = CharCode::Auto;
  std::optional<CharCode> to;
  std::optional<RetCode> eol;
  ForceWrite force = ForceWrite::No;
  std::string input, output;
};

int Usage(const char* problem) {
  return UsageError("convert", problem, kHelp);
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
    if (a == "--read" || a == "--to" || a == "--eol") {
      if (i + 1 >= args.size()) return Usage("an option lacks its value");
      const std::string& v = args[++i];
      if (a == "--eol") {
        o.eol = Lookup(kEolWords, v);
        if (!o.eol) return Usage("unknown line end");
        continue;
      }
      auto code = Lookup(kCodeWords, v);
      if (!code || (a == "--to" && *code == CharCode::Auto)) return Usage("unknown character code");
      if (a == "--read")
        o.read = *code;
      else
        o.to = *code;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return Usage("unknown option");
    files.push_back(a);
  }
  if (files.size() != 2) return Usage("INPUT and OUTPUT are needed");
  o.input = files[0];
  o.output = files[1];
  return std::nullopt;
}

// The conversion with the input read, decoded and written one piece at a time, so that neither
// the file nor its text is held whole (and a second core converts while this one reads and
// writes). 0 once OUTPUT is written; nothing, with OUTPUT as it was,
// when the input is not known to give the whole load's lines piece by piece (the write goes to
// a file renamed over OUTPUT only at the end) or the write failed: the whole load then
// decides, and reports what it finds.
std::optional<int> ConvertStreamed(const Options& o) {
  std::optional<StreamedText> text = StreamedText::Open(o.input, o.read);
  if (!text) return std::nullopt;
  const CharCode to = o.to.value_or(text->code());
  const RetCode eol = o.eol.value_or(text->ret());
  const auto content = [&](const PieceWriter& put) {
    const int r = text->EncodeInPieces(to, eol, put);
    if (r != 0) return r;
    return text->Confirmed() ? 0 : ECANCELED;
  };
  if (!WriteFileAtomic(o.output, content, Durability::Unsynced, InPlace::Refused))
    return std::nullopt;
  WarnReplaced("convert", o.input, text->replaced_chars());
  return 0;
}

}  // namespace

int ConvertCommand(const Args& args) {
  Options o;
  if (auto status = Parse(args, o)) return *status;
  if (std::optional<int> streamed = ConvertStreamed(o)) return *streamed;
  const LoadOutcome loaded = LoadForRewrite("convert", o.input, o.read, o.force);
  if (!loaded.doc) return loaded.exit_status;
  const LoadedText& doc = *loaded.doc;
  const CharCode to = o.to.value_or(doc.code);
  const RetCode eol = o.eol.value_or(doc.ret);
  // Encoded piece by piece straight into the output file: the converted text is never held
  // whole beside the loaded one.
  return WriteRewritten("convert", o.input, o.output, doc, [&](const PieceWriter& put) {
    return EncodeDocumentInPieces(doc.lines, to, eol, put);
  });
}

}  // namespace tessary::cli
