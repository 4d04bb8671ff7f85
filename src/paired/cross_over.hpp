// Distribution-free analysis of a two-period, two-treatment cross-over trial after Koch: two
// groups of units (sequences AB and BA) measured in period 1 and period 2, compared by three
// Wilcoxon-Mann-Whitney U tests, on the sums of both periods (carry-over effects), on the
// differences period 1 - period 2 (treatment effects), and on period 1 alone (the parallel-group
// comparison to fall back on when the cross-over assumptions do not hold).
//
// References: Koch, G.G. (1972), The use of non-parametric methods in the statistical analysis
// of the two-period change-over design, Biometrics 28, 577-584; Grizzle, J.E. (1965), The
// two-period change-over design and its use in clinical trials, Biometrics 21, 467-480; Jones, B.,
// Kenward, M.G. (2003), Design and Analysis of Cross-Over Trials, 2nd ed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "frame/capacities.hpp"
#include "frame/numbers.hpp"
#include "frame/result.hpp"

namespace veltrum {

class ReportFile;

// One group (treatment sequence) as loaded: per unit its value in period 1 and in period 2.
struct CrossOverGroup {
  std::int16_t number = 0;  // the group value it stands for
  std::vector<float> period1, period2;

  int size() const { return static_cast<int>(period1.size()); }
};

// The units a group may hold, and the values one U test may hold (both groups together).
inline constexpr int cross_over_group_capacity = table_capacity;
inline constexpr int cross_over_test_capacity = 1000;

// One Wilcoxon-Mann-Whitney U test of group 1 against group 2.
struct CrossOverU {
  float u1 = 0, u2 = 0, u = 0;  // U = min(U1, U2)
  real ties = 0;                // T, the sum of t^3 - t over the tie blocks, held exactly
  float z = 0;                  // |U - n1 n2 / 2| / sigma, 0 when sigma is 0
  float p_approx = 1;           // 2 (1 - Phi(Z))
  float p_exact = -1;           // two-sided exact p, -1 when the exact table would be too large

  bool exact() const { return p_exact >= 0; }
};

// The U test on the values of group 1 against those of group 2.  The exact p is the one of the
// shared rank-sum distribution at the whole number next to U (of the smaller group, of group 1
// for equal sizes), without ties.  More than cross_over_test_capacity values raise IndexError.
CrossOverU cross_over_u(const std::vector<float>& group1, const std::vector<float>& group2);

// The three analyses in the order the report gives them.
enum CrossOverAnalysis { carry_over = 0, treatment_effects = 1, first_period = 2 };

struct CrossOver {
  std::int16_t group1 = 0, group2 = 0;
  int n1 = 0, n2 = 0;
  std::array<CrossOverU, 3> tests{};  // indexed by CrossOverAnalysis
  DataUsed used;                      // the period variables, the group variable, both groups

  // Per analysis the exact p of U where it exists and the approximate one of Z.
  std::vector<PValue> p_values() const;
};

// Sums x1 + x2, differences x1 - x2 and period-1 values per unit, each stored as a float, and
// their U tests.
CrossOver cross_over(const CrossOverGroup& first, const CrossOverGroup& second);

// The report after the loader's block: the sample sizes, per analysis the U line and the Z line,
// the literature block.
void write_cross_over(ReportFile& report, const CrossOver& result);

}  // namespace veltrum
