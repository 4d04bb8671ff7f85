#include "frame/number_reading.hpp"

#include <cstdlib>
#include <string>

namespace veltrum {

real read_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  const auto is_digit = [&](std::size_t j) { return j < text.size() && text[j] >= '0' && text[j] <= '9'; };

  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool digits = false;
  while (is_digit(i)) number += text[i++], digits = true;
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (is_digit(i)) number += text[i++], digits = true;
  }
  if (!digits) return 0;
  // The exponent counts only when digits follow its letter and optional sign.
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    if (is_digit(j)) {
      while (is_digit(j)) exponent += text[j++];
      number += exponent;
    }
  }
  return std::strtold(number.c_str(), nullptr);
}

std::string with_commas_as_points(std::string text) {
  for (auto& c : text)
    if (c == ',') c = '.';
  return text;
}

}  // namespace veltrum
