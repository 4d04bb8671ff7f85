// Each test letter's command-line options: a subcommand built from the letter's option table in
// the catalogue, whose options become the dialog actions a user would take.
#pragma once

#include <CLI/CLI.hpp>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "frame/catalogue.hpp"
#include "headless/script.hpp"

namespace veltrum::cli {

// One option of the chosen letter as given, before it becomes dialog actions.
struct GivenOption {
  const LetterOption* option = nullptr;
  std::string* text = nullptr;  // the value as given, which `adapt` may write anew
  bool given = false;
};

// What the common options give the letters.
struct CommonOptions {
  std::string data_file;  // --data, the active data file
  // When set, called with the chosen letter's options before they become actions (a table read
  // from CSV takes its original names and text labels there); throws CLI::ValidationError.
  std::function<void(std::vector<GivenOption>&)> adapt;
};

// After the action at `after` (counted from 0) has been played, the edit fields `fields` must be
// empty: a dialog that takes a row of entries empties its fields, one that refuses the row keeps
// its text there.  `what` names the row for the message.
struct RowCheck {
  std::size_t after = 0;
  std::vector<int> fields;
  std::string what;
};

struct Plan {
  std::deque<script::Action> actions;
  std::vector<RowCheck> checks;
};

struct LetterCommand {
  const CatalogueEntry* test = nullptr;
  CLI::App* command = nullptr;
  // Called after parsing when the letter was chosen: the actions a user would take in the dialog.
  // Throws CLI::ValidationError for option values it cannot express.
  std::function<Plan(const CommonOptions&)> actions;
};

// The option of `test` that fills control `id` ("--n1"), or empty.
std::string option_for(const CatalogueEntry& test, int id);

// The subcommand of one letter, from its option table.
LetterCommand add_letter(CLI::App& app, const CatalogueEntry& test);

// Whether a text is the word "all" in any case.
bool is_all(std::string_view text);

// The values of a LIST: split at ";" when the list has one, else at ",".  An empty LIST has no
// values; an empty value inside a LIST cannot be meant and is refused (naming `option`).
std::vector<std::string> list_values(const std::string& list, const std::string& option);

// The rows of a TABLE: split at ";", each row split at "," (list_values).  An empty TABLE has no
// rows; an empty row or value is refused (naming `option`).
std::vector<std::vector<std::string>> table_rows(const std::string& table, const std::string& option);

// The variables of a data file's header line, read once as the module reads them; `why` holds
// the module's messages when it finds none (a faulty header, a file that cannot be read, ...).
struct FileVariables {
  std::string data_file;           // as given on the command line
  std::vector<std::string> names;  // Windows-1252, the first variable first
  std::string why;
};
FileVariables file_variables(const std::string& data_file);

// The column of VAR in the data file: a name from its header line, or a column number.  Refused
// (naming `option`) when it is neither.
int column_of(const FileVariables& file, const std::string& var, const std::string& option);

}  // namespace veltrum::cli
