// Pooling and ranking with ties for the independent-sample rank tests (Kruskal-Wallis and
// Wilcoxon-Mann-Whitney), and the group summary table both reports print.
//
// The values of the chosen groups are pooled and sorted; every member of a block of t equal
// values gets the block's mean position as its rank, and the block adds t^3 - t to the tie sum T.
// Each pooled value keeps its group index and its position in the group as two fields, so any of
// the 100 groups decodes unambiguously.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/checked_array.hpp"
#include "frame/numbers.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;

// One value of the pool: x(group, position) of the sample table.
struct PooledValue {
  float value = 0;
  int group = 0;
  int position = 0;
};

// The values of groups 1..k (all of them), sorted ascending.
std::vector<PooledValue> pool_all_groups(const SampleTable& table);

// The values of two groups, sorted ascending (the pairwise comparisons).
std::vector<PooledValue> pool_two_groups(const SampleTable& table, int first, int second);

// Ranks the sorted pool with ties.  Every member (or, with only_group > 0, every member of that
// group) gets its rank written to ranks(group, position) when `ranks` is given; members of a tie
// block of t values add (t^3 - t) / t = t^2 - 1 each.  Returns the tie share so added, which over
// all members is the sum of t^3 - t over the blocks.  The shares are whole numbers and are summed
// exactly.
real rank_pool(const std::vector<PooledValue>& pool, CheckedArray2<float>* ranks, int only_group = 0);

// Ranking of all groups of a sample table.
struct Ranking {
  int total = 0;                                             // N = n(1) + ... + n(k)
  CheckedArray<float> rank_sum{0, SampleTable::max_groups};  // R(i)
  real ties = 0;                                             // T = sum of t^3 - t over the tie blocks
};

// Pools all groups, writes table.rank(i, j) and returns N, the rank sums and T.
Ranking rank_groups(SampleTable& table);

// One line of the group summary table.
struct GroupSummary {
  std::int16_t number = 0;  // the group value it stands for
  float median = 0, minimum = 0, maximum = 0;
  float n = 0;
  float rank_sum = 0;  // R(i)
  float normed = 0;    // R(i) / n(i)
};

// Per group: values sorted, median (mean of the two middle values for an even count), extremes,
// rank sum and normed rank sum.
std::vector<GroupSummary> summarise_groups(const SampleTable& table, const Ranking& ranking);

// The median of a group's values, sorted ascending.
float median_of_sorted(const std::vector<float>& sorted);

// Header, separator and one line per group; the caller writes the blank lines around it.
void write_group_summary(ReportFile& report, const std::vector<GroupSummary>& summary);

}  // namespace veltrum
