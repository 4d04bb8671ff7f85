// The Friedman test at its capacities: 1001 rows of 10 columns (Schaich-Hamerle, 45 pairs),
// 25 rows of 10 columns (Wilcoxon-Wilcox tables) and 200 columns of 51 rows (19900 pairs), and
// Cochran's Q for 1001 rows of 10 columns, each with its report written to a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "frame/report.hpp"
#include "paired/block_table.hpp"
#include "paired/cochran.hpp"
#include "paired/friedman.hpp"

namespace veltrum {
namespace {

std::string report_path() { return (std::filesystem::temp_directory_path() / "veltrum-bench-report").string(); }

// Values on a grid of 0.5 between 0 and 10, so that rows have ties.
BlockTable random_blocks(int rows, int columns, unsigned seed) {
  BlockTable t(columns);
  t.rows = rows;
  std::mt19937 random(seed);
  for (int i = 1; i <= rows; ++i)
    for (int j = 1; j <= columns; ++j) t.x(i, j) = static_cast<float>(random() % 21) / 2.0f;
  return t;
}

void BM_Friedman(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)), columns = static_cast<int>(state.range(1));
  const BlockTable data = random_blocks(rows, columns, 21);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const Friedman result = friedman(data);
    write_friedman(report, result);
    report.close();
    benchmark::DoNotOptimize(result.p);
  }
}
BENCHMARK(BM_Friedman)->Args({1001, 10})->Args({25, 10})->Args({51, 200})->Unit(benchmark::kMillisecond);

void BM_CochranQ(benchmark::State& state) {
  CochranTable table;
  table.rows = CochranTable::max_rows;
  table.columns = CochranTable::max_columns;
  std::mt19937 random(22);
  for (int i = 1; i <= table.rows; ++i)
    for (int j = 1; j <= table.columns; ++j) table.x(i, j) = static_cast<float>(random() % 2);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const CochranQ q = cochran_q(table);
    write_cochran(report, q);
    report.close();
    benchmark::DoNotOptimize(q.p);
  }
}
BENCHMARK(BM_CochranQ)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
