#include "independent/ranking.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

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

real rank_pool(const std::vector<PooledValue>& pool, CheckedArray2<float>* ranks) {
  real ties = 0;
  const std::size_t size = pool.size();
  // Positions are 1-based: the block starting at position s with t members has the mean
  // position s + (t - 1) / 2.
  for (std::size_t start = 0; start < size;) {
    std::size_t t = 1;
    while (start + t < size && pool[start + t].value == pool[start].value) ++t;
    const real s = static_cast<real>(start + 1);
    const real rank = t == 1 ? s : s + static_cast<real>(t - 1) / 2;
    if (ranks)
      for (std::size_t p = start; p < start + t; ++p) (*ranks)(pool[p].group, pool[p].position) = to_float(rank);
    const real tt = static_cast<real>(t);
    ties += tt * tt * tt - tt;
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

std::vector<SortedGroup> sort_groups(const SampleTable& table) {
  std::vector<SortedGroup> groups(static_cast<std::size_t>(std::max(table.groups(), 0)));
  for (int i = 1; i <= table.groups(); ++i) {
    std::vector<float>& values = groups[static_cast<std::size_t>(i - 1)].values;
    const int n = static_cast<int>(table.n[i]);
    values.reserve(static_cast<std::size_t>(n));
    for (int j = 1; j <= n; ++j) values.push_back(table.x(i, j));
    std::sort(values.begin(), values.end());
  }
  return groups;
}

PairTieSums::PairTieSums(const SampleTable& table) : k_(table.groups()) {
  const auto k = static_cast<std::size_t>(std::max(k_, 0));
  own_.assign(k, 0);
  shared_.assign(k * k, 0);
  int total = 0;
  for (int i = 1; i <= k_; ++i) total += static_cast<int>(table.n[i]);
  const auto key = [&](int i, int j) { return static_cast<std::size_t>(2 * table.rank(i, j)); };
  const std::size_t keys = 2 * static_cast<std::size_t>(total) + 2;

  // Members per block, then room for one entry per group of every block of two or more.
  std::vector<std::int32_t> size(keys, 0);
  for (int i = 1; i <= k_; ++i)
    for (int j = 1; j <= static_cast<int>(table.n[i]); ++j) ++size[std::min(key(i, j), keys - 1)];
  std::vector<std::int32_t> start(keys + 1, 0);
  for (std::size_t b = 0; b < keys; ++b) start[b + 1] = start[b] + (size[b] > 1 ? size[b] : 0);
  struct Entry {
    std::int32_t group, count;
  };
  std::vector<Entry> entries(static_cast<std::size_t>(start[keys]));
  std::vector<std::int32_t> end(start.begin(), start.end() - 1), last(keys, 0);
  for (int i = 1; i <= k_; ++i) {
    for (int j = 1; j <= static_cast<int>(table.n[i]); ++j) {
      const std::size_t b = std::min(key(i, j), keys - 1);
      if (size[b] < 2) continue;
      if (last[b] != i) entries[static_cast<std::size_t>(end[b]++)] = {i, 0}, last[b] = i;
      ++entries[static_cast<std::size_t>(end[b] - 1)].count;
    }
  }
  for (std::size_t b = 0; b < keys; ++b) {
    for (auto x = start[b]; x < end[b]; ++x) {
      const Entry ea = entries[static_cast<std::size_t>(x)];
      const std::int64_t t = ea.count;
      own_[static_cast<std::size_t>(ea.group - 1)] += t * t * t - t;
      for (auto y = x + 1; y < end[b]; ++y) {
        const Entry eb = entries[static_cast<std::size_t>(y)];
        const std::int64_t a = ea.count, c = eb.count;
        shared_[static_cast<std::size_t>(ea.group - 1) * k + static_cast<std::size_t>(eb.group - 1)] += a * c * (a + c);
      }
    }
  }
}

std::int64_t PairTieSums::operator()(int first, int second) const {
  if (first > second) std::swap(first, second);
  const auto k = static_cast<std::size_t>(k_);
  const auto a = static_cast<std::size_t>(first - 1), b = static_cast<std::size_t>(second - 1);
  return own_[a] + own_[b] + 3 * shared_[a * k + b];
}

std::vector<GroupSummary> summarise_groups(const SampleTable& table, const Ranking& ranking) {
  return summarise_groups(table, ranking, sort_groups(table));
}

std::vector<GroupSummary> summarise_groups(const SampleTable& table, const Ranking& ranking,
                                           const std::vector<SortedGroup>& sorted) {
  std::vector<GroupSummary> summary;
  for (int i = 1; i <= table.groups(); ++i) {
    const std::vector<float>& values = sorted[static_cast<std::size_t>(i - 1)].values;
    GroupSummary g;
    g.number = table.group_number[i];
    g.n = static_cast<float>(table.n[i]);  // at most 10,000 values: exact in a float
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
