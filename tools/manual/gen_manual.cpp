// gen_manual SOURCE OUTPUT: writes the help text "Tessary.txt" from its UTF-8 source.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "codec/sjis_text.h"
#include "commands/outline.h"
#include "platform/file_io.h"
#include "tools/manual/manual_text.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_manual SOURCE OUTPUT\n");
    return 2;
  }
  const std::string source_path = argv[1];
  const std::string output_path = argv[2];
  tessary::Result<std::string> source = tessary::ReadWholeFile(source_path);
  if (!source) {
    std::fprintf(stderr, "gen_manual: %s\n", source.error().message.c_str());
    return 1;
  }
  // The source on its own first, so that a bad character is reported at its own line.
  if (tessary::Result<std::string> own = tessary::ManualToSjis(source.value()); !own) {
    std::fprintf(stderr, "%s: %s\n", source_path.c_str(), own.error().message.c_str());
    return 1;
  }
  tessary::Result<std::string> text = tessary::ExpandManual(source.value());
  if (!text) {
    std::fprintf(stderr, "%s: %s\n", source_path.c_str(), text.error().message.c_str());
    return 1;
  }
  tessary::Result<std::string> sjis = tessary::ManualToSjis(text.value());
  if (!sjis) {
    std::fprintf(stderr, "%s, its key list: %s\n", source_path.c_str(),
                 sjis.error().message.c_str());
    return 1;
  }
  // The help window's tree stops at a heading more than one level below the one before.
  const std::shared_ptr<const tessary::Outline> outline =
      tessary::Outline::BuildFromText(sjis.value(), tessary::HeadingKinds::MarksOnly);
  if (const auto& jump = outline->Tree().jump) {
    std::string_view heading = jump->text;  // the line, 35 blanks and its index
    heading = heading.substr(0, heading.find_last_not_of("0123456789 ") + 1);
    std::fprintf(stderr, "%s: the heading \"%s\" is more than one level below the one before\n",
                 source_path.c_str(), tessary::SjisToUtf8(heading).c_str());
    return 1;
  }
  tessary::Status written = tessary::WriteFileAtomic(output_path, sjis.value());
  if (!written) {
    std::fprintf(stderr, "gen_manual: %s\n", written.error().message.c_str());
    return 1;
  }
  return 0;
}
