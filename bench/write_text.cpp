// Writes the benchmark's generated Japanese text to a file, for timing other programs on it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "japanese_text.h"

int main(int argc, char** argv) {
  const bool withWord = argc == 7 && std::strcmp(argv[4], "--word") == 0;
  if ((argc != 4 && !withWord) ||
      (std::strcmp(argv[1], "sjis") != 0 && std::strcmp(argv[1], "utf8") != 0)) {
    std::fprintf(stderr,
                 "usage: bench_write_text sjis|utf8 MEGABYTES OUTPUT [--word WORD EVERY]\n"
                 "  --word WORD EVERY  one ASCII word in EVERY (at random) is WORD (ASCII)\n");
    return 2;
  }
  auto form = std::strcmp(argv[1], "sjis") == 0 ? tessary::bench::TextForm::ShiftJis
                                                : tessary::bench::TextForm::Utf8;
  size_t bytes = static_cast<size_t>(std::atof(argv[2]) * 1048576);
  const std::string word = withWord ? argv[5] : "";
  const auto every = withWord ? static_cast<uint32_t>(std::strtoul(argv[6], nullptr, 10)) : 0u;
  if (withWord && (word.empty() || every == 0)) {
    std::fprintf(stderr, "bench_write_text: --word needs a word and EVERY > 0\n");
    return 2;
  }
  std::string text = tessary::bench::JapaneseText(bytes, form, 42, word, every);
  std::ofstream out(argv[3], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out ? 0 : 1;
}
