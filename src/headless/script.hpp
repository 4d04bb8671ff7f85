// A recorded session of user actions on the module's dialogs, played by the headless host and by
// the Windows test host alike.
//
// One action a line (lines end at CR, LF or CR LF); blank lines and lines starting with "#" are ignored:
//   type ID TEXT     replace the text of edit field ID by TEXT (the rest of the line, may be empty)
//   pick ID N        select entry N (0-based) of combo or list box ID
//   choose ID TEXT   select the entry of combo or list box ID whose text is TEXT
//   select ID N      add entry N to the selection of multi-selection list box ID
//   unselect ID N    remove entry N from it
//   tick ID          check box ID on
//   untick ID        check box ID off
//   press ID         click push button ID
//   enter            the Enter key (button 1)
//   escape           the Escape key (button 2)
//   answer yes|no|ok the answer to the next message box
// Texts in a script file are UTF-8.  A dialog takes actions until it ends; a dialog that finds no
// actions left is cancelled with Escape.  A message box that is not answered gets OK, or the
// session's default answer to a Yes/No question.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace veltrum::script {

enum class Verb { type, pick, choose, select, unselect, tick, untick, press, enter, escape, answer };

struct Action {
  Verb verb = Verb::enter;
  int id = 0;          // control id, where the verb takes one
  int index = 0;       // pick / select / unselect
  std::string text;    // type / choose (UTF-8 as written), answer ("yes", "no", "ok")
  int line = 0;        // line number in the script, for messages
  std::string origin;  // where the action comes from when not from a script line ("--n1 12")
};

// Where an action comes from, for messages: its origin, else "script line N".
std::string where(const Action& action);

// A text as a terminal may show it: control characters and DEL as \xNN, other bytes unchanged.
std::string printable(std::string_view text);

// Parses a whole script; throws std::invalid_argument naming the line of the first bad action.
std::deque<Action> parse(std::string_view text);

// One action in the script's own notation (for logs and error messages).
std::string to_string(const Action& action);

}  // namespace veltrum::script
