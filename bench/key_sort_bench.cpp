// Sorting a 10,000-row Pilka keyboard map and key map by modifier group and key.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "commands/pilka_map.h"

namespace {

constexpr size_t kRows = 10'000;

// Key lists as a map export writes them: up to three keys, any modifiers, some rows empty and
// some naming the comma key.
std::string KeyList(std::mt19937& random) {
  static constexpr std::array<const char*, 8> kModifiers = {
      "", "Shift+", "Ctrl+", "Alt+", "Shift+Ctrl+", "Shift+Alt+", "Ctrl+Alt+", "Shift+Ctrl+Alt+"};
  static constexpr std::array<const char*, 12> kKeys = {
      "A", "F1", "F10", "F2", "0", ",,", "Del", "Home", "Z", "9", "PgDn", "Space"};
  std::string keys;
  const size_t count = random() % 4;
  for (size_t k = 0; k < count; ++k) {
    if (!keys.empty() && keys.back() != ',') keys += ", ";
    keys += kModifiers[random() % kModifiers.size()];
    keys += kKeys[random() % kKeys.size()];
  }
  return keys;
}

std::vector<tessary::PilkaRow> Map() {
  std::mt19937 random(7);
  std::vector<tessary::PilkaRow> rows;
  for (size_t i = 0; i < kRows; ++i) {
    std::string command = "command ";
    command += std::to_string(i);
    rows.push_back({"\x95\xD2\x8F\x57", std::move(command), KeyList(random), "\x8B\x40\x94\x5C"});
  }
  return rows;
}

void BM_SortPilkaMap(benchmark::State& state) {
  const std::vector<tessary::PilkaRow> rows = Map();
  for (auto _ : state) benchmark::DoNotOptimize(tessary::SortedPilkaOrder(rows));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows.size()));
}
BENCHMARK(BM_SortPilkaMap)->Unit(benchmark::kMillisecond);

void BM_SortKeyMap(benchmark::State& state) {
  std::vector<std::string> keys;
  for (const tessary::PilkaRow& row : Map()) keys.push_back(row.keys);
  for (auto _ : state) benchmark::DoNotOptimize(tessary::SortedKeyOrder(keys));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * keys.size()));
}
BENCHMARK(BM_SortKeyMap)->Unit(benchmark::kMillisecond);

void BM_FixedWidthCopy(benchmark::State& state) {
  const std::vector<tessary::PilkaRow> rows = Map();
  for (auto _ : state) benchmark::DoNotOptimize(tessary::PilkaFixedWidthText(rows));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows.size()));
}
BENCHMARK(BM_FixedWidthCopy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
