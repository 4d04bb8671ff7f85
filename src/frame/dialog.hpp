// What every test dialog shares: placement, reading fields, rejecting input.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "frame/host.hpp"

namespace veltrum {

struct Point {
  int x = 0, y = 0;
};

// Dialogs sit at one third of the screen width and in the middle of its height:
// x = (screen width - w) / 3, y = (screen height - (h + caption height)) / 2, truncating.
Point centred_position(int screen_width, int screen_height, int caption_height, const Rect& dialog);

// Moves the dialog to its place, then parks the focus on "&Abbrechen" without a focus mark until
// the procedure sets the focus itself.
void centre(Host& host, DialogWindow& dialog);

// Focus on a field with its whole text selected.
void focus_and_select(DialogWindow& dialog, int id);

// The " Vorsicht!" message for an unacceptable value, then focus and selection on its field.
void reject(Host& host, DialogWindow& dialog, int id, std::string_view text);

// A whole-number field read with a character limit: nothing when the field is empty, otherwise
// the leading number of the text rounded to the nearest integer, a half to the even neighbour;
// a value beyond the 16-bit range gives -32768.
std::optional<std::int16_t> read_whole_number(const DialogWindow& dialog, int id, int limit);

// The same for a count or group number that has an upper bound: a number above the 16-bit range
// gives `too_large` (the first value above the bound) instead of -32768, so that it is refused as
// too large rather than taken for 0 or a negative number.
std::optional<std::int16_t> read_bounded_number(const DialogWindow& dialog, int id, int limit, std::int16_t too_large);

// A drop-down list of variable names and the variable it shows (1-based column, 0 = none).
struct VariableList {
  int id = 0;
  int variable = 0;
};

struct DataFileArrays;

// Fills the lists from the data-file names 1, 2, ... up to the first empty one: the group list
// starts with "<Keine>" (no group variable) and selects the remembered position, 0 for
// "<Keine>"; each target list holds only the variables and selects its variable when above 0.
// Name 0 is "<Keine>" while the lists are filled and empty afterwards.  Drop-downs are closed.
void fill_variable_lists(DataFileArrays& data, DialogWindow& dialog, VariableList group,
                         std::initializer_list<VariableList> targets);

// Lists that hold only the variables (no "<Keine>"), each selecting its variable when above 0.
void fill_variable_name_lists(const DataFileArrays& data, DialogWindow& dialog,
                              std::initializer_list<VariableList> lists);

// A group number typed while "<Keine>" is the group variable (0): the Yes/No question whether to
// ignore it.  Yes sets the number to 0 and gives true; No puts the focus on the group list and
// gives false (the dialog stays open).  Without such a number: true, no question.
bool confirm_group_number_without_variable(Host& host, DialogWindow& dialog, int group_list, int group_variable,
                                           std::int16_t& group_number);

}  // namespace veltrum
