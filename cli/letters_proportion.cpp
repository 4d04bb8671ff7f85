// Letters A, G and B: frequencies and proportions typed into the dialog.
#include <memory>

#include "VELTRUM_R.h"
#include "letters.hpp"

namespace veltrum::cli {

namespace {

constexpr const char* list_rule =
    "LIST: values separated by commas (30,20,10); when a value has a decimal comma, separate the "
    "values by semicolons instead (\"0,5;0,3;0,2\")";

// The values of a LIST: split at ";" when the list has one, else at ",".  An empty LIST has no
// values; an empty value inside a LIST cannot be meant and is refused.
std::vector<std::string> list_values(const std::string& list, const std::string& option) {
  std::vector<std::string> values;
  if (list.empty()) return values;
  const char separator = list.find(';') != std::string::npos ? ';' : ',';
  std::size_t from = 0;
  for (;;) {
    const std::size_t to = list.find(separator, from);
    values.push_back(list.substr(from, to == std::string::npos ? std::string::npos : to - from));
    if (values.back().empty()) throw CLI::ValidationError(option, "empty value in the list \"" + list + "\"");
    if (to == std::string::npos) break;
    from = to + 1;
  }
  return values;
}

}  // namespace

LetterCommand add_goodness_of_fit(CLI::App& app) {
  struct Values {
    std::string freq, prob;
  };
  auto values = std::make_shared<Values>();
  LetterCommand c;
  c.letter = "A";
  c.command = app.add_subcommand(
      "A", "Anpassungstest: chi-square goodness of fit of observed frequencies to given probabilities");
  c.command->footer(list_rule);
  c.command->add_option("--freq", values->freq, "Observed absolute frequencies, one per category")->type_name("LIST");
  c.command->add_option("--prob", values->prob, "Probabilities of the categories under the hypothesis")
      ->type_name("LIST");
  c.actions = [=](const CommonOptions&) {
    const auto freq = list_values(values->freq, "--freq");
    const auto prob = list_values(values->prob, "--prob");
    if (freq.size() != prob.size())
      throw CLI::ValidationError("--freq and --prob", "need the same number of values (" + std::to_string(freq.size()) +
                                                          " and " + std::to_string(prob.size()) + ")");
    // One category per Enter, then Enter on empty fields ends the entry.
    std::deque<script::Action> actions;
    for (std::size_t i = 0; i < freq.size(); ++i) {
      actions.push_back(type_action(IDC_FIT_FREQUENCY, freq[i]));
      actions.push_back(type_action(IDC_FIT_PROBABILITY, prob[i]));
      actions.push_back(key_action(script::Verb::enter));
    }
    actions.push_back(type_action(IDC_FIT_FREQUENCY, ""));
    actions.push_back(type_action(IDC_FIT_PROBABILITY, ""));
    actions.push_back(key_action(script::Verb::enter));
    return actions;
  };
  return c;
}

LetterCommand add_uniform_distribution(CLI::App& app) {
  auto freq = std::make_shared<std::string>();
  LetterCommand c;
  c.letter = "G";
  c.command = app.add_subcommand("G", "Test auf Gleichverteilung: chi-square test of equal expected frequencies");
  c.command->footer(list_rule);
  c.command->add_option("--freq", *freq, "Observed absolute frequencies, one per category")->type_name("LIST");
  c.actions = [=](const CommonOptions&) {
    std::deque<script::Action> actions;
    for (const auto& f : list_values(*freq, "--freq")) {
      actions.push_back(type_action(IDC_FIT_FREQUENCY, f));
      actions.push_back(key_action(script::Verb::enter));
    }
    actions.push_back(type_action(IDC_FIT_FREQUENCY, ""));
    actions.push_back(key_action(script::Verb::enter));
    return actions;
  };
  return c;
}

LetterCommand add_binomial(CLI::App& app) {
  struct Values {
    std::string keyword, n, k, theta;
  };
  auto values = std::make_shared<Values>();
  LetterCommand c;
  c.letter = "B";
  c.command = app.add_subcommand(
      "B", "Binominal-Verteilung: exact binomial test of a hypothetical theta, confidence intervals for theta");
  auto* kw = c.command->add_option("--keyword", values->keyword, "Keyword (\"Stichwort\")")->type_name("TEXT");
  auto* n = c.command->add_option("--n", values->n, "Number of trials n, typed as given (12,0 reads as 12)")
                ->type_name("TEXT");
  auto* k = c.command->add_option("--k", values->k, "Number of successes k, typed as given")->type_name("TEXT");
  auto* theta =
      c.command
          ->add_option("--theta", values->theta, "Hypothetical theta, typed as given (a decimal point: 0,5 reads as 0)")
          ->type_name("TEXT");
  c.actions = [=](const CommonOptions&) {
    std::deque<script::Action> actions;
    if (*kw) actions.push_back(type_action(IDC_BINOM_KEYWORD, values->keyword));
    if (*n) actions.push_back(type_action(IDC_BINOM_N, values->n));
    if (*k) actions.push_back(type_action(IDC_BINOM_K, values->k));
    if (*theta) actions.push_back(type_action(IDC_BINOM_THETA, values->theta));
    actions.push_back(key_action(script::Verb::enter));
    return actions;
  };
  return c;
}

}  // namespace veltrum::cli
