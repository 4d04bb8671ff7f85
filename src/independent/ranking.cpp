#include "independent/ranking.hpp"

#include <algorithm>
#include <cmath>

#include "frame/report.hpp"

namespace veltrum {

namespace {

void append_group(const SampleTable& table, int group, std::vector<PooledValue>& pool) {
  const int n = static_cast<int>(table.n[group]);
  for (int j = 1; j <= n; ++j) pool.push_back({table.x(group, j), group, j});
}

void sort_pool(std::vector<PooledValue>& pool) {
  // Members of a tie block share one rank, so the order inside a block does not matter.
  std::sort(pool.begin(), pool.end(), [](const PooledValue& a, const PooledValue& b) { return a.value < b.value; });
}

}  // namespace

std::vector<PooledValue> pool_all_groups(const SampleTable& table) {
  std::vector<PooledValue> pool;
  for (int i = 1; i <= table.groups(); ++i) append_group(table, i, pool);
  sort_pool(pool);
  return pool;
}

std::vector<PooledValue> pool_two_groups(const SampleTable& table, int first, int second) {
  std::vector<PooledValue> pool;
  append_group(table, first, pool);
  append_group(table, second, pool);
  sort_pool(pool);
  return pool;
}

real rank_pool(const std::vector<PooledValue>& pool, CheckedArray2<float>* ranks, int only_group) {
  real ties = 0;
  const std::size_t size = pool.size();
  // Positions are 1-based: the block starting at position s with t members has the mean
  // position s + (t - 1) / 2.
  for (std::size_t start = 0; start < size;) {
    std::size_t t = 1;
    while (start + t < size && pool[start + t].value == pool[start].value) ++t;
    const real s = static_cast<real>(start + 1);
    const real rank = t == 1 ? s : s + static_cast<real>(t - 1) / 2;
    const real share = static_cast<real>(t) * static_cast<real>(t) - 1;  // (t^3 - t) / t
    for (std::size_t p = start; p < start + t; ++p) {
      const PooledValue& member = pool[p];
      if (only_group > 0 && member.group != only_group) continue;
      if (ranks) (*ranks)(member.group, member.position) = to_float(rank);
      ties += share;
    }
    start += t;
  }
  return ties;
}

Ranking rank_groups(SampleTable& table) {
  Ranking r;
  const auto pool = pool_all_groups(table);
  r.total = static_cast<int>(pool.size());
  r.ties = rank_pool(pool, &table.rank);
  for (int i = 1; i <= table.groups(); ++i) {
    real sum = 0;
    const int n = static_cast<int>(table.n[i]);
    for (int j = 1; j <= n; ++j) sum += table.rank(i, j);
    r.rank_sum[i] = to_float(sum);
  }
  return r;
}

float median_of_sorted(const std::vector<float>& sorted) {
  const real n = static_cast<real>(sorted.size());
  if (sorted.empty()) return 0;
  if (std::fabs(n - 2 * int_floor(n / 2)) < 0.0001L) {
    const std::size_t half = sorted.size() / 2;
    return to_float((static_cast<real>(sorted[half - 1]) + sorted[half]) / 2);
  }
  return sorted[sorted.size() / 2];
}

std::vector<GroupSummary> summarise_groups(const SampleTable& table, const Ranking& ranking) {
  std::vector<GroupSummary> summary;
  for (int i = 1; i <= table.groups(); ++i) {
    const int n = static_cast<int>(table.n[i]);
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j) values.push_back(table.x(i, j));
    std::sort(values.begin(), values.end());
    GroupSummary g;
    g.number = table.group_number[i];
    g.n = table.n[i];
    if (!values.empty()) {
      g.median = median_of_sorted(values);
      g.minimum = values.front();
      g.maximum = values.back();
    }
    g.rank_sum = ranking.rank_sum[i];
    g.normed = g.n > 0 ? to_float(static_cast<real>(g.rank_sum) / g.n) : 0.0f;
    summary.push_back(g);
  }
  return summary;
}

void write_group_summary(ReportFile& report, const std::vector<GroupSummary>& summary) {
  float largest = 0;
  for (const auto& g : summary) largest = std::max(largest, g.rank_sum);
  const char* rank_picture = largest < 100000000.0f ? "########.#" : " ##.##^^^^";
  report.line("               |     Median    Minimum    Maximum   n  |  Rangsumme  Normiert");
  report.line("---------------+---------------------------------------+---------------------");
  for (const auto& g : summary) {
    report.picture("Stichprobe###  |", g.number);
    report.adaptive(g.median);
    report.adaptive(g.minimum);
    report.adaptive(g.maximum);
    report.picture("####", g.n);
    report.write("  | ");
    report.picture(rank_picture, g.rank_sum);
    report.picture(rank_picture, g.normed);
    report.end_line();
  }
}

}  // namespace veltrum
