// What CSV input adds to a run: a table of 10,000 records and 10 columns (nine numeric, one of
// text labels) read from its file, parsed, and written as a data file of the host's format in a
// private folder, as `veltrum --data table.csv` does before the test's dialog.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "private_folder.hpp"
#include "table_file.hpp"
#include "table_input.hpp"

namespace veltrum::cli {
namespace {

std::string csv_table(int records) {
  std::mt19937 random(7);
  std::string text = "group,a,b,c,d,e,f,g,h,i\n";
  const char* labels[] = {"control", "low dose", "high dose"};
  for (int r = 0; r < records; ++r) {
    text += labels[random() % 3];
    for (int k = 0; k < 9; ++k) {
      const auto v = static_cast<int>(random() % 90000 + 10000);
      text.append(",").append(std::to_string(v / 100)).append(".").append(std::to_string(v % 100));
    }
    text += "\n";
  }
  return text;
}

void BM_CsvToDataFile(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "veltrum-bench-table.csv";
  std::ofstream(path, std::ios::binary) << csv_table(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::string bytes = read_bytes(path.string());
    TableFormat format;
    format.separator = guess_separator(bytes);
    const Table table = read_table(bytes, format);
    PrivateFolder folder;
    write_data_file(table, all_records(table), folder.file("daten.dat"));
    benchmark::DoNotOptimize(table.records());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_CsvToDataFile)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum::cli
