#include "paired/wilcoxon_pairs.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "frame/distribution.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "paired/signed_rank_distribution.hpp"

namespace veltrum {

std::int32_t tukey_cut(int level, int n) {
  if (n <= 20) {
    static constexpr std::array<const std::array<std::int16_t, 20>*, 3> tables = {&tukey_k_90, &tukey_k_95,
                                                                                  &tukey_k_99};
    return (*tables.at(static_cast<std::size_t>(level))).at(static_cast<std::size_t>(n - 1));
  }
  const real P = tukey_levels.at(static_cast<std::size_t>(level));
  const real z = FNGaussIn(to_float(1.0L - (1.0L - P) / 2));
  const real m = n;
  return static_cast<std::int32_t>(int_floor(m * (m + 1) / 4 - z * std::sqrt(m * (m + 1) * (2 * m + 1) / 24) + 0.5L));
}

std::vector<float> pair_differences(const PairTable& table) {
  std::vector<float> d(static_cast<std::size_t>(table.n));
  for (int i = 1; i <= table.n; ++i)
    d[static_cast<std::size_t>(i - 1)] = to_float(static_cast<real>(table.x[i]) - table.y[i]);
  return d;
}

std::vector<float> mid_ranks(const std::vector<float>& magnitudes) {
  const std::size_t count = magnitudes.size();
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return magnitudes[a] < magnitudes[b]; });
  std::vector<float> ranks(count);
  // A run of equal values at sorted positions first..last (from 1) shares (first + last) / 2.
  std::size_t first = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const bool run_ends = i + 1 == count || magnitudes[order[i + 1]] != magnitudes[order[i]];
    if (!run_ends) continue;
    const float rank = to_float((static_cast<real>(first + 1) + static_cast<real>(i + 1)) / 2);
    for (std::size_t j = first; j <= i; ++j) ranks[order[j]] = rank;
    first = i + 1;
  }
  return ranks;
}

std::vector<float> walsh_averages(const std::vector<float>& d) {
  const std::size_t n = d.size();
  std::vector<float> w;
  w.reserve(n * (n + 1) / 2);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i; j < n; ++j) w.push_back(to_float((static_cast<real>(d[i]) + d[j]) / 2));
  return w;
}

std::vector<float> order_statistics(std::vector<float>& values, const std::vector<std::int64_t>& ranks) {
  std::vector<float> result;
  auto from = values.begin();
  for (const std::int64_t k : ranks) {
    const auto at = values.begin() + (k - 1);
    if (at >= from) std::nth_element(from, at, values.end());
    result.push_back(*at);
    from = at + 1;
  }
  return result;
}

namespace {

void signed_rank_test(WilcoxonPairs& r, const std::vector<float>& d, const BusySignal& busy) {
  std::vector<float> magnitude;
  std::vector<bool> positive;
  for (const float v : d) {
    if (v == 0) continue;
    magnitude.push_back(std::fabs(v));
    positive.push_back(v > 0);
  }
  r.nonzero = static_cast<int>(magnitude.size());
  r.too_small = r.nonzero < 2;
  if (r.too_small) return;

  const std::vector<float> rank = mid_ranks(magnitude);
  real plus = 0, minus = 0;
  for (std::size_t i = 0; i < rank.size(); ++i) (positive[i] ? plus : minus) += rank[i];
  r.r_plus = to_float(plus);
  r.r_minus = to_float(minus);
  r.r_hat = std::min(r.r_plus, r.r_minus);

  // Normal approximation on n', without continuity or tie correction.
  const real m = r.nonzero;
  r.z = to_float(std::fabs(r.r_hat - m * (m + 1) / 4) / std::sqrt(m * (m + 1) * (2 * m + 1) / 24));
  r.p_approx = to_float(2.0L * FNGaussUpper(r.z));

  r.exact = r.nonzero <= fidis_max_n;
  if (!r.exact) return;
  r.t = to_int16(int_floor(r.r_hat + 0.5L));
  const SignedRankTail tail = FIDIS(static_cast<std::int16_t>(r.nonzero), r.t, busy);
  r.p_exact = tail.p2;
  r.fidis_refused = !tail.in_range();
}

void estimate_and_intervals(WilcoxonPairs& r, const std::vector<float>& d, const BusySignal& busy_signal) {
  r.estimated = r.n <= walsh_limit;
  if (!r.estimated) return;
  BusyScope busy(busy_signal);
  std::vector<float> w = walsh_averages(d);
  const auto M = static_cast<std::int64_t>(w.size());
  // Only a few of the sorted averages W(1..M) are needed: the middle one or two for the
  // estimate, W(k + 1) and W(M - k) for each interval.  They are selected, not sorted.
  std::vector<std::int64_t> ranks = {M / 2, M / 2 + 1, (M + 1) / 2};
  std::vector<std::int64_t> cuts;
  for (int level = 0; level < static_cast<int>(tukey_levels.size()); ++level) {
    cuts.push_back(tukey_cut(level, r.n));
    if (cuts.back() > -1) ranks.push_back(cuts.back() + 1), ranks.push_back(M - cuts.back());
  }
  std::erase_if(ranks, [&](std::int64_t k) { return k < 1 || k > M; });
  std::sort(ranks.begin(), ranks.end());
  ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
  const std::vector<float> selected = order_statistics(w, ranks);
  // W(k), k one of `ranks`.
  const auto W = [&](std::int64_t k) {
    return selected.at(static_cast<std::size_t>(std::lower_bound(ranks.begin(), ranks.end(), k) - ranks.begin()));
  };
  r.hodges_lehmann = M % 2 == 0 ? to_float((static_cast<real>(W(M / 2)) + W(M / 2 + 1)) / 2) : W((M + 1) / 2);
  for (std::size_t level = 0; level < cuts.size(); ++level) {
    const std::int64_t k = cuts[level];
    if (k > -1) r.intervals.push_back({tukey_levels[level], W(k + 1), W(M - k)});
  }
}

}  // namespace

WilcoxonPairs wilcoxon_pairs(const PairTable& table, const BusySignal& busy) {
  WilcoxonPairs r;
  r.n = table.n;
  r.used = table.used;
  const std::vector<float> d = pair_differences(table);
  signed_rank_test(r, d, busy);
  if (r.too_small) return r;
  estimate_and_intervals(r, d, busy);
  return r;
}

std::vector<PValue> WilcoxonPairs::p_values() const {
  std::vector<PValue> p;
  if (exact) p.push_back({"R", p_exact, Obtained::exact});
  p.push_back({"Z", p_approx, Obtained::approximate});
  return p;
}

std::string too_few_pairs_message(const WilcoxonPairs& r) {
  return "Der Stichprobenumfang n =" + number_text(static_cast<float>(r.n)) + " ist zu klein oder es\r\r" +
         "liegen zuviele Paare (n' =" + number_text(static_cast<float>(r.n - r.nonzero)) + ") mit gleichen Werten vor!";
}

void write_wilcoxon_pairs(ReportFile& rep, const WilcoxonPairs& r) {
  rep.line();
  rep.write("Stichprobenumfang: n  =");
  rep.plain(static_cast<float>(r.n));
  rep.end_line();
  rep.write("Ungleiche Paare:   n' =");
  rep.plain(static_cast<float>(r.nonzero));
  rep.end_line();
  rep.line();
  rep.write("Prüfgröße R^ =");
  rep.picture("  #####.##", r.r_hat);
  if (r.exact)
    rep.picture(" ( p =##.###### exakter Test )", r.p_exact);
  else
    rep.picture(" ( p =##.###### approximativ )", r.p_approx);
  rep.end_line();
  rep.picture("Prüfgröße Z  = ####.####", r.z);
  rep.picture(" ( p =##.###### approximativ )", r.p_approx);
  rep.end_line();
  if (!r.estimated) {
    rep.line();
    rep.line("Konfidenzintervalle werden nur bis n<=500 berechnet.");
  } else {
    rep.line();
    rep.write("Hodges-Lehmann-Schätzer =");
    rep.adaptive(r.hodges_lehmann);
    rep.end_line();
    rep.line();
    rep.line("Tukey-Konfidenzintervalle:");
    rep.line();
    for (const TukeyInterval& i : r.intervals) {
      rep.picture("P =##.####", i.level);
      rep.write(":  (");
      rep.adaptive(i.lower);
      rep.write(" ,");
      rep.adaptive(i.upper);
      rep.line(" )");
    }
    if (r.intervals.empty()) rep.line("Keine Intervalle berechenbar!");
  }
  rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 3. Wiley, New York 1999.");
  rep.line("Lehmann, E.L.: Nonparametrics: Statistical Methods Based on Ranks. Holden-Day, San Francisco 1975.");
}

}  // namespace veltrum
