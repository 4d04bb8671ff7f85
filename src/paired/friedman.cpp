#include "paired/friedman.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "frame/distribution.hpp"
#include "frame/report.hpp"
#include "paired/wilcoxon_wilcox.hpp"

namespace veltrum {

namespace {

// F when chi^2 reaches its maximum (c - 1) r and the denominator vanishes.
constexpr float f_at_maximum = 9999;

// Ranks one row: its values sorted with their columns, a run of t equal values at sorted
// positions k - t + 1 .. k gets (2k - t + 1) / 2.  Adds the ranks to the rank sums; returns
// the row's sum of t^3 - t.
real rank_row(std::vector<std::pair<float, int>>& row, std::vector<float>& rank_sum) {
  std::sort(row.begin(), row.end());
  real ties = 0;
  const int c = static_cast<int>(row.size());
  for (int first = 0; first < c;) {
    int last = first;
    while (last + 1 < c && row[last + 1].first == row[first].first) ++last;
    const real t = last - first + 1;
    const real rank = (first + 1 + last + 1) / 2.0L;
    for (int k = first; k <= last; ++k) {
      float& sum = rank_sum[row[k].second];
      sum = to_float(sum + rank);
    }
    ties += t * t * t - t;
    first = last + 1;
  }
  return ties;
}

}  // namespace

bool exact_table_applies(int r, int c) {
  return r >= 3 && ((c == 3 && r <= 15) || (c == 4 && r <= 8) || (c == 5 && r <= 4) || (c == 6 && r == 3));
}

Friedman friedman(const BlockTable& table) {
  Friedman f;
  const int r = f.r = table.rows, c = f.c = table.columns;
  f.rank_sum.assign(static_cast<std::size_t>(c), 0.0f);

  std::vector<std::pair<float, int>> row(static_cast<std::size_t>(c));
  const real row_ties = static_cast<real>(c) * c * c - c;
  int tied_rows = 0;
  for (int i = 1; i <= r; ++i) {
    for (int j = 1; j <= c; ++j) row[j - 1] = {table.x(i, j), j - 1};
    const real t = rank_row(row, f.rank_sum);
    f.ties = to_float(f.ties + t);
    if (t == row_ties) ++tied_rows;
  }
  f.all_tied = tied_rows == r;

  // 12 S / (r c (c+1)) - 3 r (c+1) with S = sum R(j)^2, written as the squared deviations from the
  // mean rank sum r (c+1) / 2: the same number, summed exactly (rank sums are multiples of 1/2).
  const real mean = r * (c + 1) / 2.0L;
  real spread = 0;
  for (const float sum : f.rank_sum) spread += (sum - mean) * (sum - mean);
  const real chi_r = 12 * spread / (static_cast<real>(r) * c * (c + 1));
  f.chi = f.all_tied ? 0.0f : to_float(r * chi_r / (r - f.ties / row_ties));
  f.df = c - 1;
  f.p = FNChiUpper(f.df, f.chi);

  const real room = static_cast<real>(c - 1) * r - f.chi;
  f.f = std::fabs(room) < 1e-8L ? f_at_maximum : to_float((r - 1) * static_cast<real>(f.chi) / room);
  f.df1 = c - 1;
  f.df2 = (c - 1) * (r - 1);
  f.p_f = FNFisherUpper(f.df1, f.df2, f.f);
  f.exact_note = exact_table_applies(r, c);

  f.schaich_hamerle = c > ww_max_columns || r > ww_max_rows;
  if (!f.schaich_hamerle) {
    f.d05 = wilcoxon_wilcox_difference(WilcoxonWilcoxLevel::five_percent, r, c);
    f.d01 = wilcoxon_wilcox_difference(WilcoxonWilcoxLevel::one_percent, r, c);
  }
  for (int i = 1; i < c; ++i) {
    for (int j = i + 1; j <= c; ++j) {
      ColumnComparison m;
      m.first = i;
      m.second = j;
      const float ri = f.rank_sum[i - 1], rj = f.rank_sum[j - 1];
      if (f.schaich_hamerle) {
        m.d = to_float((static_cast<real>(ri) - rj) / r);
        m.chi = to_float(6.0L * r * m.d * m.d / (static_cast<real>(c) * (c + 1)));
        m.p = FNChiUpper(c - 1, m.chi);
      } else {
        m.d = to_float(std::fabs(static_cast<real>(rj) - ri));
        m.level = m.d < f.d05   ? Significance::none
                  : m.d < f.d01 ? Significance::five_percent
                                : Significance::one_percent;
      }
      f.comparisons.push_back(m);
    }
  }
  f.used = table.used;
  return f;
}

std::vector<PValue> Friedman::p_values() const {
  return {{"Chi2", p, Obtained::approximate}, {"F", p_f, Obtained::approximate}};
}

std::vector<PValue> ColumnComparison::p_values(bool schaich_hamerle) const {
  if (schaich_hamerle) return {{"Chi2", p, Obtained::approximate}};
  switch (level) {
    case Significance::one_percent:
      return {{"D", 0.01f, Obtained::table_class}};
    case Significance::five_percent:
      return {{"D", 0.05f, Obtained::table_class}};
    case Significance::none:
      break;
  }
  return {{"D", 0.05f, Obtained::table_class, Sides::two, true}};
}

void write_friedman(ReportFile& rep, const Friedman& f) {
  rep.picture("Friedman's Chi² =  ####.####", f.chi);
  rep.picture(" (fg  =###", static_cast<float>(f.df));
  rep.write(",");
  rep.picture("            p =##.######)", f.p);
  rep.end_line();
  rep.write("Rijkoort-Wise's F =");
  rep.picture("####.####", f.f);
  rep.picture(" (fg1 =###", static_cast<float>(f.df1));
  rep.write(",");
  rep.picture(" fg2 =####", static_cast<float>(f.df2));
  rep.write(",");
  rep.picture(" p =##.######)", f.p_f);
  rep.end_line();
  if (f.exact_note) {
    rep.line();
    rep.line("Exakte Verteilung s. Tavik, Kap.761.");
  }
  rep.line();
  rep.line();
  rep.line(f.schaich_hamerle ? "Multiple Vergleiche für r>25 bzw. c>10: Schaich-Hamerle-Vergleiche."
                             : "Multiple Vergleiche für r<=25 und c<=10: Wilcoxon-Wilcox-Test.");
  rep.line();
  int current = 0;
  for (const ColumnComparison& m : f.comparisons) {
    if (current != 0 && m.first != current) rep.line();
    current = m.first;
    rep.picture("Spalten ##", static_cast<float>(m.first));
    rep.picture(" und ##", static_cast<float>(m.second));
    rep.write(": D = ");
    rep.picture("####.##", m.d);
    if (f.schaich_hamerle)
      rep.picture("  p =##.######", m.p);
    else
      rep.write(m.level == Significance::none           ? " ( p > 0.05 )"
                : m.level == Significance::five_percent ? " ( p < 0.05 )"
                                                        : " ( p < 0.01 )");
    rep.end_line();
  }
  if (current != 0) rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Friedman, M.: The use of ranks to avoid the assumption of normality implicit");
  rep.line("   in the analysis of variance. J. Amer. Statist. Assoc. 32 (1937), 675-701.");
  if (f.schaich_hamerle) {
    rep.line("Schaich, E., Hamerle, A.: Verteilungsfreie statistische Prüfverfahren (1984).");
  } else {
    rep.line("Wilcoxon, F., Wilcox, R.A.: Some Rapid Approximate Statistical Procedures.");
    rep.line("   Lederle Laboratories, Pearl River, New York 1964.");
  }
  rep.line("Sachs, L.: Angewandte Statistik. Springer, Berlin, Heidelberg.");
}

}  // namespace veltrum
