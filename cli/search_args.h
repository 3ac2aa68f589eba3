// The search options and words shared by tessary-cli find and replace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace tessary::cli
