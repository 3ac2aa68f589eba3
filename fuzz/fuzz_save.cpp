// The save in every code and line end, the UTF-16 working-file route against the direct one.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "codec/cp932.h"
#include "codec/cp932_converter.h"
#include "codec/document_saver.h"
#include "codec/utf_text_decoder.h"
#include "fuzz/fuzz_input.h"
#include "platform/file_io.h"

namespace tessary::fuzz {
namespace {

constexpr RetCode kRets[] = {RetCode::CrLf, RetCode::Cr, RetCode::Lf, RetCode::None};
constexpr CharCode kSixteenBit[] = {CharCode::UTF16BomBe, CharCode::UTF16Be, CharCode::UTF16BomLe,
                                    CharCode::UTF16Le};

// The working files of the UTF-16 save go to a folder of this run's own.
std::string& HomeDir() {
  static std::string dir;
  return dir;
}

void RemoveHome() {
  std::error_code ec;
  std::filesystem::remove_all(HomeDir(), ec);
}

// In memory where there is such a folder: every save flushes its files to the disk.
std::filesystem::path TempRoot() {
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0)
    return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

void MakeHome() {
  std::string pattern = (TempRoot() / "tessary-fuzz-XXXXXX").string();
  Check(::mkdtemp(pattern.data()) != nullptr, "a folder for the working files");
  HomeDir() = pattern;
  ::setenv("TESSARY_HOME", pattern.c_str(), 1);
  std::atexit(RemoveHome);
}

ByteOrder OrderOf(CharCode code) {
  return IsLittleEndian(code) ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
}

void CheckEightBit(const TextLines& lines) {
  for (RetCode ret : kRets) {
    std::string joined;
    for (size_t i = 0; i < lines.Count(); ++i) (joined += lines.Line(i)) += LineEndBytes(ret);
    Check(EncodeDocument(lines, CharCode::SJIS, ret) == joined,
          "Shift-JIS is the lines as they are");
    const std::string marked = EncodeDocument(lines, CharCode::UTF8Bom, ret);
    Check(marked.compare(0, 3, "\xEF\xBB\xBF") == 0, "UTF-8 with mark starts with EF BB BF");
    Check(DecodeUtf8Text(marked, Utf8Mark::Drop).ok, "the UTF-8 save is well-formed");
    const std::string utf8 = EncodeDocument(lines, CharCode::UTF8, ret);
    Check(DecodeUtf8Text(utf8, Utf8Mark::Keep).ok, "the UTF-8 save without mark is well-formed");
    std::string whole(Utf8RoomFor(joined.size()), '\0');
    whole.resize(
        static_cast<size_t>(Cp932ToUtf8(cp932::GetTables(), joined, whole.data()) - whole.data()));
    Check(utf8 == whole, "the UTF-8 save is the joined Shift-JIS text converted");
    std::string pieces;
    Check(EncodeDocumentInPieces(lines, CharCode::UTF8, ret,
                                 [&](std::string_view piece) {
                                   pieces += piece;
                                   return 0;
                                 }) == 0 &&
              pieces == utf8,
          "the save in pieces gives the same bytes");
  }
}

// What SaveUtf16 computes between its working files, in memory.
void CheckSixteenBit(const TextLines& lines) {
  const std::string src = EncodeDocument(lines, CharCode::SJIS, RetCode::CrLf);
  for (CharCode code : kSixteenBit) {
    const std::string converted = ConvertAnsiToUtf16(src, OrderOf(code));
    for (RetCode ret : kRets) {
      const std::string direct = EncodeDocument(lines, code, ret);
      Check(direct.size() % 2 == 0, "UTF-16 output is whole units");
      Check(direct == PostProcessUtf16(converted, code, ret),
            "UTF-16: the working-file route gives the direct route's bytes");
    }
  }
}

// The same through the real working files and target file.
void CheckSaveUtf16File(const TextLines& lines, uint8_t choice) {
  const CharCode code = kSixteenBit[choice % 4];
  const RetCode ret = kRets[(choice / 4) % 4];
  const std::string target = HomeDir() + "/saved.txt";
  Check(SaveUtf16(target, lines, code, ret, AppHome(HomeDir())).ok(), "the UTF-16 save succeeds");
  const Result<std::string> written = ReadWholeFile(target);
  Check(written.ok(), "the saved file can be read");
  Check(written.value() == EncodeDocument(lines, code, ret),
        "UTF-16 save through the working files equals the direct encoding");
}

// The vector conversions (where the CPU has them) must give what the portable ones give.
void CheckConversionPaths(std::string_view sjis) {
  const cp932::Tables& t = cp932::GetTables();
  std::string a(Utf8RoomFor(sjis.size()), '\0'), b(a.size(), '\0');
  const size_t na =
      static_cast<size_t>(Cp932ToUtf8(t, sjis, a.data(), BlockPath::Vector) - a.data());
  const size_t nb =
      static_cast<size_t>(Cp932ToUtf8(t, sjis, b.data(), BlockPath::Scalar) - b.data());
  Check(a.compare(0, na, b, 0, nb) == 0, "UTF-8 vector and scalar conversions agree");
  for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
    std::string c(Utf16RoomFor(sjis.size()), '\0'), d(c.size(), '\0');
    const size_t nc =
        static_cast<size_t>(Cp932ToUtf16(t, sjis, c.data(), order, BlockPath::Vector) - c.data());
    const size_t nd =
        static_cast<size_t>(Cp932ToUtf16(t, sjis, d.data(), order, BlockPath::Scalar) - d.data());
    Check(c.compare(0, nc, d, 0, nd) == 0, "UTF-16 vector and scalar conversions agree");
  }
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tessary::fuzz::MakeHome();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  const uint8_t choice = in.Byte();
  const std::string_view text = in.Rest();
  TextLines lines;
  for (const std::string& line : SplitAtLineEnds(text)) lines.AddLine(line);
  CheckEightBit(lines);
  CheckSixteenBit(lines);
  CheckConversionPaths(text);
  // Files are slow to write: every other input takes the real working-file route.
  if (choice & 0x80) CheckSaveUtf16File(lines, choice);
  return 0;
}
