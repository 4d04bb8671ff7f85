#include "independent/mantel_haenszel.hpp"

#include <algorithm>
#include <string>
#include <utility>

#include "frame/distribution.hpp"
#include "frame/errors.hpp"
#include "frame/group_sizes.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "independent/group_loader.hpp"

namespace veltrum {

MantelHaenszel mean_score_test(std::vector<float> scores, std::vector<std::vector<int>> counts) {
  MantelHaenszel r;
  r.scores = std::move(scores);
  r.counts = std::move(counts);
  const std::size_t k = r.counts.size(), l = r.scores.size();
  r.row_totals.assign(k, 0);
  r.column_totals.assign(l, 0);
  real score_sum = 0;
  std::vector<real> group_score_sum(k, 0.0L);
  for (std::size_t i = 0; i < k; ++i) {
    for (std::size_t s = 0; s < l; ++s) {
      const int f = r.counts[i][s];
      r.row_totals[i] += f;
      r.column_totals[s] += f;
      group_score_sum[i] += static_cast<real>(f) * r.scores[s];
    }
    r.total += r.row_totals[i];
    score_sum += group_score_sum[i];
  }
  const real n = r.total;
  r.df = static_cast<int>(k) - 1;
  r.single_score = l == 1;
  if (n > 0 && !r.single_score) {
    // A and B as weighted sums of squared deviations from the overall mean score: the same numbers
    // as sum R(i) m(i)^2 - N m^2 and sum C(s) S(s)^2 - N m^2 without their cancellation.
    const real mean = score_sum / n;
    real a = 0, b = 0;
    for (std::size_t i = 0; i < k; ++i) {
      if (r.row_totals[i] == 0) continue;
      const real dev = group_score_sum[i] / r.row_totals[i] - mean;
      a += static_cast<real>(r.row_totals[i]) * dev * dev;
    }
    for (std::size_t s = 0; s < l; ++s) {
      const real dev = r.scores[s] - mean;
      b += static_cast<real>(r.column_totals[s]) * dev * dev;
    }
    if (b > 0) r.chi2 = to_float((n - 1) * a / b);
  }
  r.p = FNChiUpper(r.df, r.chi2);
  return r;
}

MantelHaenszel mantel_haenszel(const SampleTable& table) {
  const int k = table.groups();
  std::vector<float> pooled;
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= static_cast<int>(table.n[i]); ++j) pooled.push_back(table.x(i, j));
  std::sort(pooled.begin(), pooled.end());

  std::vector<float> scores;
  for (std::size_t p = 0; p < pooled.size(); ++p) {
    if (p > 0 && pooled[p] == pooled[p - 1]) continue;
    if (static_cast<int>(scores.size()) == max_scores) {
      MantelHaenszel refused;
      refused.too_many_scores = true;
      return refused;
    }
    scores.push_back(pooled[p]);
  }

  // The count table has rows for 10 groups; the scores are walked first.
  if (k > max_score_groups) throw IndexError("group " + std::to_string(k) + " beyond the count table");
  std::vector<std::vector<int>> counts(static_cast<std::size_t>(k), std::vector<int>(scores.size(), 0));
  for (int i = 1; i <= k; ++i) {
    auto& row = counts[static_cast<std::size_t>(i - 1)];
    for (int j = 1; j <= static_cast<int>(table.n[i]); ++j) {
      const auto at = std::lower_bound(scores.begin(), scores.end(), table.x(i, j));
      row[static_cast<std::size_t>(at - scores.begin())] += 1;
    }
  }
  MantelHaenszel r = mean_score_test(std::move(scores), std::move(counts));
  r.used = table.used;
  return r;
}

std::vector<PValue> MantelHaenszel::p_values() const { return {{"Chi2", p, Obtained::approximate}}; }

CellLayout cell_layout(int total) {
  CellLayout c;
  // INT(LOG10(N) + 1): the number of digits of N.
  c.width = static_cast<int>(std::to_string(total).size());
  c.per_line = 70 / (c.width + 1);
  return c;
}

// ---- Report --------------------------------------------------------------------------------

namespace {

// One row of the table: the cells, a new line after every q-th cell when more follow, then "| "
// and the row's total.
void write_row(ReportFile& rep, const std::vector<int>& cells, int total, const CellLayout& c,
               const std::string& picture) {
  for (std::size_t s = 0; s < cells.size(); ++s) {
    rep.write(" ");
    rep.picture(picture, static_cast<float>(cells[s]));
    if ((s + 1) % static_cast<std::size_t>(c.per_line) == 0 && s + 1 < cells.size()) rep.end_line();
  }
  rep.write("| ");
  rep.picture(picture, static_cast<float>(total));
  rep.end_line();
}

}  // namespace

void write_mantel_haenszel(ReportFile& rep, const MantelHaenszel& r) {
  rep.line("Scores der Zielgröße (Spalten):");
  rep.line();
  std::string line;
  for (const float score : r.scores) {
    if (score < 0) line += ' ';
    line += number_text(score);
    if (line.size() > 70) rep.line(line), line.clear();
  }
  rep.line(line);
  rep.line();
  rep.line();

  rep.line("Ermittelte Tafel (Zeilen=Gruppen):");
  rep.line();
  const CellLayout c = cell_layout(r.total);
  const std::string picture(static_cast<std::size_t>(c.width), '#');
  for (std::size_t i = 0; i < r.counts.size(); ++i) write_row(rep, r.counts[i], r.row_totals[i], c, picture);
  const std::size_t l = r.scores.size(), q = static_cast<std::size_t>(c.per_line), cell = picture.size() + 1;
  std::string rule(std::min(q, l) * cell, '-');
  if (l * cell <= 70 || l % q == 0) {
    rule += '+';
    rule.append(cell, '-');
  }
  rep.line(rule);
  write_row(rep, r.column_totals, r.total, c, picture);
  rep.line();
  rep.line();

  rep.write("Prüfgröße: Chi²=" + without_leading_blanks(picture_format("##########.####", report_value(r.chi2))));
  rep.write(" mit fg=" + std::to_string(r.df));
  rep.line(" und p=" + without_leading_blanks(picture_format("###.######", report_value(r.p))));
  rep.line();
  rep.line();

  rep.line("Literatur:");
  rep.line("Mantel, N.: Chi-square tests with one degree of freedom; extensions of the");
  rep.line("   Mantel-Haenszel procedure. J. Amer. Statist. Assoc. 58 (1963), 690-700.");
  if (r.counts.size() > 2) {
    rep.line("Landis, J.R., Heyman, E.R., Koch, G.G.: Average partial association in three-way");
    rep.line("   contingency tables. International Statistical Review 46 (1978), 237-254.");
  }
}

// ---- Test entries --------------------------------------------------------------------------

namespace {

// The group-size check, then the test; more than 250 distinct values stop it with their message.
std::optional<MantelHaenszel> analyse_scores(Module& module, const SampleTable& table) {
  // One group (T with one group number, or a file with one group) leaves nothing to compare:
  // with df = 0 no p would mean anything.
  if (!groups_large_enough(module, table.sizes())) return std::nullopt;
  MantelHaenszel result = mantel_haenszel(table);
  if (result.too_many_scores) {
    stop(module, Rerun::yes, too_many_scores_text);
    return std::nullopt;
  }
  return result;
}

}  // namespace

// N and T differ only in their dialog.
void mantel_haenszel_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(
      module, test, GroupChoice::two_groups, [&](const SampleTable& t) { return analyse_scores(module, t); },
      write_mantel_haenszel);
}

void mantel_haenszel_k_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(
      module, test, GroupChoice::k_groups, [&](const SampleTable& t) { return analyse_scores(module, t); },
      write_mantel_haenszel);
}

}  // namespace veltrum
