// Each test letter's command-line options: a subcommand whose options become dialog actions.
#pragma once

#include <CLI/CLI.hpp>

#include <deque>
#include <functional>
#include <string>

#include "headless/script.hpp"

namespace veltrum::cli {

// What the common options give the letters.
struct CommonOptions {
  std::string data_file;  // --data, the active data file
};

struct LetterCommand {
  std::string letter;
  CLI::App* command = nullptr;
  // Called after parsing when the letter was chosen: the actions a user would take in the dialog.
  // May throw CLI::ValidationError for option values it cannot express.
  std::function<std::deque<script::Action>(const CommonOptions&)> actions;
};

// Building blocks for the letters.
script::Action type_action(int id, const std::string& utf8_text);
script::Action pick_action(int id, int index);
script::Action key_action(script::Verb enter_or_escape);

// One registration per letter (in the order --help lists them).
LetterCommand add_two_frequencies(CLI::App& app);
LetterCommand add_information(CLI::App& app);
LetterCommand add_goodness_of_fit(CLI::App& app);
LetterCommand add_uniform_distribution(CLI::App& app);
LetterCommand add_binomial(CLI::App& app);
LetterCommand add_mann_whitney(CLI::App& app);
LetterCommand add_kruskal_wallis(CLI::App& app);

}  // namespace veltrum::cli
