#include "json/run_document.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "blocked/cochran.hpp"
#include "blocked/friedman.hpp"
#include "crossover/cross_over.hpp"
#include "frame/numbers.hpp"
#include "frequency/binomial.hpp"
#include "frequency/goodness_of_fit.hpp"
#include "frequency/information.hpp"
#include "frequency/two_frequencies.hpp"
#include "headless/codepage.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/kruskal_wallis.hpp"
#include "independent/mann_whitney.hpp"
#include "independent/mantel_haenszel.hpp"
#include "independent/median_test.hpp"
#include "json/effect_sizes.hpp"
#include "json/number_text.hpp"
#include "json/rows_text.hpp"
#include "paired/sign_test.hpp"
#include "paired/wilcoxon_pairs.hpp"

namespace veltrum::json {

using json = nlohmann::ordered_json;

namespace {

// A stored float as the shortest decimal that reads back to it.  Not a number: null.
json number(float x) {
  const auto value = shortest(x);
  return value ? json(*value) : json(nullptr);
}
json number(double x) { return std::isfinite(x) ? json(x) : json(nullptr); }
json number(long double x) { return number(static_cast<double>(x)); }
json whole(float x) { return std::isfinite(x) ? json(static_cast<std::int64_t>(x)) : json(nullptr); }

std::string utf8(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

// A text meant as UTF-8 (from the command line: a file name, a typed value) with each byte that is
// not UTF-8 replaced by U+FFFD, so that the document can always be written.
std::string valid_utf8(std::string_view text) {
  const std::string quoted = json(text).dump(-1, ' ', false, json::error_handler_t::replace);
  return json::parse(quoted).get<std::string>();
}

// An empty array with room for `items` (one allocation for rows built in bulk).
json array_with(std::size_t items) {
  json a = json::array();
  a.get_ref<json::array_t&>().reserve(items);
  return a;
}

json exact_p(float p, Sides sides = Sides::two) { return p_value({"", p, Obtained::exact, sides}); }
json approximate_p(float p, Sides sides = Sides::two) { return p_value({"", p, Obtained::approximate, sides}); }

json interval(float level, std::string_view method, float lower, float upper) {
  return {{"level", number(level)}, {"method", method}, {"lower", number(lower)}, {"upper", number(upper)}};
}

json effect(std::string_view name, double value, const std::optional<EffectInterval>& ci = std::nullopt) {
  json e = {{"name", name}, {"value", number(value)}, {"ci", nullptr}};
  if (ci)
    e["ci"] = {
        {"level", ci->level}, {"method", "fisher_z"}, {"lower", number(ci->lower)}, {"upper", number(ci->upper)}};
  return e;
}
json effect(std::string_view name, const EffectSize& size) { return effect(name, size.value, size.ci); }

json variable(const VariableUsed& v) { return {{"column", v.column}, {"name", utf8(v.name)}}; }

json input_of(const DataUsed& used, std::string_view data_file) {
  json in = {{"data_file", valid_utf8(data_file)},
             {"variables", json::array()},
             {"group_variable", nullptr},
             {"groups", json::array()}};
  for (const auto& v : used.variables) in["variables"].push_back(variable(v));
  if (used.group_variable.column > 0) in["group_variable"] = variable(used.group_variable);
  long total = 0;
  for (const auto& g : used.groups) {
    in["groups"].push_back({{"number", g.number}, {"n", g.n}});
    total += g.n;
  }
  in["n"] = used.groups.empty() ? json(nullptr) : json(total);
  return in;
}

json typed_input() {
  return {{"data_file", nullptr},
          {"variables", json::array()},
          {"group_variable", nullptr},
          {"groups", json::array()},
          {"n", nullptr}};
}

json group_summary(const std::vector<GroupSummary>& summary) {
  json rows = json::array();
  for (const auto& g : summary)
    rows.push_back({{"group", g.number},
                    {"n", whole(g.n)},
                    {"median", number(g.median)},
                    {"minimum", number(g.minimum)},
                    {"maximum", number(g.maximum)},
                    {"rank_sum", number(g.rank_sum)},
                    {"mean_rank", number(g.normed)}});
  return rows;
}

// The effect sizes of a U test of a first group of n1 values against a second of n2.
void u_effects(json& list, float u1, float n1, float n2, float z, std::string_view analysis = {}) {
  if (n1 <= 0 || n2 <= 0) return;
  json sizes = {effect("rank_biserial", rank_biserial(u1, n1, n2)),
                effect("vargha_delaney_a", vargha_delaney_a(u1, n1, n2)), effect("r_z", r_z(z, u1, n1, n2))};
  for (auto& e : sizes) {
    if (!analysis.empty()) e["analysis"] = analysis;
    list.push_back(std::move(e));
  }
}

Described u_test(const UTest& r) {
  Described d;
  json& o = d.results;
  o["group1"] = r.group1, o["group2"] = r.group2;
  o["n1"] = whole(r.n1), o["n2"] = whole(r.n2);
  o["u1"] = number(r.u1), o["u2"] = number(r.u2), o["u"] = number(r.u);
  o["variance"] = number(r.variance);
  o["p_u"] = r.exact ? exact_p(r.p_exact) : approximate_p(r.p_approx);
  o["u_rounded"] = r.exact && r.u != std::floor(r.u) ? json(r.u_rounded) : json(nullptr);
  o["p_u_interpolated"] = r.interpolated ? exact_p(r.p_interpolated) : json(nullptr);
  o["z"] = number(r.z);
  o["p_z"] = approximate_p(r.p_approx);
  o["mann_whitney_estimate"] = number(r.estimate);
  o["mann_whitney_variance"] = number(r.estimate_variance);
  o["mann_whitney_intervals"] = json::array();
  if (r.estimate_intervals)
    for (const auto& i : r.estimate_limits)
      o["mann_whitney_intervals"].push_back(
          interval(i.level, r.simple_variance ? "conservative_normal" : "asymptotic_normal", i.lower, i.upper));
  o["hodges_lehmann"] = r.hodges_lehmann ? number(r.shift) : json(nullptr);
  o["moses_intervals"] = json::array();
  for (const auto& i : r.moses) o["moses_intervals"].push_back(interval(i.level, "moses", i.lower, i.upper));
  o["moses_approximate"] = r.moses_note;
  o["groups"] = group_summary(r.summary);
  u_effects(d.effect_sizes, r.u1, r.n1, r.n2, r.z);
  return d;
}

Described kruskal_wallis(const KruskalWallis& r) {
  Described d;
  json& o = d.results;
  o["k"] = r.k, o["n"] = r.total;
  o["h"] = number(r.h), o["df"] = r.k - 1;
  o["p_h"] = approximate_p(r.p);
  o["all_tied"] = r.all_tied;
  o["groups"] = group_summary(r.summary);
  // The rows are written with the document, from a copy of the comparisons (the result value
  // lives only for this call).
  d.comparisons = [comparisons = r.comparisons](RowsText& rows) {
    int row = 0;
    const auto approximate = [](float p) { return PValue{"", p, Obtained::approximate, Sides::two}; };
    for (const auto& c : comparisons) {
      rows.begin_row();
      rows.add("row", ++row);
      rows.add("first_group", c.first_number);
      rows.add("second_group", c.second_number);
      rows.add("z", c.z);
      rows.add("p", approximate(c.p));
      rows.add("p_holm", approximate(c.p_holm));
      rows.add("p_holm_max", approximate(c.p_holm_max));
      rows.add("chi_square", c.chi);
      rows.add("p_nemenyi", approximate(c.p_nemenyi));
      rows.end_row();
    }
  };
  d.effect_sizes.push_back(effect("epsilon_squared", epsilon_squared(r.h, r.total)));
  d.effect_sizes.push_back(effect("eta_squared_h", eta_squared_h(r.h, r.k, r.total)));
  return d;
}

Described mantel_haenszel(const MantelHaenszel& r) {
  Described d;
  json& o = d.results;
  o["scores"] = json::array();
  for (const float s : r.scores) o["scores"].push_back(number(s));
  o["counts"] = r.counts;
  o["row_totals"] = r.row_totals, o["column_totals"] = r.column_totals, o["n"] = r.total;
  o["single_score"] = r.single_score;
  o["chi_square"] = number(r.chi2), o["df"] = r.df, o["p_chi_square"] = approximate_p(r.p);
  return d;
}

Described median_test(const MedianTest& r) {
  Described d;
  json& o = d.results;
  o["median"] = number(r.median);
  o["below"] = r.below, o["at_or_above"] = r.at_or_above;
  o["row_totals"] = {r.row_total(0), r.row_total(1)};
  o["below_total"] = r.below_total(), o["at_or_above_total"] = r.at_or_above_total(), o["n"] = r.total;
  o["warning"] = r.warning;
  o["chi_square"] = r.chi_square_defined ? number(r.chi_square) : json(nullptr);
  o["p_chi_square"] = r.chi_square_defined ? approximate_p(r.p_chi_square) : json(nullptr);
  const bool fisher = r.fisher.two_sided >= 0;
  o["p_fisher_one_sided"] = fisher ? exact_p(r.fisher.one_sided, Sides::one) : json(nullptr);
  o["p_fisher_two_sided"] = fisher ? exact_p(r.fisher.two_sided) : json(nullptr);
  if (const auto value = phi(r.below[0], r.at_or_above[0], r.below[1], r.at_or_above[1]))
    d.effect_sizes.push_back(effect("phi", *value));
  return d;
}

Described kolmogorov_smirnov(const KolmogorovSmirnov& r) {
  Described d;
  json& o = d.results;
  o["n1"] = r.n1, o["n2"] = r.n2;
  o["low"] = number(r.low), o["high"] = number(r.high), o["class_width"] = number(r.width);
  o["d"] = number(r.d);
  o["effective_n"] = r.effective;
  o["critical_values"] = r.table == KsCriticalValues::exact       ? "exact"
                         : r.table == KsCriticalValues::effective ? "effective"
                                                                  : "asymptotic";
  o["p_d"] = p_value(r.p_values().front());
  return d;
}

Described wilcoxon_pairs(const WilcoxonPairs& r) {
  Described d;
  json& o = d.results;
  o["n"] = r.n, o["nonzero"] = r.nonzero;
  o["r_plus"] = number(r.r_plus), o["r_minus"] = number(r.r_minus), o["r_hat"] = number(r.r_hat);
  o["p_r_hat"] = r.exact ? exact_p(r.p_exact) : approximate_p(r.p_approx);
  o["z"] = number(r.z);
  o["p_z"] = approximate_p(r.p_approx);
  o["hodges_lehmann"] = r.estimated ? number(r.hodges_lehmann) : json(nullptr);
  o["tukey_intervals"] = json::array();
  for (const auto& i : r.intervals) o["tukey_intervals"].push_back(interval(i.level, "tukey", i.lower, i.upper));
  if (const auto size = matched_rank_biserial(r.r_plus, r.r_minus, r.nonzero))
    d.effect_sizes.push_back(effect("matched_rank_biserial", *size));
  return d;
}

Described sign_test(const SignTest& r) {
  Described d;
  json& o = d.results;
  o["minus"] = whole(r.minus), o["zero"] = whole(r.zero), o["plus"] = whole(r.plus);
  o["signed_pairs"] = whole(r.signed_pairs), o["k"] = whole(r.k);
  o["p_one_sided"] = exact_p(r.p1, Sides::one), o["p_two_sided"] = exact_p(r.p2);
  if (const auto g = cohens_g(r.plus, r.minus)) d.effect_sizes.push_back(effect("cohens_g", *g));
  return d;
}

Described friedman(const Friedman& r) {
  Described d;
  json& o = d.results;
  o["r"] = r.r, o["c"] = r.c;
  o["rank_sums"] = json::array();
  for (const float s : r.rank_sum) o["rank_sums"].push_back(number(s));
  o["ties"] = number(r.ties), o["all_tied"] = r.all_tied;
  o["chi_square"] = number(r.chi), o["df"] = r.df, o["p_chi_square"] = approximate_p(r.p);
  o["f"] = number(r.f), o["df1"] = r.df1, o["df2"] = r.df2, o["p_f"] = approximate_p(r.p_f);
  o["exact_tables_exist"] = r.exact_note;
  o["comparison_method"] = r.schaich_hamerle ? "schaich_hamerle" : "wilcoxon_wilcox";
  o["critical_difference_05"] = r.schaich_hamerle ? json(nullptr) : number(r.d05);
  o["critical_difference_01"] = r.schaich_hamerle ? json(nullptr) : number(r.d01);
  std::vector<std::string> names;  // written once per column
  for (const auto& v : r.used.variables) names.push_back(json(utf8(v.name)).dump());
  d.comparisons = [comparisons = r.comparisons, names = std::move(names), sh = r.schaich_hamerle](RowsText& rows) {
    const auto name = [&](int column) -> std::string_view {
      if (column < 1 || column > static_cast<int>(names.size())) return "null";
      return names[static_cast<std::size_t>(column - 1)];
    };
    for (const auto& c : comparisons) {
      rows.begin_row();
      rows.add("first", c.first);
      rows.add("second", c.second);
      rows.add_text("first_variable", name(c.first));
      rows.add_text("second_variable", name(c.second));
      rows.add("d", c.d);
      if (sh) {
        rows.add("chi_square", c.chi);
        rows.add("p", PValue{"", c.p, Obtained::approximate, Sides::two});
      } else {
        rows.add_null("chi_square");
        rows.add("p", c.p_values(false).front());
      }
      rows.end_row();
    }
  };
  if (r.r > 0 && r.c > 1) d.effect_sizes.push_back(effect("kendalls_w", kendalls_w(r.chi, r.r, r.c)));
  return d;
}

Described cochran(const CochranQ& r) {
  Described d;
  json& o = d.results;
  o["rows"] = r.table.size();
  o["columns"] = r.table.empty() ? 0 : r.table.front().size();
  o["table"] = array_with(r.table.size());
  for (const auto& row : r.table) {
    json cells = array_with(row.size());
    for (const float x : row) cells.push_back(whole(x));
    o["table"].push_back(std::move(cells));
  }
  o["q"] = number(r.q), o["df"] = r.df, o["p_q"] = approximate_p(r.p);
  return d;
}

Described cross_over(const CrossOver& r) {
  Described d;
  json& o = d.results;
  o["group1"] = r.group1, o["group2"] = r.group2, o["n1"] = r.n1, o["n2"] = r.n2;
  constexpr std::string_view names[] = {"carry_over", "treatment_effects", "first_period"};
  o["analyses"] = json::object();
  for (const CrossOverAnalysis a : {carry_over, treatment_effects, first_period}) {
    const CrossOverU& t = r.tests[a];
    o["analyses"][names[a]] = {{"u1", number(t.u1)},
                               {"u2", number(t.u2)},
                               {"u", number(t.u)},
                               {"ties", number(t.ties)},
                               {"p_u", t.exact() ? exact_p(t.p_exact) : approximate_p(t.p_approx)},
                               {"z", number(t.z)},
                               {"p_z", approximate_p(t.p_approx)}};
    u_effects(d.effect_sizes, t.u1, static_cast<float>(r.n1), static_cast<float>(r.n2), t.z, names[a]);
  }
  return d;
}

Described two_frequencies(const TwoFrequencies& r) {
  Described d;
  json& o = d.results;
  o["keyword"] = utf8(r.keyword);
  o["n1"] = r.n1, o["n2"] = r.n2;
  o["chi_square"] = number(r.chi), o["p_chi_square"] = approximate_p(r.p_chi);
  o["p_binomial_one_sided"] = exact_p(r.p_one, Sides::one), o["p_binomial_two_sided"] = exact_p(r.p_two);
  if (const auto g = cohens_g(r.n1, r.n2)) d.effect_sizes.push_back(effect("cohens_g", *g));
  return d;
}

Described goodness_of_fit(const GoodnessOfFit& r) {
  Described d;
  json& o = d.results;
  o["uniform"] = r.uniform;
  o["categories"] = json::array();
  for (const auto& c : r.categories)
    o["categories"].push_back({{"observed", number(c.observed)},
                               {"expected", number(c.expected)},
                               {"relative", number(c.relative)},
                               {"probability", number(c.probability)},
                               {"chi_square", number(c.chi)},
                               {"p", approximate_p(c.p)}});
  o["total"] = number(r.total);
  o["expected_sum"] = number(to_float(static_cast<real>(r.total) * r.probability_sum));
  o["relative_sum"] = 1;
  o["probability_sum"] = number(r.probability_sum);
  o["q"] = number(r.q), o["p_q"] = approximate_p(r.p_listing);
  o["probability_warning"] = r.probability_warning();
  const bool computed = r.computable();
  o["computable"] = computed;
  o["expected_frequency"] =
      computed && r.uniform ? number(to_float(static_cast<real>(r.total) / (r.df + 1))) : json(nullptr);
  o["chi_square"] = computed ? number(r.chi) : json(nullptr);
  o["df"] = computed ? json(r.df) : json(nullptr);
  o["p_chi_square"] = computed ? approximate_p(r.p) : json(nullptr);
  if (computed)
    if (const auto w = cohens_w(r.chi, r.total)) d.effect_sizes.push_back(effect("cohens_w", *w));
  return d;
}

Described binomial(const BinomialTest& r) {
  Described d;
  json& o = d.results;
  o["keyword"] = utf8(r.keyword);
  o["n"] = r.n, o["k"] = r.k, o["theta0"] = number(r.theta0), o["ratio"] = number(r.ratio);
  o["p_lower"] = exact_p(r.p_low, Sides::one), o["p_upper"] = exact_p(r.p_high, Sides::one);
  o["p_two_sided"] = exact_p(r.p_two);
  o["intervals"] = json::array();
  for (const auto& i : r.intervals) {
    json row = interval(i.level, i.approximate ? "normal" : "clopper_pearson", i.lower, i.upper);
    row["one_sided"] = i.one_sided;
    o["intervals"].push_back(std::move(row));
  }
  return d;
}

}  // namespace

Described describe(const ResultRef& result, std::string_view data_file) {
  Described d;
  const DataUsed* used = nullptr;
  const auto from = [&](auto* r, auto&& make) {
    if (!r) return false;
    d = make(*r);
    if constexpr (requires { r->used; }) used = &r->used;
    return true;
  };
  from(result.get<UTest>(), u_test) || from(result.get<KruskalWallis>(), kruskal_wallis) ||
      from(result.get<MantelHaenszel>(), mantel_haenszel) || from(result.get<MedianTest>(), median_test) ||
      from(result.get<KolmogorovSmirnov>(), kolmogorov_smirnov) || from(result.get<WilcoxonPairs>(), wilcoxon_pairs) ||
      from(result.get<SignTest>(), sign_test) || from(result.get<Friedman>(), friedman) ||
      from(result.get<CochranQ>(), cochran) || from(result.get<CrossOver>(), cross_over) ||
      from(result.get<TwoFrequencies>(), two_frequencies) || from(result.get<GoodnessOfFit>(), goodness_of_fit) ||
      from(result.get<BinomialTest>(), binomial);
  d.input = used ? input_of(*used, data_file) : typed_input();
  return d;
}

void RunDocument::take(const CatalogueEntry&, const ResultRef& result) {
  described_ = describe(result, data_file_);
  have_result_ = true;
}

void RunDocument::message(std::string_view caption, std::string_view text) {
  std::string lines(text);
  for (auto& c : lines)
    if (c == '\r') c = '\n';
  messages_.push_back({{"caption", utf8(caption)}, {"text", utf8(lines)}});
}

void RunDocument::command_line_message(std::string_view text) {
  messages_.push_back({{"caption", "veltrum"}, {"text", valid_utf8(text)}});
}

void RunDocument::label_groups(int column, std::vector<std::string> labels) { labels_[column] = std::move(labels); }

void RunDocument::write(const CatalogueEntry* test, bool ok, const TextOut& out, std::string_view more) {
  const bool written = ok && have_result_;
  json doc = {{"veltrum", VELTRUM_VERSION},
              {"letter", test ? json(std::string(test->letter)) : json(nullptr)},
              {"test", test ? json(utf8(test->title)) : json(nullptr)},
              {"ok", ok}};
  doc["input"] = written ? std::move(described_.input) : typed_input();
  if (!written && test && test->needs_data_file) doc["input"]["data_file"] = valid_utf8(data_file_);
  json& in = doc["input"];
  if (in["group_variable"].is_object()) {
    const auto labels = labels_.find(in["group_variable"]["column"].get<int>());
    if (labels != labels_.end())
      for (json& group : in["groups"]) {
        const int number = group["number"].get<int>();
        if (number >= 1 && number <= static_cast<int>(labels->second.size()))
          group["label"] = labels->second[static_cast<std::size_t>(number - 1)];
      }
  }
  doc["results"] = written ? std::move(described_.results) : json::object();
  doc["effect_sizes"] = written ? std::move(described_.effect_sizes) : json::array();
  doc["messages"] = std::move(messages_);
  messages_ = json::array();
  const auto comparisons = written ? std::move(described_.comparisons) : nullptr;
  described_.comparisons = nullptr;
  have_result_ = false;
  // A text that is no UTF-8 (a file name or a typed value as given) is written with U+FFFD.
  std::string text = "{";
  bool first = true;
  for (const auto& [key, value] : doc.items()) {
    if (!std::exchange(first, false)) text += ',';
    append_text(text, json(key));
    text += ':';
    append_text(text, value);
    if (key != "results" || !comparisons) continue;
    // The comparison rows close the results.
    text.pop_back();
    text += value.empty() ? "\"comparisons\":" : ",\"comparisons\":";
    out(text);
    RowsText rows(out);
    comparisons(rows);
    rows.finish();
    text.assign(1, '}');
  }
  text += more;
  text += "}\n";
  out(text);
}

std::string RunDocument::text(const CatalogueEntry* test, bool ok) {
  std::string text;
  write(test, ok, [&](std::string_view piece) { text += piece; });
  return text;
}

}  // namespace veltrum::json
