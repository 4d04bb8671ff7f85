#include "independent/mann_whitney.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "frame/busy.hpp"
#include "frame/distribution.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"

namespace veltrum {

// ---- Exact null distribution ----------------------------------------------------------------

long exact_table_size(int m, int total) {
  std::int64_t size = 1;
  for (std::int64_t j = 0; j <= m; ++j) {
    size += 1 + j * (total - j);
    if (size > exact_count_limit) return exact_count_limit + 1;  // the caller only compares
  }
  return static_cast<long>(size);
}

ExactTail exact_u_tail(std::int16_t m_in, std::int16_t n_in, std::int16_t u) {
  ExactTail result;
  // U of either sample has the same null distribution; count subsets of the smaller size.
  const int m = std::min(m_in, n_in), n = std::max(m_in, n_in);
  if (m < 0 || u < 0) return result;
  const int total = m + n;
  if (exact_table_size(m, total) > exact_count_limit) return result;

  // Block j holds the counts of the rank sums w = j(j+1)/2 .. j(j+1)/2 + j(N - j) of j ranks out
  // of 1..N; `offset[j]` is where it starts.
  std::vector<std::int64_t> offset(static_cast<std::size_t>(m) + 2);
  for (int j = 0; j <= m; ++j)
    offset[static_cast<std::size_t>(j) + 1] =
        offset[static_cast<std::size_t>(j)] + 1 + static_cast<std::int64_t>(j) * (total - j);
  std::vector<float> count(static_cast<std::size_t>(offset[static_cast<std::size_t>(m) + 1]), 0.0f);
  const auto lowest = [](std::int64_t j) { return j * (j + 1) / 2; };
  const auto at = [&](std::int64_t j, std::int64_t w) -> float& {
    return count[static_cast<std::size_t>(offset[static_cast<std::size_t>(j)] + (w - lowest(j)))];
  };

  // Ranks are added one at a time: count(j, w) over ranks 1..i = count(j, w) over ranks 1..i-1
  // + count(j-1, w-i) over ranks 1..i-1.  Going down in j, block j-1 still holds the counts for
  // ranks 1..i-1 when block j reads it, so one array suffices.
  at(0, 0) = 1;
  for (std::int64_t i = 1; i <= total; ++i) {
    for (std::int64_t j = std::min<std::int64_t>(i, m); j >= 1; --j) {
      // Sums of j-1 ranks out of 1..i-1 run from lowest(j-1) to (j-1)(2i-j)/2.
      const std::int64_t from = lowest(j - 1), to = (j - 1) * (2 * i - j) / 2;
      for (std::int64_t w = to; w >= from; --w) at(j, w + i) += at(j - 1, w);
    }
  }

  // The rank sum of the sample belonging to u, and the tail on the side it lies.
  const std::int64_t low = lowest(m), high = low + static_cast<std::int64_t>(m) * n;
  const std::int64_t w0 = static_cast<std::int64_t>(m) * n + lowest(m) - u;
  real all = 0, upper = 0, f0 = 0;
  for (std::int64_t w = low; w <= high; ++w) {
    const real f = at(m, w);
    all += f;
    if (w >= w0) upper += f;
    if (w == w0) f0 = f;
  }
  const real p1 = upper <= all / 2 ? upper / all : (all - upper + f0) / all;
  result.one_sided = to_float(p1);
  result.two_sided = result.one_sided > 0.5f ? 1.0f : to_float(2.0L * result.one_sided);
  return result;
}

// ---- Estimator variance ------------------------------------------------------------------

namespace {

// For every value of one group, the count of values of the other group above it (or below it),
// and equal to it, compared through the pooled ranks: sum over pairs of that other group's values
// of h h' = ((A + E/2)^2 - (A + E/4)) / 2, where A is the count on the scoring side and E the
// count of ties (h is 1, 1/2 or 0, so h^2 sums to A + E/4).
real pair_sum(const SampleTable& table, int scoring_group, int common_group, bool scoring_above) {
  const int ns = static_cast<int>(table.n[scoring_group]), nc = static_cast<int>(table.n[common_group]);
  std::vector<float> ranks;
  ranks.reserve(static_cast<std::size_t>(ns));
  for (int j = 1; j <= ns; ++j) ranks.push_back(table.rank(scoring_group, j));
  std::sort(ranks.begin(), ranks.end());
  real sum = 0;
  for (int j = 1; j <= nc; ++j) {
    const float r = table.rank(common_group, j);
    const auto [first_equal, past_equal] = std::equal_range(ranks.begin(), ranks.end(), r);
    const real below = static_cast<real>(first_equal - ranks.begin());
    const real equal = static_cast<real>(past_equal - first_equal);
    const real above = static_cast<real>(ranks.end() - past_equal);
    const real scoring = scoring_above ? above : below;
    const real h = scoring + equal / 2, h2 = scoring + equal / 4;
    sum += (h * h - h2) / 2;
  }
  return sum;
}

}  // namespace

PairSums mann_whitney_pair_sums(const SampleTable& table) {
  const real n1 = table.n[1], n2 = table.n[2];
  PairSums s;
  // q1: pairs of group-1 values a, a' against one group-2 value b, h = 1 when b < a.
  s.q1 = pair_sum(table, 1, 2, true) / (n2 * n1 * (n1 - 1) / 2);
  // q2: pairs of group-2 values b, b' against one group-1 value a, h = 1 when b < a.
  s.q2 = pair_sum(table, 2, 1, false) / (n1 * n2 * (n2 - 1) / 2);
  return s;
}

// ---- The test ------------------------------------------------------------------------------

namespace {

real level_quantile(float level) { return FNGaussIn(to_float(1.0L - (1.0L - level) / 2)); }

void exact_p(UTest& r, const BusySignal& busy_signal) {
  const real n1 = r.n1, n2 = r.n2;
  // u is the U of the smaller sample (of group 1 for equal sizes); the pair of whole numbers
  // around it: the conservative one and its neighbour towards the extreme.
  real m = n1, u = r.u, central = 0, extreme = 0;
  if (n1 == n2) {
    central = int_floor(r.u + 0.5L);
    extreme = central - 1;
  } else {
    real other = r.u2;
    u = r.u1;
    if (n2 < n1) m = n2, u = r.u2, other = r.u1;
    if (other > u) {
      central = int_floor(u + 0.5L);
      extreme = central - 1;
    } else {
      central = int_floor(u);
      extreme = central + 1;
    }
  }
  central = std::min(central, 32000.0L);
  extreme = std::min(extreme, 32000.0L);
  const std::int16_t small = to_int16(m), large = to_int16(n1 + n2 - m);

  BusyScope busy(busy_signal);
  const ExactTail at_central = exact_u_tail(small, large, to_int16(central));
  r.exact = at_central.two_sided >= 0;
  r.p_exact = at_central.two_sided;
  r.u_rounded = to_int16(int_floor(r.u + 0.5L));
  if (!r.exact || r.u == std::floor(r.u) || extreme < 0) return;
  const ExactTail at_extreme = exact_u_tail(small, large, to_int16(extreme));
  if (at_extreme.two_sided < 0) return;
  r.interpolated = true;
  r.p_interpolated = to_float((static_cast<real>(at_central.two_sided) + at_extreme.two_sided) / 2);
}

void estimator_intervals(UTest& r, const SampleTable& table, const BusySignal& busy_signal) {
  const real n1 = r.n1, n2 = r.n2, p = r.estimate;
  real variance = 0;
  r.simple_variance = r.n1 > 150 && r.n2 > 150;
  if (r.simple_variance) {
    // Large groups: p(1 - p)/min(n1, n2), an upper bound of the estimator's variance that needs
    // no pair sums (the report calls it the conservative estimate after Clopper-Pearson).
    variance = p * (1 - p) / std::min(n1, n2);
  } else {
    BusyScope busy(busy_signal);
    const PairSums s = mann_whitney_pair_sums(table);
    const real pi = 1 - p;
    variance = (pi - (n1 + n2 - 1) * pi * pi + (n1 - 1) * s.q1 + (n2 - 1) * s.q2) / (n1 * n2);
  }
  r.estimate_variance = to_float(variance);
  r.estimate_intervals = !(r.estimate_variance < 0);
  if (!r.estimate_intervals) return;
  const real sigma = std::sqrt(static_cast<real>(r.estimate_variance));
  for (std::size_t l = 0; l < confidence_levels.size(); ++l) {
    const real z = level_quantile(confidence_levels[l]);
    r.estimate_limits[l] = {confidence_levels[l], to_float(std::max(0.0L, p - z * sigma)),
                            to_float(std::min(1.0L, p + z * sigma))};
  }
}

void hodges_lehmann(UTest& r, const SampleTable& table) {
  const int n1 = static_cast<int>(r.n1), n2 = static_cast<int>(r.n2);
  const std::int64_t count = static_cast<std::int64_t>(n1) * n2;
  r.hodges_lehmann = count <= hodges_lehmann_limit;
  if (!r.hodges_lehmann) return;
  std::vector<float> d;
  d.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= n1; ++i)
    for (int j = 1; j <= n2; ++j) d.push_back(to_float(static_cast<real>(table.x(1, i)) - table.x(2, j)));
  std::sort(d.begin(), d.end());
  // d(k) is the k-th smallest difference, k = 1..M.
  const auto at = [&](std::int64_t k) { return d[static_cast<std::size_t>(k - 1)]; };
  r.shift = count % 2 == 0 ? to_float((static_cast<real>(at(count / 2)) + at(count / 2 + 1)) / 2) : at((count + 1) / 2);
  const real prod = static_cast<real>(count);
  const real spread = std::sqrt(prod * (static_cast<real>(n1) + n2 + 1) / 12);
  for (const float level : confidence_levels) {
    const real h = int_floor(prod / 2 - level_quantile(level) * spread + 0.5L);
    if (h <= 0) continue;
    const auto k = static_cast<std::int64_t>(h);
    r.moses.push_back({level, at(k), at(count + 1 - k)});
  }
  r.moses_note = n1 < 10 && n2 < 10;
}

}  // namespace

UTest u_test(const SampleTable& table, const Ranking& ranking, const BusySignal& busy) {
  UTest r;
  r.group1 = table.group_number[1];
  r.group2 = table.group_number[2];
  r.n1 = table.n[1];
  r.n2 = table.n[2];
  const real n1 = r.n1, n2 = r.n2, total = n1 + n2, prod = n1 * n2;
  r.u1 = to_float(prod + n1 * (n1 + 1) / 2 - ranking.rank_sum[1]);
  r.u2 = to_float(prod + n2 * (n2 + 1) / 2 - ranking.rank_sum[2]);
  r.u = std::min(r.u1, r.u2);

  // Variance of U with ties; no continuity correction.
  const real variance = prod / (total * (total - 1)) * ((total * total * total - total) / 12 - ranking.ties / 12);
  r.variance = to_float(variance);
  r.z = variance != 0 ? to_float(std::fabs(r.u - prod / 2) / std::sqrt(variance)) : 0.0f;
  r.p_approx = to_float(2.0L * FNGaussUpper(std::fabs(r.z)));

  exact_p(r, busy);

  r.estimate = to_float(static_cast<real>(r.u1) / prod);
  estimator_intervals(r, table, busy);
  hodges_lehmann(r, table);
  r.summary = summarise_groups(table, ranking);
  r.used = table.used;
  return r;
}

std::vector<PValue> UTest::p_values() const {
  std::vector<PValue> p;
  if (exact) {
    p.push_back({"U", p_exact, Obtained::exact});
    if (interpolated) p.push_back({"U interpolated", p_interpolated, Obtained::exact});
  }
  p.push_back({"Z", p_approx, Obtained::approximate});
  return p;
}

// ---- Report --------------------------------------------------------------------------------

namespace {

void write_u_lines(ReportFile& rep, const UTest& r) {
  if (!r.exact) {
    rep.multi_field("U =#######.#  ( p = #.###### : approximativ )", {r.u, r.p_approx});
  } else if (r.u == std::floor(r.u)) {
    rep.multi_field("U =#######.#  ( p = #.###### : exakter Test )", {r.u, r.p_exact});
  } else {
    rep.picture("U =#######.#", r.u);
    rep.picture("  ( p = #.###### : exakter Test,", r.p_exact);
    rep.write(" konservativ mit U=");
    rep.write(without_leading_blanks(picture_format("########", report_value(r.u_rounded))));
    rep.line(")");
    if (r.interpolated) {
      rep.picture("U =#######.#", r.u);
      rep.picture("  ( p = #.###### : exakter Test,", r.p_interpolated);
      rep.line(" linear interpoliert)");
    }
  }
  rep.multi_field("Z =####.####  ( p = #.###### : approximativ )", {r.z, r.p_approx});
  rep.line();
  rep.line();
}

void write_interval_line(ReportFile& rep, float level) { rep.picture("P =##.####", level), rep.write(":  ("); }

void write_estimator(ReportFile& rep, const UTest& r) {
  const std::string g1 = number_text_trimmed(r.group1), g2 = number_text_trimmed(r.group2);
  rep.write("Mann-Whitney-Schätzer für p=P(X" + g1 + "<X" + g2 + ") =");
  rep.picture("##.######", r.estimate);
  rep.end_line();
  rep.line();
  rep.line("Asymptotische Konfidenzintervalle zum Mann-Whitney-Schätzer:");
  if (r.simple_variance) rep.line("(Für n1,n2>150: Konservative Schätzung nach Clopper-Pearson)");
  rep.line();
  if (!r.estimate_intervals) {
    rep.line("Konfidenzintervalle nicht berechenbar.");
  } else {
    for (const Interval& i : r.estimate_limits) {
      write_interval_line(rep, i.level);
      rep.picture("####.######", i.lower);
      rep.write(" ,");
      rep.picture("####.######", i.upper);
      rep.line(" )");
    }
  }
  rep.line();
  rep.line();
}

void write_hodges_lehmann(ReportFile& rep, const UTest& r) {
  if (!r.hodges_lehmann) {
    rep.line("Hodges-Lehmann: Konfidenzintervalle werden nur bis n1,n2<=500 berechnet.");
    return;
  }
  const std::string g1 = number_text_trimmed(r.group1), g2 = number_text_trimmed(r.group2);
  rep.write("Hodges-Lehmann-Schätzer für 'X" + g1 + "-X" + g2 + "' = ");
  rep.line(without_leading_blanks(picture_format("############.####", report_value(r.shift))));
  rep.line();
  rep.line("Moses-Konfidenzintervalle zum Hodges-Lehmann-Schätzer:");
  rep.line();
  for (const Interval& i : r.moses) {
    write_interval_line(rep, i.level);
    rep.adaptive(i.lower);
    rep.write(" ,");
    rep.adaptive(i.upper);
    rep.line(" )");
  }
  if (r.moses.empty()) {
    rep.line("Keine Intervalle berechenbar!");
    rep.line();
  }
  if (r.moses_note) {
    rep.line();
    rep.line("Die Konfidenzintervalle gelten für n1>9 und/oder n2>9, sonst näherungsweise.");
  }
}

}  // namespace

void write_u_test(ReportFile& rep, const UTest& r) {
  rep.line("Prüfgrößen:");
  rep.line();
  write_u_lines(rep, r);
  write_estimator(rep, r);
  write_hodges_lehmann(rep, r);
  rep.line();
  rep.line();
  write_group_summary(rep, r.summary);
  rep.line();
  rep.line();
  rep.line("Literatur: Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 4. Wiley, New York 1999.");
  rep.line(
      "           Lehmann, E.L.: Nonparametrics: Statistical Methods Based on Ranks. Holden-Day, San Francisco 1975.");
  rep.line(
      "           Wellek, S.: Testing Statistical Hypotheses of Equivalence. Chapman & Hall/CRC, Boca Raton 2003.");
}

}  // namespace veltrum
