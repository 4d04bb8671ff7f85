#include "paired/cross_over.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "frame/checked_array.hpp"
#include "frame/distribution.hpp"
#include "frame/errors.hpp"
#include "frame/report.hpp"
#include "independent/mann_whitney.hpp"
#include "independent/ranking.hpp"

namespace veltrum {

namespace {

// The exact two-sided p at the whole number next to U: U of the smaller group (of group 1 for
// equal sizes), rounded towards the centre of the distribution when it lies in the lower half,
// else cut to its whole part; at most 32000.
float exact_p(const CrossOverU& r, int n1, int n2) {
  real u = 0;
  if (n1 < n2) {
    u = r.u2 > r.u1 ? int_floor(r.u1 + 0.5L) : int_floor(r.u1);
  } else if (n1 > n2) {
    u = r.u1 > r.u2 ? int_floor(r.u2 + 0.5L) : int_floor(r.u2);
  } else {
    u = int_floor(r.u + 0.5L);
  }
  u = std::min(u, 32000.0L);
  return exact_u_tail(to_int16(n1), to_int16(n2), to_int16(u)).two_sided;
}

}  // namespace

CrossOverU cross_over_u(const std::vector<float>& group1, const std::vector<float>& group2) {
  const int n1 = static_cast<int>(group1.size()), n2 = static_cast<int>(group2.size());
  if (n1 + n2 > cross_over_test_capacity)
    throw IndexError("U test of " + std::to_string(n1 + n2) + " values, at most " +
                     std::to_string(cross_over_test_capacity));

  std::vector<PooledValue> pool;
  pool.reserve(static_cast<std::size_t>(n1 + n2));
  for (int j = 0; j < n1; ++j) pool.push_back({group1[static_cast<std::size_t>(j)], 1, j + 1});
  for (int j = 0; j < n2; ++j) pool.push_back({group2[static_cast<std::size_t>(j)], 2, j + 1});
  std::sort(pool.begin(), pool.end(), [](const PooledValue& a, const PooledValue& b) { return a.value < b.value; });

  // Mid-ranks; the tie sum is a whole number summed exactly in extended precision, so it holds
  // any N up to the capacity (1000^3 - 1000 at most) without overflow.
  CheckedArray2<float> ranks(1, 2, 1, cross_over_test_capacity);
  CrossOverU r;
  r.ties = rank_pool(pool, &ranks);
  real r1 = 0, r2 = 0;
  for (int j = 1; j <= n1; ++j) r1 += ranks(1, j);
  for (int j = 1; j <= n2; ++j) r2 += ranks(2, j);

  const real m = n1, n = n2, total = m + n, prod = m * n;
  r.u1 = to_float(prod + m * (m + 1) / 2 - to_float(r1));
  r.u2 = to_float(prod + n * (n + 1) / 2 - to_float(r2));
  r.u = std::min(r.u1, r.u2);
  r.p_exact = exact_p(r, n1, n2);

  // Normal approximation with the tie correction, no continuity correction.
  const real variance = prod / (total * (total - 1)) * ((total * total * total - total) / 12 - r.ties / 12);
  const real sigma = variance > 0 ? std::sqrt(variance) : 0.0L;
  r.z = sigma != 0 ? to_float(std::fabs(r.u - prod / 2) / sigma) : 0.0f;
  // 2 (1 - Phi(|Z|)), the upper tail taken directly so that small p keep their digits.
  r.p_approx = to_float(2.0L * FNGaussUpper(std::fabs(r.z)));
  return r;
}

CrossOver cross_over(const CrossOverGroup& first, const CrossOverGroup& second) {
  CrossOver result;
  result.group1 = first.number;
  result.group2 = second.number;
  result.n1 = first.size();
  result.n2 = second.size();

  // The values of one analysis per unit, stored as the single-precision work list holds them.
  const auto values = [](const CrossOverGroup& g, CrossOverAnalysis analysis) {
    std::vector<float> v;
    v.reserve(g.period1.size());
    for (std::size_t i = 0; i < g.period1.size(); ++i) {
      const real x1 = g.period1[i], x2 = g.period2.at(i);
      v.push_back(analysis == carry_over          ? to_float(x1 + x2)
                  : analysis == treatment_effects ? to_float(x1 - x2)
                                                  : g.period1[i]);
    }
    return v;
  };
  for (const CrossOverAnalysis a : {carry_over, treatment_effects, first_period})
    result.tests[a] = cross_over_u(values(first, a), values(second, a));
  return result;
}

std::vector<PValue> CrossOver::p_values() const {
  constexpr std::string_view names[] = {"carry-over", "treatment", "period 1"};
  std::vector<PValue> p;
  for (const CrossOverAnalysis a : {carry_over, treatment_effects, first_period}) {
    if (tests[a].exact()) p.push_back({names[a], tests[a].p_exact, Obtained::exact});
    p.push_back({names[a], tests[a].p_approx, Obtained::approximate});
  }
  return p;
}

void write_cross_over(ReportFile& rep, const CrossOver& result) {
  rep.line();
  rep.picture("Stichprobenumfänge:      n1 =####", static_cast<float>(result.n1));
  rep.end_line();
  rep.picture("                         n2 =####", static_cast<float>(result.n2));
  rep.end_line();
  rep.line();

  static constexpr std::array<const char*, 3> u_pictures = {"Nacheffekte:   Wilcoxon's U =########.# ",
                                                            "Haupteffekte:  Wilcoxon's U =########.# ",
                                                            "Erste Periode: Wilcoxon's U =########.# "};
  for (const CrossOverAnalysis a : {carry_over, treatment_effects, first_period}) {
    const CrossOverU& t = result.tests[a];
    rep.picture(u_pictures[a], t.u);
    if (t.exact())
      rep.picture("( p =##.###### : exakter Test )", t.p_exact);
    else
      rep.picture("( p =##.###### : approximativ )", t.p_approx);
    rep.end_line();
    rep.write("               Gauss'     Z =");
    rep.picture("#####.####", t.z);
    rep.picture(" ( p =##.######", t.p_approx);
    rep.line(" : approximativ )");
    rep.line();
  }

  rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Grizzle, J.E.: The two-period change-over design and its use in clinical trials.");
  rep.line("   Biometrics 21 (1965), 467-480.");
  rep.line("Koch, G.G.: The use of non-parametric methods in the statistical analysis of the");
  rep.line("   two-period change-over design. Biometrics 28 (1972), 577-584.");
  rep.line("Jones, B., Kenward, M.G.: Design and Analysis of Cross-Over Trials. Chapman & Hall/CRC 2003.");
}

}  // namespace veltrum
