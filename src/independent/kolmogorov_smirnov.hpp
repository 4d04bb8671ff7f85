// Two-sample Kolmogorov-Smirnov test: the largest distance D between the empirical distribution
// functions of two groups, taken on a grid of 999 classes over the range of both groups, and its
// significance class from critical-value tables (see ks_critical_values.hpp).  No p is computed:
// the report gives the smallest of the levels 0.20, 0.15, 0.10, 0.05, 0.01, 0.001 that D reaches,
// or says that it reaches none.
//
// References: Smirnov, N.V.: On the estimation of the discrepancy between empirical curves of
// distribution for two independent samples, Bull. Math. Univ. Moscou 2 (1939); Massey, F.J.: The
// distribution of the maximum deviation between two sample cumulative step functions, Ann. Math.
// Statist. 22 (1951), 125-128; Siegel & Castellan (1988), section 6.7.
#pragma once

#include "frame/result.hpp"

#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;

inline constexpr int ks_classes = 999;  // classes of the grid (the counting table holds 1000)

enum class KsCriticalValues {
  exact,      // both groups up to 25: the exact tables of m n D
  effective,  // e = INT(n1 n2 / (n1 + n2)) up to 35: the tables of D_e
  asymptotic  // Smirnov's constants
};

struct KolmogorovSmirnov {
  int n1 = 0, n2 = 0;
  float low = 0, high = 0;  // the range of both groups
  float width = 0;          // (high - low) / 998; 0 when all values are equal
  float d = 0;              // the largest |F1 - F2| on the grid
  int effective = 0;        // e
  KsCriticalValues table = KsCriticalValues::exact;
  // The significance class: the smallest level reached, or 0.5 when none is.
  float level = 0.5f;
  DataUsed used;

  bool significant() const { return level != 0.5f; }
  bool exact() const { return table != KsCriticalValues::asymptotic; }
  // The class of D's p as the report gives it: below the level reached, or above the largest level
  // of its table (0.10 exact, 0.20 asymptotic).
  std::vector<PValue> p_values() const;
};

// The class of x on the grid from `low` with class width `width`: INT((x - low)/width) + 1;
// 1 for every value when the width is 0 (all values equal).
int ks_class(float x, float low, float width);

// The significance class of D for groups of n1 and n2 values (sets effective, table and level).
void ks_classify(KolmogorovSmirnov& result);

// The statistics for groups 1 and 2 of the sample table (n(i) >= 2).  A class outside the
// counting table throws IndexError, an empty group RunError.
KolmogorovSmirnov kolmogorov_smirnov(const SampleTable& table);

// The result line and the literature block.
void write_kolmogorov_smirnov(ReportFile& report, const KolmogorovSmirnov& result);

}  // namespace veltrum
