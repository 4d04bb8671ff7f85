// The frequency letters at their capacities: A and G with 100 categories, B with n = 10^6, H with
// both frequencies near the 16-bit limit (a binomial tail over 63,000 trials), each with its
// report written to a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <vector>

#include "frame/module.hpp"
#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/two_frequencies.hpp"
#include "headless/headless_host.hpp"

namespace veltrum {
namespace {

// A module whose "C:\" is the temporary directory, its report file open.
struct BenchModule {
  BenchModule() : host(settings()), module(host) {}
  static headless::Settings settings() {
    headless::Settings s;
    s.drive_c = std::filesystem::temp_directory_path().string();
    return s;
  }
  void open() { module.report.create((std::filesystem::temp_directory_path() / "veltrum-bench-report").string()); }
  headless::HeadlessHost host;
  Module module;
};

void BM_GoodnessOfFit(benchmark::State& state) {
  const bool uniform = state.range(0) != 0;
  std::mt19937 random(5);
  std::vector<float> observed, probability(fit_capacity, 0.01f);
  for (int i = 0; i < fit_capacity; ++i) observed.push_back(static_cast<float>(70 + random() % 61));
  BenchModule b;
  for (auto _ : state) {
    b.open();
    GoodnessOfFit fit = fit_statistics(observed, probability);
    fit.uniform = uniform;
    write_goodness_of_fit(b.module.report, fit);
    b.module.report.close();
    benchmark::DoNotOptimize(fit.p);
  }
}
BENCHMARK(BM_GoodnessOfFit)->ArgName("uniform")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Binomial(benchmark::State& state) {
  BenchModule b;
  for (auto _ : state) {
    b.open();
    const BinomialTest result = binomial_test(1000000, 500400, 0.5f);
    write_binomial(b.module.report, result);
    b.module.report.close();
    benchmark::DoNotOptimize(result.p_two);
  }
}
BENCHMARK(BM_Binomial)->Unit(benchmark::kMillisecond);

void BM_TwoFrequencies(benchmark::State& state) {
  BenchModule b;
  for (auto _ : state) {
    b.open();
    const TwoFrequencies result = compare_frequencies(31000, 32000);
    write_two_frequencies(b.module.report, result);
    b.module.report.close();
    benchmark::DoNotOptimize(result.p_two);
  }
}
BENCHMARK(BM_TwoFrequencies)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrum
