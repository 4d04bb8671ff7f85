// What every test dialog shares: placement, reading fields, rejecting input.
#pragma once

#include <cstdint>
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

}  // namespace veltrum
