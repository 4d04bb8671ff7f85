// The paired tests at their capacities: Wilcoxon matched pairs at n = 500 (the largest n with
// Walsh averages: 125,250 of them sorted) with its report, the exact signed-rank distribution
// at n' = 180 with T at its median, the sign test at the table's 1001 rows, and the cross-over
// analysis with 500 units in each sequence (its three U tests at their 1000 values).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "crossover/cross_over.hpp"
#include "frame/report.hpp"
#include "paired/pair_table.hpp"
#include "paired/sign_test.hpp"
#include "paired/signed_rank_distribution.hpp"
#include "paired/wilcoxon_pairs.hpp"

namespace veltrum {
namespace {

// n pairs on a grid of 0.1, so that ties and zero differences occur as in rounded data.
PairTable random_pairs(int n, unsigned seed) {
  PairTable t;
  std::mt19937 random(seed);
  for (int i = 0; i < n; ++i)
    t.add(static_cast<float>(random() % 400) / 10.0f, static_cast<float>(random() % 400) / 10.0f + 0.5f);
  return t;
}

std::string report_path() { return (std::filesystem::temp_directory_path() / "veltrum-bench-report").string(); }

void BM_WilcoxonPairs(benchmark::State& state) {
  const PairTable data = random_pairs(static_cast<int>(state.range(0)), 21);
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const WilcoxonPairs result = wilcoxon_pairs(data);
    write_wilcoxon_pairs(report, result);
    report.close();
    benchmark::DoNotOptimize(result.hodges_lehmann);
  }
}
BENCHMARK(BM_WilcoxonPairs)->Arg(500)->Arg(1001)->Unit(benchmark::kMillisecond);

void BM_FidisAtTheMedian(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FIDIS(180, 8145));  // 180 * 181 / 4 = 8145
}
BENCHMARK(BM_FidisAtTheMedian)->Unit(benchmark::kMillisecond);

void BM_SignTest(benchmark::State& state) {
  const PairTable data = random_pairs(PairTable::capacity, 22);
  for (auto _ : state) benchmark::DoNotOptimize(sign_test(data));
}
BENCHMARK(BM_SignTest)->Unit(benchmark::kMicrosecond);

void BM_CrossOver(benchmark::State& state) {
  std::mt19937 random(24);
  CrossOverGroup first, second;
  first.number = 1;
  second.number = 2;
  for (CrossOverGroup* g : {&first, &second}) {
    for (int i = 0; i < 500; ++i) {
      g->period1.push_back(static_cast<float>(random() % 400) / 10.0f);
      g->period2.push_back(static_cast<float>(random() % 400) / 10.0f + 0.5f * g->number);
    }
  }
  ReportFile report;
  for (auto _ : state) {
    report.create(report_path());
    const CrossOver result = cross_over(first, second);
    write_cross_over(report, result);
    report.close();
    benchmark::DoNotOptimize(result.tests[0].z);
  }
}
BENCHMARK(BM_CrossOver)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
