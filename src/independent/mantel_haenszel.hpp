// Mantel-Haenszel test of independent groups on an ordered target variable with few values
// (letters N and T): the distinct values are the scores, the groups x scores count table is
// formed, and the mean scores of the groups are compared by the chi-square statistic
//
//   chi2 = (N - 1) A / B,  A = sum_i R(i) (m(i) - m)^2,  B = sum_s C(s) (S(s) - m)^2,
//
// with k - 1 degrees of freedom (R(i), m(i): size and mean score of group i; C(s): count of score
// S(s); m: overall mean score).  For two groups this is Mantel's (1963) one-degree-of-freedom
// test for ordered categories, (N - 1) r^2 with r the correlation of score and group; for k groups
// the "mean score" statistic of Landis, Heyman & Koch (1978) in a single stratum.
#pragma once

#include "frame/result.hpp"

#include <span>
#include <string_view>
#include <vector>

#include "frame/letter_options.hpp"
#include "independent/rank_tests.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;
struct Module;
struct CatalogueEntry;

inline constexpr int max_scores = 250;       // distinct values of the target variable
inline constexpr int max_score_groups = 10;  // rows of the count table

// The messages of the test.
inline constexpr std::string_view too_many_scores_text =
    "Der Test ist nur für <=250 verschiedene Scores möglich.\r"
    "Alternativ steht der Wilcoxon-  bzw. der Kruskal-Wallis-\rTest zur Verfügung.";

struct MantelHaenszel {
  bool too_many_scores = false;          // a 251st distinct value: nothing below is filled
  std::vector<float> scores;             // S(1..L), ascending
  std::vector<std::vector<int>> counts;  // counts[i][s]: values of group i + 1 equal to S(s + 1)
  std::vector<int> row_totals;           // R(i)
  std::vector<int> column_totals;        // C(s)
  int total = 0;                         // N
  bool single_score = false;             // L = 1: B = 0, the groups cannot differ
  float chi2 = 0;                        // 0 for a single score
  int df = 0;                            // k - 1
  float p = 1;                           // P(chi-square(df) > chi2), the upper tail
  DataUsed used;

  std::vector<PValue> p_values() const;
};

// The statistic of a count table (rows = groups, columns = the ascending scores).  With a single
// score every group has the same mean score and B = 0: chi2 is taken as 0 and p as 1, which is
// the exact conditional p (every table with these margins is the same table).
MantelHaenszel mean_score_test(std::vector<float> scores, std::vector<std::vector<int>> counts);

// Scores and count table of the loaded groups, then the statistic.  A 251st distinct value stops
// the walk (too_many_scores); after the walk, more than 10 groups exceed the count table and throw
// IndexError.
MantelHaenszel mantel_haenszel(const SampleTable& table);

// The report lines after the input block: the scores, the count table with its margins, the
// chi-square line and the references (two more lines for k > 2).
void write_mantel_haenszel(ReportFile& report, const MantelHaenszel& result);

// Command-line options: the choices of the two-group dialog (N) and of the k-group dialog (T),
// the same as for U and K.
inline constexpr std::span<const LetterOption> mantel_haenszel_options = mann_whitney_options;
inline constexpr std::span<const LetterOption> mantel_haenszel_k_options = kruskal_wallis_options;

// Test entries: N chooses two groups in the two-group dialog, T k groups in the k-group dialog.
// Fewer than 2 groups, a group with fewer than 2 values or more than 250 scores end the test with
// a message and the dialog again; everything runs under the test error trap.
void mantel_haenszel_entry(Module& module, const CatalogueEntry& test);
void mantel_haenszel_k_entry(Module& module, const CatalogueEntry& test);

// The count table's cells: w = the digits of N, "#" repeated w times, q = INT(70 / (w + 1)) cells
// on one line.
struct CellLayout {
  int width = 1;      // w
  int per_line = 35;  // q
};
CellLayout cell_layout(int total);

}  // namespace veltrum
