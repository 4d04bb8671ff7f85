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

// One group's values sorted ascending.
struct SortedGroup {
  std::vector<float> values;
};

// Groups 1..k of the table at indices 0..k-1, each sorted once.
std::vector<SortedGroup> sort_groups(const SampleTable& table);

// The tie sum of every pair of groups pooled, sum of t^3 - t over the blocks of equal values of
// the two groups together, for all pairs at once and without pooling, from a ranked table.  The
// members of one block of the ranking of all groups share one rank r, and 2r is a whole number
// that names the block; one pass over the members finds every block's groups and counts.  A
// value held a times by one group and b times by another makes one block of a + b in their pool,
// and (a + b)^3 - (a + b) = (a^3 - a) + (b^3 - b) + 3ab(a + b): the pair's sum is the two groups'
// own sums plus 3ab(a + b) over the blocks they share.  The work is N plus, over the blocks, the
// square of the number of groups each reaches.  The sums are exact (at most 2002^3 - 2002).
class PairTieSums {
 public:
  explicit PairTieSums(const SampleTable& table);
  // Groups 1..k, in either order.
  std::int64_t operator()(int first, int second) const;

 private:
  int k_ = 0;
  std::vector<std::int64_t> own_;     // each group's own tie sum
  std::vector<std::int64_t> shared_;  // sum of ab(a + b) over the blocks, k x k
};

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
