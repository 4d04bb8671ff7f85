// Number formatting for the report: the picture formatter, the plain number form, and the three
// operations built on them (safe format, adaptive number field, multi-field line).
//
// All strings are single-byte Windows-1252: a picture is read byte by byte and every byte that
// is not a picture symbol (umlauts, "²", ...) is copied unchanged.  Values are 32-bit floats and
// are always taken at their exact decimal value; rounding is half up on the magnitude.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrum {

// One value formatted by a picture: the literal text before the numeric field, the field, the
// literal text after it.  "\" copies the next byte literally; an unescaped "!" or "&", or the
// start of a second field, ends the output.  A field that is too narrow grows; digits are never
// cut off.
std::string picture_format(std::string_view picture, float value);

// The plain number form as written to the report: number_text(value) and one trailing blank.
std::string plain_number(float value);

// The plain number form without the trailing blank: a blank or "-", then at most 7 significant
// digits (".5", "3", "1.234568E+7", "1.5E-9").
std::string number_text(float value);

// number_text without any blanks, as dialogs and message texts show a number.
std::string number_text_trimmed(float value);

// A formatted field with its leading blanks removed, as report lines show a number in running text.
std::string without_leading_blanks(std::string_view text);

// The picture format for ordinary values, with fixed texts for magnitudes the picture cannot
// hold: above 1E38 "|x|>1E38" (or "$" for a picture of up to 8 characters), from 1E18 up an
// exponent form built here (or "$" when the picture has no carets).
std::string safe_format(float value, std::string_view picture);

// The 11-character number field: " #####.####" for moderate values and zero, " ##.###^^^^"
// otherwise, by the safe format.
std::string adaptive_number(float value);

// One report line with up to six numeric fields (runs of "#" and "." in which every "." is
// followed by "#"), each the safe format of its value; other bytes are copied as they are.  At a
// seventh field the line so far is followed by the first five values in the plain number form.
// The line end is not included.
std::string multi_field_line(std::string_view picture, const std::array<float, 6>& values);

// |value| * 10^places rounded half up to a whole number, the digits of a fixed-form field, found
// two ways.  The fixed form takes the fast one where it applies and the exact one otherwise; both
// are here so that a test can hold them against each other.
//
// Exactly, from the decimal expansion: the digits without leading zeros, empty for 0; any finite
// value and any places >= 0.
std::string scaled_digits_exact(float value, int places);
// In 64-bit integers, for finite |value| < 2^31 and 0 <= places <= 8, nothing otherwise: value is
// m * 2^s with m < 2^24, so m * 10^places stays below 2^51 and one shift with its remainder
// rounds it without error.
std::optional<std::uint64_t> scaled_digits_fast(float value, int places);

}  // namespace veltrum
