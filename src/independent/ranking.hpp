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

// Ranks the sorted pool with ties.  Every member gets its rank written to ranks(group, position)
// when `ranks` is given; a tie block of t values adds t^3 - t.  Returns the sum over the blocks,
// a whole number summed exactly.
real rank_pool(const std::vector<PooledValue>& pool, CheckedArray2<float>* ranks);

// Ranking of all groups of a sample table.
struct Ranking {
  int total = 0;                                             // N = n(1) + ... + n(k)
  CheckedArray<float> rank_sum{0, SampleTable::max_groups};  // R(i)
  real ties = 0;                                             // T = sum of t^3 - t over the tie blocks
};

// Pools all groups, writes table.rank(i, j) and returns N, the rank sums and T.
Ranking rank_groups(SampleTable& table);

// One group's values sorted ascending, and the same as runs of equal values.
struct SortedGroup {
  std::vector<float> values;
  std::vector<float> run_value;         // the distinct values, ascending
  std::vector<std::int32_t> run_count;  // how often each of them occurs
  std::int64_t ties = 0;                // the sum of t^3 - t over the runs
};

// Groups 1..k of the table at indices 0..k-1, each sorted once.
std::vector<SortedGroup> sort_groups(const SampleTable& table);

// The tie sum of two groups pooled, sum of t^3 - t over the blocks of equal values, without
// pooling: a value held a times by one group and b times by the other makes one block of a + b,
// and (a + b)^3 - (a + b) = (a^3 - a) + (b^3 - b) + 3ab(a + b), so the sum is the two groups' own
// sums plus 3ab(a + b) over the values they share, found by merging the two lists of runs.
// Nothing is allocated; the result is exact (at most 2002^3 - 2002, about 8E9, for two groups of 1001).
std::int64_t pair_tie_sum(const SortedGroup& a, const SortedGroup& b);

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
// The same from groups already sorted by sort_groups.
std::vector<GroupSummary> summarise_groups(const SampleTable& table, const Ranking& ranking,
                                           const std::vector<SortedGroup>& sorted);

// The median of a group's values, sorted ascending.
float median_of_sorted(const std::vector<float>& sorted);

// Header, separator and one line per group; the caller writes the blank lines around it.
void write_group_summary(ReportFile& report, const std::vector<GroupSummary>& summary);

}  // namespace veltrum
