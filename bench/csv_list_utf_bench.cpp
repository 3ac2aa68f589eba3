// CsvListUtf.so on a generated 100 MB CSV of a million records, UTF-8 and UTF-16: time to the
// first painted rows, time to the whole index, and the peak memory against the file's size.
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "peak_memory.h"
#include "platform/dynamic_library.h"
#include "viewers/csv_list_utf_api.h"

namespace {

using tessary::bench::PeakSinceReset;
using tessary::bench::ResetPeak;

// About 100 bytes of UTF-8 per record: Japanese, numbers, and every tenth record a quoted
// field with a comma, a doubled quote and a line break.
std::string Utf8Csv(int records) {
  std::string out;
  out.reserve(static_cast<size_t>(records) * 104);
  for (int i = 0; i < records; ++i) {
    out += std::to_string(i);
    out += ",東京都千代田区,";
    out += std::to_string(i * 7 % 100000);
    out += i % 10 == 0 ? ",\"注記, \"\"引用\"\"\n二行目\"" : ",通常の注記です";
    out += ",abcdefghijklmnopqrstuvwxyz0123456789\r\n";
  }
  return out;
}

// The same records as UTF-16 LE with a mark, padded to about 100 bytes a record.
std::string Utf16Csv(int records) {
  std::string out = "\xFF\xFE";
  out.reserve(static_cast<size_t>(records) * 104);
  auto put = [&](std::u16string_view s) {
    out.append(reinterpret_cast<const char*>(s.data()), s.size() * 2);
  };
  for (int i = 0; i < records; ++i) {
    const std::string n = std::to_string(i);
    put(std::u16string(n.begin(), n.end()));
    put(i % 10 == 0 ? u",東京都,\"注記, \"\"引\"\"\n二\",abcdefghijklmnopqrst\r\n"
                    : u",東京都,通常の注記です,abcdefghijklmnopqrstuv\r\n");
  }
  return out;
}

QTreeView* LibraryTable() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible())
      if (auto* t = w->findChild<QTreeView*>()) return t;
  return nullptr;
}

void Run(const char* label, const std::string& path, const tessary::LoadedLibrary& lib) {
  auto open = tessary::ExportAs<TessaryCsvOpenForm>(lib, tessary::kCsvOpenFormExport);
  auto start = tessary::ExportAs<TessaryCsvStart>(lib, tessary::kCsvStartExport);
  auto close = tessary::ExportAs<TessaryCsvCloseForm>(lib, tessary::kCsvCloseFormExport);
  const double size = static_cast<double>(std::filesystem::file_size(path));
  const int64_t base = ResetPeak();
  QElapsedTimer clock;
  clock.start();
  open(nullptr, 0);
  start(nullptr, path.c_str());
  QTreeView* table = LibraryTable();
  table->viewport()->repaint();  // the first rows drawn, as the window shows them
  const double first_ms = clock.nsecsElapsed() / 1e6;
  const int first_rows = table->model()->rowCount();
  while (true) {
    const int rows = table->model()->rowCount();
    QApplication::processEvents();
    if (table->model()->rowCount() == rows) break;
  }
  const double all_ms = clock.nsecsElapsed() / 1e6;
  table->scrollToBottom();
  table->viewport()->repaint();
  const double end_ms = clock.nsecsElapsed() / 1e6 - all_ms;
  const int64_t peak = PeakSinceReset() - base;
  std::printf(
      "%-7s %6.1f MB  first rows %7.1f ms (%d rows indexed)  whole index %7.1f ms (%d rows)  "
      "end painted %5.1f ms  peak +%6.1f MB = %.2f x file\n",
      label, size / 1e6, first_ms, first_rows, all_ms, table->model()->rowCount(), end_ms,
      peak / 1e6, peak / size);
  close(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int records = argc > 1 ? std::stoi(argv[1]) : 1000000;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessary_csv_bench";
  std::filesystem::create_directories(dir);
  const std::string utf8 = (dir / "records_utf8.csv").string();
  const std::string utf16 = (dir / "records_utf16.csv").string();
  std::ofstream(utf8, std::ios::binary) << Utf8Csv(records);
  std::ofstream(utf16, std::ios::binary) << Utf16Csv(records);
  tessary::SystemLibraryLoader loader;
  auto lib = loader.Load(TESSARY_CSVLIST_UTF_LIBRARY);
  if (!lib) {
    std::fprintf(stderr, "%s\n", lib.error().message.c_str());
    return 1;
  }
  // A first pass warms the page cache and the fonts; the second is reported.
  Run("(warm)", utf8, *lib.value());
  Run("UTF-8", utf8, *lib.value());
  Run("UTF-16", utf16, *lib.value());
  std::filesystem::remove_all(dir);
  return 0;
}
