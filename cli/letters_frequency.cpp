// Letters H and M.
#include "VELTRUM_R.h"
#include "letters.hpp"

namespace veltrum::cli {

LetterCommand add_two_frequencies(CLI::App& app) {
  struct Values {
    std::string keyword, n1, n2;
  };
  auto values = std::make_shared<Values>();
  LetterCommand c;
  c.letter = "H";
  c.command = app.add_subcommand(
      "H", "Vergleich von Häufigkeiten: two absolute frequencies, chi-square and exact binomial test");
  auto* kw = c.command->add_option("--keyword", values->keyword, "Keyword (\"Stichwort zum Test\")")->type_name("TEXT");
  auto* n1 = c.command->add_option("--n1", values->n1, "First absolute frequency, typed as given")->type_name("TEXT");
  auto* n2 = c.command->add_option("--n2", values->n2, "Second absolute frequency, typed as given")->type_name("TEXT");
  c.actions = [=](const CommonOptions&) {
    std::deque<script::Action> actions;
    if (*kw) actions.push_back(type_action(IDC_HAUFIG_KEYWORD, values->keyword));
    if (*n1) actions.push_back(type_action(IDC_HAUFIG_N1, values->n1));
    if (*n2) actions.push_back(type_action(IDC_HAUFIG_N2, values->n2));
    actions.push_back(key_action(script::Verb::enter));
    return actions;
  };
  return c;
}

LetterCommand add_information(CLI::App& app) {
  LetterCommand c;
  c.letter = "M";
  c.command = app.add_subcommand("M", "Multiple Vergleiche: information text on multiple comparisons (no options)");
  c.actions = [](const CommonOptions&) { return std::deque<script::Action>{}; };
  return c;
}

}  // namespace veltrum::cli
