// JSON text with every number as its shortest decimal.  The JSON library writes a double by
// Grisu2, which for some doubles gives more digits than needed: for the double nearest to a
// float's shortest decimal (how the document holds a stored float) that happens in one case of
// fifteen, 0.024364273999999998 for 0.024364274.  Dragonbox always finds the shortest; the layout
// stays the library's ("0.1", "1.0", "1e-05", "1.5e+20").
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace veltrum::json {

// A finite number's shortest decimal in that layout, at most 32 characters from `out`; returns
// their end.
char* shortest_chars(char* out, float x);
char* shortest_chars(char* out, double x);

// The text of `value` as the library's compact dump writes it (a text that is no UTF-8 with
// U+FFFD), but every double as its shortest decimal and a double that is not finite as null.
void append_text(std::string& out, const nlohmann::ordered_json& value);
std::string text_of(const nlohmann::ordered_json& value);

}  // namespace veltrum::json
