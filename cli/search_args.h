// The search options and words shared by tessary-cli find and replace.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "editor/find_in_text.h"

namespace tessary::cli {

// The search option bit an argument names (--case, --word, --width, --breaks), if any.
[[nodiscard]] std::optional<TSearchOptions> SearchOptionBits(std::string_view arg);

// A word given in UTF-8 as the Shift-JIS bytes the editor searches for, or nothing (the reason
// printed as "tessary-cli COMMAND: ...") when Shift-JIS cannot hold it exactly or, unless
// `empty` allows it, when it is empty.
enum class EmptyWord { Refused, Allowed };
[[nodiscard]] std::optional<std::string> SjisWord(std::string_view command, std::string_view what,
                                                  std::string_view utf8, EmptyWord empty);

// The arguments of a search command: --help, the search options, the one flag of the command's
// own (--count, --force) and the plain words, in their order.
struct SearchArgs {
  TSearchOptions bits = search_option::kForward;
  bool own_flag = false;
  std::vector<std::string> words;
};
// An exit status when the command should stop: 0 after --help, 2 after an unknown option (the
// command's usage printed).
[[nodiscard]] std::optional<int> ParseSearchArgs(const Args& args, std::string_view own_flag,
                                                 const char* command, const char* help,
                                                 SearchArgs& out);

}  // namespace tessary::cli
