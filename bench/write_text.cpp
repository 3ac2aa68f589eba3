// Writes the benchmark's generated Japanese text to a file, for timing other programs on it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "japanese_text.h"

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "sjis") != 0 && std::strcmp(argv[1], "utf8") != 0)) {
    std::fprintf(stderr, "usage: bench_write_text sjis|utf8 MEGABYTES OUTPUT\n");
    return 2;
  }
  auto form = std::strcmp(argv[1], "sjis") == 0 ? tessary::bench::TextForm::ShiftJis
                                                : tessary::bench::TextForm::Utf8;
  size_t bytes = static_cast<size_t>(std::atof(argv[2]) * 1048576);
  std::string text = tessary::bench::JapaneseText(bytes, form);
  std::ofstream out(argv[3], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out ? 0 : 1;
}
