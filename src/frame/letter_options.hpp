// A letter's command-line options as a table: each option names the dialog control it fills and
// how (type a text, pick a variable from a list, tick a box, type a list of values).  The command
// line builds its options and the dialog actions they stand for from this table alone.
#pragma once

#include <span>
#include <string_view>

namespace veltrum {

enum class OptionKind {
  // TEXT typed into `control` as given.
  text,
  // N: one number typed into `control` as given; a list of numbers is refused.
  number,
  // VAR (a variable's name or column number) picked in the drop-down list `control`; variable 1
  // is the list's entry `first_entry` (1 when the list starts with "<Keine>").
  variable,
  // VAR... (a LIST of variables) selected in the multi-selection list box `control`.
  variables,
  // VAR,VAR (a LIST of two variables) picked in two drop-down lists of the variables: the first in
  // `control`, the second in `second_control`.
  variable_pair,
  // A flag that ticks the check box `control`.
  tick,
  // LIST whose values go into the fields `control` and `second_control`, one each (at most two).
  fields,
  // LIST typed value by value into `control`, each followed by Enter, then Enter on the empty
  // field ends the entry.  All `entries` options of a letter are typed side by side, row by row,
  // and must have the same number of values.
  entries,
  // LIST or "all": the number of values is typed into `second_control` and Enter pressed, then each
  // value into `control` followed by Enter, then Enter once more; "all" (also the default) types
  // 0 into `second_control` and Enter.
  counted_entries,
  // TABLE: rows separated by ";", the values of a row by ","; each value (0 or 1) is typed into
  // `control` followed by Enter, row after row, then one more Enter ends the entry.  Every row
  // needs the same number of values, and the table the numbers of rows and columns typed by the
  // options of the fields `rows_control` and `columns_control`.
  table,
};

struct LetterOption {
  std::string_view name;        // "--n1"
  std::string_view value_name;  // TEXT, VAR, LIST, ... as --help shows it; empty for a flag
  std::string_view help;
  OptionKind kind = OptionKind::text;
  int control = 0;
  int second_control = 0;
  int first_entry = 0;
  int rows_control = 0, columns_control = 0;  // table
};

// What `veltrum --help` says about a letter, and its options.
struct CommandLine {
  std::string_view summary;
  std::span<const LetterOption> options;
  // The anchor of the letter's section in docs/methods.md (its heading, GitHub style).
  std::string_view methods_section;
};

}  // namespace veltrum
