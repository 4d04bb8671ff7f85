// The rank tests at their capacities, each with its report written to a file: U for two groups
// of 52 values without ties (the largest exact table), of 150 (the pair sums of the estimator's
// variance) and of 1001 (with the estimator); Kruskal-Wallis for 3 groups of 1001 values, 10 of
// 1000 and 100 of 100 (capacity 101).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "frame/report.hpp"
#include "independent/kruskal_wallis.hpp"
#include "independent/mann_whitney.hpp"
#include "independent/ranking.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {
namespace {

// k groups of n values on a grid of 0.1, so that ties occur as they do in rounded data; or, with
// `distinct`, all values different.
SampleTable random_table(int k, int n, unsigned seed, bool distinct = false) {
  SampleTable t;
  t.redimension(k);
  t.k = k;
  std::mt19937 random(seed);
  for (int i = 1; i <= k; ++i) {
    t.group_number[i] = static_cast<std::int16_t>(i);
    t.n[i] = n;
    for (int j = 1; j <= n; ++j)
      t.x(i, j) = distinct ? static_cast<float>((i - 1) * n + j) + 0.5f
                           : static_cast<float>(random() % 2000) / 10.0f + static_cast<float>(i % 7);
  }
  return t;
}

std::string report_path() { return (std::filesystem::temp_directory_path() / "veltrum-bench-report").string(); }

void BM_UTest(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const SampleTable data = random_table(2, n, 11, n == 52);
  ReportFile report;
  for (auto _ : state) {
    SampleTable t = data;
    report.create(report_path());
    const Ranking r = rank_groups(t);
    const UTest result = u_test(t, r);
    write_u_test(report, result);
    report.close();
    benchmark::DoNotOptimize(result.p_approx);
  }
}
BENCHMARK(BM_UTest)->Arg(52)->Arg(150)->Arg(1001)->Unit(benchmark::kMillisecond);

void BM_ExactUTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(exact_u_tail(52, 52, 1200));
}
BENCHMARK(BM_ExactUTable)->Unit(benchmark::kMillisecond);

void BM_KruskalWallis(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
  const SampleTable data = random_table(k, n, 12);
  ReportFile report;
  for (auto _ : state) {
    SampleTable t = data;
    report.create(report_path());
    const Ranking r = rank_groups(t);
    const KruskalWallis result = kruskal_wallis(t, r);
    write_kruskal_wallis(report, result);
    report.close();
    benchmark::DoNotOptimize(result.p);
  }
}
BENCHMARK(BM_KruskalWallis)->Args({3, 1001})->Args({10, 1000})->Args({100, 100})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
