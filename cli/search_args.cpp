// The search options and words shared by tessary-cli find and replace.
#include "search_args.h"

#include <cstdio>
#include <utility>

#include "codec/sjis_text.h"

namespace tessary::cli {
namespace {

namespace opt = search_option;

constexpr std::pair<std::string_view, TSearchOptions> kOptionWords[] = {
    {"--case", opt::kMatchCase},
    {"--word", opt::kWholeWord},
    {"--width", opt::kFullHalf},
    {"--breaks", opt::kSkipLineBreaks | opt::kSkipBlanks},
};

void Refuse(std::string_view command, std::string_view what, const char* reason) {
  std::fprintf(stderr, "tessary-cli %.*s: %.*s %s\n", static_cast<int>(command.size()),
               command.data(), static_cast<int>(what.size()), what.data(), reason);
}

}  // namespace

std::optional<TSearchOptions> SearchOptionBits(std::string_view arg) {
  for (const auto& [word, bits] : kOptionWords)
    if (word == arg) return bits;
  return std::nullopt;
}

std::optional<std::string> SjisWord(std::string_view command, std::string_view what,
                                    std::string_view utf8, EmptyWord empty) {
  if (utf8.empty() && empty == EmptyWord::Refused) {
    Refuse(command, what, "is empty");
    return std::nullopt;
  }
  std::optional<std::string> sjis = Utf8ToSjisExact(utf8);
  if (!sjis) Refuse(command, what, "has a character Shift-JIS cannot hold (or a line end)");
  return sjis;
}

std::optional<int> ParseSearchArgs(const Args& args, std::string_view own_flag, const char* command,
                                   const char* help, SearchArgs& out) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(help, stdout);
      return 0;
    }
    if (a == own_flag) {
      out.own_flag = true;
    } else if (const auto bits = SearchOptionBits(a)) {
      out.bits = static_cast<TSearchOptions>(out.bits | *bits);
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(command, "unknown option", help);
    } else {
      out.words.push_back(a);
    }
  }
  return std::nullopt;
}

}  // namespace tessary::cli
