// Letters U and K: groups of one variable of the active data file, chosen in the group dialogs.
#include <cstdint>
#include <memory>

#include "VELTRUM_R.h"
#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "letters.hpp"

namespace veltrum::cli {

namespace {

constexpr const char* group_rules =
    "VAR: a variable's name as the header line of the data file gives it, or its column number (1 for the "
    "first variable); a name is looked for first.\n"
    "LIST: group numbers separated by commas, in the order they are entered";

struct GroupOptions {
  std::string group_variable, target, groups;
  bool list = false;
};

bool whole_number(const std::string& text) {
  return !text.empty() && text.size() <= 4 && text.find_first_not_of("0123456789") == std::string::npos;
}

// The column of VAR: a name from the data file's header line (read as the module reads it), or
// a column number.
int column_of(const std::string& data_file, const std::string& var, const std::string& option) {
  headless::HeadlessHost host;  // its messages are not shown: the test shows them again
  Module module(host);
  module.data_file_name = data_file;
  std::int16_t count = 0;
  read_header(module, count);
  const std::string name = utf8_to_cp1252(var);
  for (int i = 1; i <= count; ++i)
    if (module.data.names[i] == name) return i;
  if (!whole_number(var)) {
    if (count == 0)
      throw CLI::ValidationError(option, "cannot read the variable names of the data file \"" + data_file + "\"");
    throw CLI::ValidationError(option, "the data file has no variable \"" + var + "\"");
  }
  const int column = std::stoi(var);
  if (column < 1 || (count > 0 && column > count))
    throw CLI::ValidationError(
        option, "column " + var + " is not one of the " + std::to_string(count) + " variables of the data file");
  return column;
}

std::vector<std::string> group_list(const std::string& list) {
  std::vector<std::string> values;
  if (list.empty()) return values;
  std::size_t from = 0;
  for (;;) {
    const std::size_t to = list.find(',', from);
    values.push_back(list.substr(from, to == std::string::npos ? std::string::npos : to - from));
    if (values.back().empty()) throw CLI::ValidationError("--groups", "empty value in the list \"" + list + "\"");
    if (to == std::string::npos) break;
    from = to + 1;
  }
  return values;
}

LetterCommand add_group_letter(CLI::App& app, const std::string& letter, const std::string& description,
                               bool k_groups) {
  auto values = std::make_shared<GroupOptions>();
  LetterCommand c;
  c.letter = letter;
  c.command = app.add_subcommand(letter, description);
  c.command->footer(group_rules);
  auto* group = c.command->add_option("--group-var", values->group_variable, "The group variable (\"Gruppenvariable\")")
                    ->type_name("VAR");
  auto* target =
      c.command->add_option("--target", values->target, "The variable to be tested (\"Welche Variable testen ?\")")
          ->type_name("VAR");
  c.command
      ->add_option("--groups", values->groups,
                   k_groups ? "The group numbers, or \"all\" for every group of the file (typed as 0 groups; also "
                              "the default)"
                            : "The two group numbers")
      ->type_name(k_groups ? "LIST|all" : "LIST");
  c.command->add_flag("--list", values->list, "List the values read in the report");

  c.actions = [=](const CommonOptions& common) {
    std::deque<script::Action> actions;
    if (values->list) {
      script::Action tick;
      tick.verb = script::Verb::tick, tick.id = IDC_GROUPS_LISTING;
      actions.push_back(tick);
    }
    // Both lists hold the variables in column order.
    if (*group)
      actions.push_back(
          pick_action(IDC_GROUPS_VARIABLE, column_of(common.data_file, values->group_variable, "--group-var") - 1));
    if (*target)
      actions.push_back(pick_action(IDC_GROUPS_TARGET, column_of(common.data_file, values->target, "--target") - 1));
    if (!k_groups) {
      if (values->groups == "all") throw CLI::ValidationError("--groups", "\"all\" is for letter K only");
      const auto numbers = group_list(values->groups);
      if (numbers.size() > 2) throw CLI::ValidationError("--groups", "letter U compares two groups");
      if (numbers.size() > 0) actions.push_back(type_action(IDC_GROUPS_FIRST, numbers[0]));
      if (numbers.size() > 1) actions.push_back(type_action(IDC_GROUPS_SECOND, numbers[1]));
      actions.push_back(key_action(script::Verb::enter));
      return actions;
    }
    if (values->groups.empty() || values->groups == "all") {
      actions.push_back(type_action(IDC_GROUPS_COUNT, "0"));
      actions.push_back(key_action(script::Verb::enter));
      return actions;
    }
    // The number of groups, then one group number per Enter, then Rechnen once all are in.
    const auto numbers = group_list(values->groups);
    actions.push_back(type_action(IDC_GROUPS_COUNT, std::to_string(numbers.size())));
    actions.push_back(key_action(script::Verb::enter));
    for (const auto& n : numbers) {
      actions.push_back(type_action(IDC_GROUPS_NUMBER, n));
      actions.push_back(key_action(script::Verb::enter));
    }
    actions.push_back(key_action(script::Verb::enter));
    return actions;
  };
  return c;
}

}  // namespace

LetterCommand add_mann_whitney(CLI::App& app) {
  return add_group_letter(app, "U",
                          "Wilcoxon-Mann-Whitney-Test: two groups of the data file, U test with Hodges-Lehmann "
                          "estimate and confidence intervals",
                          false);
}

LetterCommand add_kruskal_wallis(CLI::App& app) {
  return add_group_letter(
      app, "K", "Kruskal-Wallis-Test: k groups of the data file, with Dunn-Holm and Nemenyi comparisons", true);
}

}  // namespace veltrum::cli
