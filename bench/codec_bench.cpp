// Throughput of the load and save pipelines: UTF-8 / UTF-16 to Shift-JIS lines and back.
// `codec_bench --write DIR [UTF8_MB SJIS_MB]` writes the inputs as files for codec_vs_iconv.sh;
// with TESSARY_BENCH_DIR set the benchmarks read those files instead of generating text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "codec/sjis_line_splitter.h"
#include "codec/utf_text_decoder.h"
#include "codec_text.h"
#include "platform/file_io.h"
#include "platform/large_buffer.h"

namespace {

using namespace tessary;

constexpr size_t kDefaultUtf8Bytes = 137'000'000;
constexpr size_t kDefaultSjisBytes = 100'000'000;
constexpr size_t kInMemoryBytes = 32'000'000;

struct Inputs {
  std::string utf8;
  std::string sjis;
  TextLines sjis_lines;
  std::string utf16le;
  std::string utf16be;
};

std::string ReadOrDie(const std::string& path) {
  auto r = ReadWholeFile(path);
  if (!r) {
    std::fprintf(stderr, "codec_bench: %s\n", r.error().message.c_str());
    std::exit(1);
  }
  return std::move(r.value());
}

Inputs MakeInputs() {
  Inputs in;
  if (const char* dir = std::getenv("TESSARY_BENCH_DIR")) {
    const std::string d = dir;
    in.utf8 = ReadOrDie(d + "/utf8.txt");
    in.sjis = ReadOrDie(d + "/sjis.txt");
    in.utf16le = ReadOrDie(d + "/utf16le.txt");
    in.utf16be = ReadOrDie(d + "/utf16be.txt");
  } else {
    in.utf8 = bench::MakeCodecText(kInMemoryBytes, bench::StopAt::Utf8Size).utf8;
    in.sjis = bench::MakeCodecText(kInMemoryBytes, bench::StopAt::ShiftJisSize).sjis;
  }
  in.sjis_lines = SplitSjisBytes(in.sjis);
  if (in.utf16le.empty()) {
    in.utf16le = EncodeDocument(in.sjis_lines, CharCode::UTF16Le, RetCode::CrLf);
    in.utf16be = EncodeDocument(in.sjis_lines, CharCode::UTF16Be, RetCode::CrLf);
  }
  return in;
}

const Inputs& GetInputs() {
  static const Inputs inputs = MakeInputs();
  return inputs;
}

// A load starts from the file's bytes just read (a fresh buffer, as ReadWholeFile gives) and
// decodes them in place; the copy that stands in for the read is not timed.
std::string FreshCopy(benchmark::State& state, const std::string& bytes) {
  state.PauseTiming();
  std::string copy;
  ResizeLargeBuffer(copy, bytes.size());
  std::memcpy(copy.data(), bytes.data(), bytes.size());
  state.ResumeTiming();
  return copy;
}

// Arg 0: the vector blocks where the CPU has them; 1: the portable scalar code alone.
void BM_LoadUtf8ToLines(benchmark::State& state) {
  const Inputs& in = GetInputs();
  const BlockPath path = state.range(0) == 0 ? BlockPath::Vector : BlockPath::Scalar;
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodeUtf8InPlace(FreshCopy(state, in.utf8), Utf8Mark::Keep, path));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.utf8.size()));
  state.SetLabel(path == BlockPath::Vector ? "vector" : "scalar");
}

// Detection and the UTF-8 path: what loading the file costs once its bytes are in memory.
void BM_LoadUtf8Document(benchmark::State& state) {
  const Inputs& in = GetInputs();
  for (auto _ : state)
    benchmark::DoNotOptimize(LoadDocumentBytes(FreshCopy(state, in.utf8), CharCode::Auto));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.utf8.size()));
}

void BM_LoadUtf16ToLines(benchmark::State& state) {
  const Inputs& in = GetInputs();
  const bool le = state.range(0) == 0;
  const std::string& bytes = le ? in.utf16le : in.utf16be;
  const ByteOrder order = le ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodeUtf16InPlace(FreshCopy(state, bytes), order, Utf16Mark::None));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.SetLabel(le ? "LE" : "BE");
}

void BM_SaveAs(benchmark::State& state) {
  const Inputs& in = GetInputs();
  const auto code = static_cast<CharCode>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(EncodeDocument(in.sjis_lines, code, RetCode::CrLf));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.sjis.size()));
  state.SetLabel(std::string(CharCodeKeyWord(code)));
}

BENCHMARK(BM_LoadUtf8ToLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadUtf8Document)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadUtf16ToLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAs)
    ->Arg(static_cast<int>(CharCode::SJIS))
    ->Arg(static_cast<int>(CharCode::UTF8))
    ->Arg(static_cast<int>(CharCode::UTF16Le))
    ->Arg(static_cast<int>(CharCode::UTF16Be))
    ->Unit(benchmark::kMillisecond);

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int WriteInputs(int argc, char** argv) {
  const std::string dir = argv[2];
  const size_t utf8_bytes =
      argc > 3 ? static_cast<size_t>(std::atof(argv[3]) * 1e6) : kDefaultUtf8Bytes;
  const size_t sjis_bytes =
      argc > 4 ? static_cast<size_t>(std::atof(argv[4]) * 1e6) : kDefaultSjisBytes;
  const std::string utf8 = bench::MakeCodecText(utf8_bytes, bench::StopAt::Utf8Size).utf8;
  const std::string sjis = bench::MakeCodecText(sjis_bytes, bench::StopAt::ShiftJisSize).sjis;
  const TextLines lines = SplitSjisBytes(sjis);
  const bool ok =
      WriteFile(dir + "/utf8.txt", utf8) && WriteFile(dir + "/sjis.txt", sjis) &&
      WriteFile(dir + "/utf16le.txt", EncodeDocument(lines, CharCode::UTF16Le, RetCode::CrLf)) &&
      WriteFile(dir + "/utf16be.txt", EncodeDocument(lines, CharCode::UTF16Be, RetCode::CrLf));
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write") == 0) return WriteInputs(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
