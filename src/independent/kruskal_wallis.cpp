#include "independent/kruskal_wallis.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "frame/distribution.hpp"
#include "frame/report.hpp"

namespace veltrum {

SeriesPhi::SeriesPhi() : root2_(std::sqrt(2.0L)) {
  const real pi = 4 * std::atan(1.0L);
  for (std::size_t n = 0; n < coefficient_.size(); ++n) {
    const real a = static_cast<real>(n) + 0.5L;
    coefficient_[n] = std::exp(-a * a / 9) / (a * pi);
  }
}

real SeriesPhi::operator()(real z) const {
  if (z >= 7) return 1;
  // sin((n + 1/2) t) and cos((n + 1/2) t) for n = 0, 1, ...: start at the half angle and turn by
  // t each step, with sin t and cos t from the half angle.
  const real half = root2_ * z / 6;
  real sh, ch;
#ifdef __EMSCRIPTEN__
  // musl's sincosl is its sinl and cosl with the argument reduced once for both (the same values:
  // for tiny angles, below 2^-56, both give the angle and 1); long double is software arithmetic
  // there, and the reduction counts.
  sincosl(half, &sh, &ch);
#else
  sh = std::sin(half), ch = std::cos(half);
#endif
  const real st = 2 * sh * ch, ct = (ch - sh) * (ch + sh);
  real s = sh, c = ch, sum = 0;
  for (const real k : coefficient_) {
    sum += k * s;
    const real next = s * ct + c * st;
    c = c * ct - s * st;
    s = next;
  }
  return 0.5L + sum;
}

void order_by_abs_z(std::vector<Comparison>& rows) {
  std::reverse(rows.begin(), rows.end());
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Comparison& a, const Comparison& b) { return std::fabs(a.z) > std::fabs(b.z); });
}

std::vector<std::string> location_sketch(const std::vector<GroupSummary>& summary) {
  std::vector<std::string> lines;
  if (summary.empty()) return lines;
  float lo = summary.front().minimum, hi = summary.front().maximum;
  for (const auto& g : summary) lo = std::min(lo, g.minimum), hi = std::max(hi, g.maximum);
  const real range = static_cast<real>(hi) - lo;
  if (!(range > 0)) return lines;
  const auto column = [&](float x) {
    return static_cast<int>(int_floor((static_cast<real>(x) - lo) * 70 / range + 0.5L)) + 1;
  };
  for (const auto& g : summary) {
    const int a = column(g.minimum), b = column(g.maximum), m = column(g.median);
    const char mark = g.number >= 0 && g.number < 10 ? static_cast<char>('0' + g.number) : '0';
    std::string line(static_cast<std::size_t>(a - 1), ' ');
    for (int c = a; c <= b; ++c) line += c == m ? mark : '-';
    lines.push_back(line);
  }
  return lines;
}

KruskalWallis kruskal_wallis(const SampleTable& table, const Ranking& ranking) {
  KruskalWallis r;
  r.k = table.groups();
  r.total = ranking.total;
  const real n = ranking.total;
  const real mean_rank = (n + 1) / 2;

  // H = 12/(N(N+1)) sum R(i)^2/n(i) - 3(N+1), written as the weighted sum of squared deviations of
  // the mean ranks from (N+1)/2, which is the same number without the cancellation.
  real spread = 0;
  for (int i = 1; i <= r.k; ++i) {
    const real dev = static_cast<real>(ranking.rank_sum[i]) / table.n[i] - mean_rank;
    spread += table.n[i] * dev * dev;
  }
  real h = 12 / (n * (n + 1)) * spread;
  const real tied_share = ranking.ties / (n * n * n - n);
  r.all_tied = tied_share == 1;
  h = r.all_tied ? 0 : h / (1 - tied_share);
  r.h = to_float(h);
  r.p = FNChiUpper(r.k - 1, r.h);
  const std::vector<SortedGroup> sorted = sort_groups(table);
  r.summary = summarise_groups(table, ranking, sorted);

  // Dunn: mean-rank differences from the ranking of all groups; each pair's variance with the
  // ties of that pair only (none at all when the pooled data have none).
  const real base = n * (n + 1) / 12;
  const bool tied = ranking.ties != 0;
  std::optional<PairTieSums> pair_tie_sums;
  if (tied) pair_tie_sums.emplace(table);
  const SeriesPhi phi;
  // Per group once rather than per pair: the mean rank R(i)/n(i) and 1/n(i).
  std::vector<real> mean(static_cast<std::size_t>(r.k) + 1), reciprocal(static_cast<std::size_t>(r.k) + 1);
  for (int i = 1; i <= r.k; ++i) {
    const real ni = table.n[i];
    mean[static_cast<std::size_t>(i)] = static_cast<real>(ranking.rank_sum[i]) / ni;
    reciprocal[static_cast<std::size_t>(i)] = 1 / ni;
  }
  const real tie_scale = 12 * (n - 1);
  r.comparisons.reserve(static_cast<std::size_t>(r.k) * static_cast<std::size_t>(std::max(r.k - 1, 0)) / 2);
  for (int i = 1; i <= r.k; ++i) {
    for (int j = i + 1; j <= r.k; ++j) {
      const real pair_ties = tied ? static_cast<real>((*pair_tie_sums)(i, j)) : 0.0L;
      const auto a = static_cast<std::size_t>(i), b = static_cast<std::size_t>(j);
      const real d = mean[a] - mean[b];
      const real v = (reciprocal[a] + reciprocal[b]) * (base - pair_ties / tie_scale);
      Comparison c;
      c.first = i;
      c.second = j;
      c.first_number = table.group_number[i];
      c.second_number = table.group_number[j];
      c.z = v > 0 ? to_float(d / std::sqrt(v)) : 0.0f;
      c.p = to_float(2 * (1 - phi(std::fabs(c.z))));
      r.comparisons.push_back(c);
    }
  }
  order_by_abs_z(r.comparisons);
  const auto rows = static_cast<real>(r.comparisons.size());
  real largest = 0;
  for (std::size_t row = 0; row < r.comparisons.size(); ++row) {
    Comparison& c = r.comparisons[row];
    c.p_holm = to_float(std::min(1.0L, c.p * (rows - static_cast<real>(row))));
    largest = std::max<real>(largest, c.p_holm);
    c.p_holm_max = to_float(largest);
    const real na = table.n[c.first], nb = table.n[c.second];
    const real d = mean[static_cast<std::size_t>(c.first)] - mean[static_cast<std::size_t>(c.second)];
    c.chi = to_float(d * d / (base * (na + nb) / (na * nb)));
    c.p_nemenyi = FNChiUpper(r.k - 1, c.chi);
  }
  r.used = table.used;
  return r;
}

std::vector<PValue> KruskalWallis::p_values() const { return {{"H", p, Obtained::approximate}}; }

void write_kruskal_wallis(ReportFile& rep, const KruskalWallis& r) {
  rep.line("Prüfgröße für den Globaltest:");
  rep.line();
  rep.multi_field("H =####.#### : Chi²-verteilt mit df =## ( p =##.###### )", {r.h, static_cast<float>(r.k - 1), r.p});
  rep.line();
  rep.line();
  write_group_summary(rep, r.summary);
  rep.line();
  rep.line();
  if (!r.all_tied) {
    rep.write("Lageskizze der");
    rep.plain(static_cast<float>(r.k));
    rep.line("Gruppen (Extrema und Median=Zahl):");
    rep.line();
    for (const auto& line : location_sketch(r.summary)) rep.line(line);
    rep.line();
    rep.line();
  }
  rep.line("DUNN-TESTs mit alpha-Korrektur nach HOLM:                        NEMENYI-Tests:");
  rep.line(std::string(61, ' '));
  rep.line("  i   Stichproben       Z    p=P(Z)  p*=p(N-i+1)   max(p*)       Chi² p-NEMENYI");
  rep.line();
  for (std::size_t row = 0; row < r.comparisons.size(); ++row) {
    const Comparison& c = r.comparisons[row];
    const float abs_z = std::fabs(c.z) > 99.999f ? 99.9999f : std::fabs(c.z);
    rep.picture("###", static_cast<float>(row + 1));
    rep.picture(" ###", c.first_number);
    rep.picture(" versus###", c.second_number);
    rep.multi_field(" ###.### ##.######    ##.###### ##.###### #######.## ##.######",
                    {abs_z, c.p, c.p_holm, c.p_holm_max, c.chi, c.p_nemenyi});
  }
  rep.line();
  rep.line("DUNN: Signifikanz am Niveau alpha für alle Vergleiche mit Holm's max(p*)<=alpha");
  rep.line("NEMENYI: Approximative p-Werte für k>3 Gruppen und auch ungleiche Fallzahlen ni");
  rep.line();
  rep.line();
  rep.line("Literatur:");
  rep.line("Kruskal, W.H., Wallis, W.A.: Use of ranks in one-criterion variance analysis.");
  rep.line("   Journal of the American Statistical Association 47 (1952), 583-621.");
  rep.line("Dunn, O.J.: Multiple comparisons using rank sums.");
  rep.line("   Technometrics 6 (1964), 241-252.");
  rep.line("Holm, S.: A simple sequentially rejective multiple test procedure.");
  rep.line("   Scandinavian Journal of Statistics 6 (1979), 65-70.");
  rep.line("Nemenyi, P.: Distribution-free multiple comparisons. Dissertation, Princeton 1963;");
  rep.line("   Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 6. Wiley 1999.");
}

}  // namespace veltrum
