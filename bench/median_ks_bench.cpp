// The median test at its largest pool (1001 + 1000 values, Fisher's sum over about 1000 tables),
// the Kolmogorov-Smirnov test for two full groups of 1001 values, and the Mantel-Haenszel test
// for two groups of 1001 (N) and ten groups of 1000 (T), with 250 scores, each with its report
// written to a file.  Target: under 10 ms each.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "frame/report.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/mantel_haenszel.hpp"
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
    for (int j = 1; j <= sizes[i - 1]; ++j)
      t.x(i, j) = static_cast<float>(random() % 2000) / 10.0f + 3.0f * static_cast<float>(i);
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

// k groups of n scores, 250 distinct values (1 to 250), the later groups shifted a little.
SampleTable scored_groups(int k, int n, unsigned seed) {
  SampleTable t;
  t.k = k;
  std::mt19937 random(seed);
  for (int i = 1; i <= k; ++i) {
    t.group_number[i] = static_cast<std::int16_t>(i);
    t.n[i] = n;
    for (int j = 1; j <= n; ++j)
      t.x(i, j) = static_cast<float>(std::min<unsigned long>(250, 1 + random() % 240 + static_cast<unsigned long>(i)));
  }
  return t;
}

void BM_MantelHaenszel(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
  const SampleTable t = scored_groups(k, n, 23);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const MantelHaenszel result = mantel_haenszel(t);
    write_mantel_haenszel(report, result);
    report.close();
    benchmark::DoNotOptimize(result.p);
  }
}
BENCHMARK(BM_MantelHaenszel)->Args({2, 1001})->Args({10, 1000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
