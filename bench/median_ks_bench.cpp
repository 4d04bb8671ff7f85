// The median test at its largest pool (1001 + 1000 values, Fisher's sum over about 1000 tables)
// and the Kolmogorov-Smirnov test for two full groups of 1001 values, each with its report
// written to a file.  Target: under 10 ms each.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "frame/report.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/median_test.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {
namespace {

// Two groups of n1 and n2 values on a grid of 0.1, the second shifted a little.
SampleTable two_groups(int n1, int n2, unsigned seed) {
  SampleTable t;
  t.k = 2;
  std::mt19937 random(seed);
  const int sizes[] = {n1, n2};
  for (int i = 1; i <= 2; ++i) {
    t.group_number[i] = static_cast<std::int16_t>(i);
    t.n[i] = sizes[i - 1];
    for (int j = 1; j <= sizes[i - 1]; ++j) t.x(i, j) = static_cast<float>(random() % 2000) / 10.0f + 3.0f * i;
  }
  return t;
}

std::string report_path() { return (std::filesystem::temp_directory_path() / "veltrum-bench-report").string(); }

void BM_MedianTest(benchmark::State& state) {
  const SampleTable t = two_groups(1001, 1000, 21);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const MedianTest result = median_test(t);
    write_median_test(report, result);
    report.close();
    benchmark::DoNotOptimize(result.fisher.two_sided);
  }
}
BENCHMARK(BM_MedianTest)->Unit(benchmark::kMillisecond);

void BM_FisherLargest(benchmark::State& state) {
  // Margins 1000/1001 both ways: the sum runs over 1000 tables.
  for (auto _ : state) benchmark::DoNotOptimize(fisher_exact(500, 500, 500, 501));
}
BENCHMARK(BM_FisherLargest)->Unit(benchmark::kMicrosecond);

void BM_KolmogorovSmirnov(benchmark::State& state) {
  const SampleTable t = two_groups(1001, 1001, 22);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const KolmogorovSmirnov result = kolmogorov_smirnov(t);
    write_kolmogorov_smirnov(report, result);
    report.close();
    benchmark::DoNotOptimize(result.d);
  }
}
BENCHMARK(BM_KolmogorovSmirnov)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
