// Message box kinds: captions, style values and the joining of message lines.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/host.hpp"

namespace veltrum {

namespace caption {
inline constexpr std::string_view caution = " Vorsicht!";     // input the user can correct
inline constexpr std::string_view attention = " Achtung!";    // faulty data, limits, failures
inline constexpr std::string_view system_error = "Achtung!";  // last-resort error trap
inline constexpr std::string_view access = " Zugriffsverletzung!";
inline constexpr std::string_view crossover_help = " Hilfe zum Cross-Over!";
}  // namespace caption

// MessageBox style values (icon | buttons | modality).
namespace style {
inline constexpr unsigned caution = 0x2030;          // exclamation, OK, task-modal
inline constexpr unsigned question = 0x2034;         // exclamation, Yes/No, task-modal
inline constexpr unsigned open_file_first = 0x0030;  // exclamation, OK
inline constexpr unsigned stop = 0x2010;             // hand, OK, task-modal
inline constexpr unsigned access = 0x1010;           // hand, OK, system-modal
inline constexpr unsigned information = 0x2040;      // information, OK, task-modal
}  // namespace style

// The text of the last-resort error trap.
inline constexpr std::string_view last_resort_text =
    "Fehlerhafte System-Konfiguration.\rDie Berechnung ist nicht möglich.";

// The messages about the size of the samples, shared by the tests.
inline constexpr std::string_view too_few_groups_text = "Es müssen mindestens 2 Gruppen vorhanden sein!";
inline constexpr std::string_view group_too_small_text = "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!";
inline constexpr std::string_view empty_group_text = "Der Stichprobenumfang mindestens einer Gruppe ist Null!";

// The dialogs' messages about a choice of groups.
inline constexpr std::string_view no_group_variable_text = "Bitte Gruppenvariable angeben!";
inline constexpr std::string_view different_groups_text = "Bitte verschiedene Gruppen vergleichen!";
// The last line of each message about a group number out of its range.
inline constexpr std::string_view other_values_text = "Andere Werte sind nicht zulässig !";

// Message box answers: the button pressed (IDOK, IDYES, IDNO).
inline constexpr int answer_ok = 1, answer_yes = 6, answer_no = 7;

// Message lines are joined by one carriage return; an empty part gives an empty line.
inline std::string join_lines(std::initializer_list<std::string_view> parts) {
  std::string text;
  bool first = true;
  for (const auto part : parts) {
    if (!first) text += '\r';
    text += part;
    first = false;
  }
  return text;
}

inline int caution_box(Host& host, std::string_view text) {
  return host.message_box(text, style::caution, caption::caution);
}
inline int attention_box(Host& host, std::string_view text) {
  return host.message_box(text, style::stop, caption::attention);
}
inline bool ask_yes_no(Host& host, std::string_view text) {
  return host.message_box(text, style::question, caption::caution) == answer_yes;
}

}  // namespace veltrum
