#include "independent/kolmogorov_smirnov.hpp"

#include <algorithm>
#include <cmath>

#include "frame/checked_array.hpp"
#include "frame/errors.hpp"
#include "frame/numbers.hpp"
#include "frame/report.hpp"
#include "independent/ks_critical_values.hpp"

namespace veltrum {

int ks_class(float x, float low, float width) {
  if (width == 0) return 1;
  const real c = int_floor((static_cast<real>(x) - low) / width) + 1;
  return c >= -32768 && c <= 32767 ? static_cast<int>(c) : -32768;  // far outside: an index error
}

namespace {

// Walks the critical values of the three levels 0.10, 0.05, 0.01 in turn: the class is the last
// level whose critical value D reaches; an entry of 0 means the level cannot be reached.
float three_levels(float d, float at_10, float at_05, float at_01, bool zero_10, bool zero_05, bool zero_01) {
  if (zero_10 || at_10 > d) return 0.5f;
  if (zero_05 || at_05 > d) return 0.10f;
  if (zero_01 || at_01 > d) return 0.05f;
  return 0.01f;
}

}  // namespace

void ks_classify(KolmogorovSmirnov& r) {
  const real n1 = r.n1, n2 = r.n2;
  r.effective = static_cast<int>(int_floor(n1 * n2 / (n1 + n2)));
  if (r.n1 <= ks::exact_max && r.n2 <= ks::exact_max) {
    r.table = KsCriticalValues::exact;
    const int m = std::min(r.n1, r.n2), n = std::max(r.n1, r.n2);
    const int at = ks::exact_position(m, n) - 1;
    const real mn = static_cast<real>(m) * n;
    const auto critical = [&](const std::int16_t* table) { return to_float(table[at] / mn); };
    r.level = three_levels(r.d, critical(ks::exact_10), critical(ks::exact_05), critical(ks::exact_01),
                           ks::exact_10[at] == 0, ks::exact_05[at] == 0, ks::exact_01[at] == 0);
  } else if (r.effective > ks::effective_max) {
    r.table = KsCriticalValues::asymptotic;
    r.level = 0.5f;
    const real scale = std::sqrt((n1 + n2) / (n1 * n2));
    for (const auto& [level, k] : ks::asymptotic)
      if (k * scale <= r.d) r.level = level;
  } else {
    r.table = KsCriticalValues::effective;
    const auto e = static_cast<std::size_t>(r.effective - 1);
    const auto critical = [&](const auto& table) { return to_float(table.at(e) / 1000.0L); };
    r.level = three_levels(r.d, critical(ks::effective_10), critical(ks::effective_05), critical(ks::effective_01),
                           false, false, false);
  }
}

KolmogorovSmirnov kolmogorov_smirnov(const SampleTable& table) {
  KolmogorovSmirnov r;
  r.n1 = table.n[1];
  r.n2 = table.n[2];
  if (r.n1 < 1 || r.n2 < 1) throw RunError("Kolmogorov-Smirnov test: a group without values");

  float low = 1E10f, high = -1E10f;
  for (int g = 1; g <= 2; ++g)
    for (int j = 1; j <= table.n[g]; ++j) low = std::min(low, table.x(g, j)), high = std::max(high, table.x(g, j));
  r.low = low, r.high = high;
  r.width = to_float((static_cast<real>(high) - low) / (ks_classes - 1));

  CheckedArray2<float> count(1, 2, 1, ks_classes + 1);
  for (int g = 1; g <= 2; ++g)
    for (int j = 1; j <= table.n[g]; ++j) count(g, ks_class(table.x(g, j), low, r.width)) += 1;

  real s1 = 0, s2 = 0, d = 0;
  for (int c = 1; c <= ks_classes + 1; ++c) {
    s1 += count(1, c), s2 += count(2, c);
    d = std::max(d, std::fabs(s1 / r.n1 - s2 / r.n2));
  }
  r.d = to_float(d);
  ks_classify(r);
  r.used = table.used;
  return r;
}

std::vector<PValue> KolmogorovSmirnov::p_values() const {
  if (significant()) return {{"D", level, Obtained::table_class}};
  return {{"D", table == KsCriticalValues::asymptotic ? 0.2f : 0.1f, Obtained::table_class, Sides::two, true}};
}

void write_kolmogorov_smirnov(ReportFile& rep, const KolmogorovSmirnov& r) {
  rep.write("Kolmogoroff-Smirnoff's delta =");
  rep.picture("##.#### ", r.d);
  if (r.significant())
    rep.picture("( p <##.#### ", r.level);
  else
    rep.write(r.table == KsCriticalValues::asymptotic ? "( p > 0.2000 " : "( p > 0.1000 ");
  rep.line(r.exact() ? "(exakter Test) )" : "(approximativ) )");
  rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line(
      "Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences, Kap. 6.7. "
      "McGraw-Hill, New York 1988.");
  rep.line("Smirnov, N.V.: On the estimation of the discrepancy between empirical curves of distribution");
  rep.line("for two independent samples. Bull. Math. Univ. Moscou 2 (1939), Nr. 2, 3-14.");
  rep.line();
}

}  // namespace veltrum
