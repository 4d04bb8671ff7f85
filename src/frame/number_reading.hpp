// Reading the leading number of a text, as the dialogs and the data-file readers do.
#pragma once

#include <string>
#include <string_view>

#include "frame/numbers.hpp"

namespace veltrum {

// Skips leading blanks, tabs and line feeds, then reads an optional sign, digits with an optional
// decimal point and an optional exponent (E or D in either case, optional sign, digits) as far as
// they go.  No digits at all give 0.  A decimal comma is not recognised.
real read_number(std::string_view text);

// The text with every decimal comma written as a point, for the fields that take either.
std::string with_commas_as_points(std::string text);

}  // namespace veltrum
