#include "independent/median_test.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "frame/distribution.hpp"
#include "frame/errors.hpp"
#include "frame/numbers.hpp"
#include "frame/report.hpp"

namespace veltrum {

MedianTest median_test(const SampleTable& table) {
  MedianTest r;
  const int n1 = table.n[1], n2 = table.n[2];
  if (n1 < 1 || n2 < 1) throw RunError("median test: a group without values");
  r.total = n1 + n2;
  if (r.total > median_pool_capacity)
    throw IndexError("pooled value " + std::to_string(r.total) + " beyond " + std::to_string(median_pool_capacity));

  // Only the lower half of the pool and the next value need to be in order.
  std::vector<float> v;
  v.reserve(static_cast<std::size_t>(r.total));
  for (int g = 1; g <= 2; ++g)
    for (int j = 1; j <= table.n[g]; ++j) v.push_back(table.x(g, j));
  const std::size_t half = static_cast<std::size_t>(r.total / 2);
  std::partial_sort(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(half) + 1, v.end());
  r.median = r.total % 2 == 0 ? to_float((static_cast<real>(v[half - 1]) + v[half]) / 2) : v[half];

  for (int g = 1; g <= 2; ++g)
    for (int j = 1; j <= table.n[g]; ++j)
      ++(table.x(g, j) < r.median ? r.below : r.at_or_above)[static_cast<std::size_t>(g - 1)];

  const real n = r.total;
  const real columns[2] = {static_cast<real>(r.below_total()), static_cast<real>(r.at_or_above_total())};
  const real rows[2] = {static_cast<real>(r.row_total(0)), static_cast<real>(r.row_total(1))};
  r.warning = r.total < 20;
  for (const real column : columns)
    for (const real row : rows)
      if (column * row / n < 5) r.warning = true;

  const real margins = columns[0] * columns[1] * rows[0] * rows[1];
  r.chi_square_defined = margins != 0;
  if (r.chi_square_defined) {
    const real cross =
        std::fabs(static_cast<real>(r.below[0]) * r.at_or_above[1] - static_cast<real>(r.at_or_above[0]) * r.below[1]);
    const real corrected = cross - n / 2;
    r.chi_square = to_float(n * corrected * corrected / margins);
    r.p_chi_square = FNChiUpper(1, r.chi_square);
  }

  r.fisher = fisher_exact(static_cast<float>(r.below[0]), static_cast<float>(r.at_or_above[0]),
                          static_cast<float>(r.below[1]), static_cast<float>(r.at_or_above[1]));
  r.used = table.used;
  return r;
}

std::vector<PValue> MedianTest::p_values() const {
  std::vector<PValue> p;
  if (chi_square_defined) p.push_back({"Chi2", p_chi_square, Obtained::approximate});
  p.push_back({"Fisher", fisher.one_sided, Obtained::exact, Sides::one});
  p.push_back({"Fisher", fisher.two_sided, Obtained::exact});
  return p;
}

void write_median_test(ReportFile& rep, const MedianTest& r) {
  const std::string rule = std::string(25, '-') + "-+-----";
  rep.write("Resultierende Tafel ( M = Overall-Median =");
  rep.plain(r.median);
  rep.line(")");
  rep.line();
  rep.line("                 < M <=M  |");
  rep.line(rule);
  for (int g = 0; g < 2; ++g) {
    rep.write("Stichprobe");
    rep.plain(static_cast<float>(g + 1));
    rep.write(":  ");
    rep.picture(" ###", static_cast<float>(r.below[static_cast<std::size_t>(g)]));
    rep.picture(" ###", static_cast<float>(r.at_or_above[static_cast<std::size_t>(g)]));
    rep.picture("  |#####", static_cast<float>(r.row_total(g)));
    rep.end_line();
  }
  rep.line(rule);
  rep.write("Gesamt:         ");
  rep.picture("####", static_cast<float>(r.below_total()));
  rep.picture("####", static_cast<float>(r.at_or_above_total()));
  rep.picture("  |#####", static_cast<float>(r.total));
  rep.end_line();
  rep.line();

  if (r.warning) {
    rep.line();
    rep.line("VORSICHT: Die Test-Voraussetzung phi(ij)>=5 und n>=20 ist nicht erfüllt.");
    rep.line("Bitte für die ermittelten Häufigkeiten Fisher's exakten Test verwenden.");
    rep.line();
    rep.line();
  }

  rep.line();
  if (r.chi_square_defined) {
    rep.picture("Chi² =####.####", r.chi_square);
    rep.picture(" (p = #.######, zweiseitig approximativ)", r.p_chi_square);
    rep.end_line();
  } else {
    rep.line("Chi²-Test ist nicht ausführbar (eine Randsumme ist Null)!");
  }

  if (r.fisher.two_sided >= 0) {
    rep.line();
    rep.picture("Fisher's Test:  (p = #.######", r.fisher.one_sided);
    rep.line(", ein!seitig exakter Test)");
    rep.picture("Fisher's Test:  (p = #.######, zweiseitig exakter Test)", r.fisher.two_sided);
    rep.end_line();
  } else {
    rep.line("Exakter Test ist nicht ausführbar!");
  }

  rep.line();
  rep.line();
  rep.line(
      "Literatur: Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences, Kap. 6. "
      "McGraw-Hill, New York 1988.");
}

}  // namespace veltrum
