#include "frame/number_reading.hpp"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace veltrum {

namespace {

// The digits of a plain decimal (no exponent) as a whole number m and the count of digits after
// the point, when m fits in 64 bits and 10^places is exact in long double (places <= 27).  Then
// m / 10^places is one correctly rounded division of two exact numbers: the long double nearest
// to the decimal, which is what strtold gives, without its cost (a data file has thousands).
struct PlainDecimal {
  std::uint64_t whole = 0;
  int places = 0;
};

std::optional<PlainDecimal> plain_decimal(std::string_view digits) {
  PlainDecimal d;
  bool point = false;
  for (const char c : digits) {
    if (c == '.') {
      point = true;
      continue;
    }
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (d.whole > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    d.whole = d.whole * 10 + digit;
    if (point && ++d.places > 27) return std::nullopt;
  }
  return d;
}

// 10^0 .. 10^27, each exact in long double (5^27 < 2^63), as the products 10 * 10 * ... are.
constexpr real kPowersOfTen[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                 1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

}  // namespace

real read_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  const auto is_digit = [&](std::size_t j) { return j < text.size() && text[j] >= '0' && text[j] <= '9'; };

  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t first = i;
  bool digits = false;
  while (is_digit(i)) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (is_digit(i)) ++i, digits = true;
  }
  if (!digits) return 0;
  const std::string_view mantissa = text.substr(first, i - first);
  // The exponent counts only when digits follow its letter and optional sign.
  std::string_view exponent;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (is_digit(j)) {
      while (is_digit(j)) ++j;
      exponent = text.substr(i + 1, j - i - 1);  // without its letter, which may be a D
    }
  }
  if (exponent.empty()) {
    if (const auto d = plain_decimal(mantissa)) {
      const real magnitude =
          d->places == 0 ? static_cast<real>(d->whole) : static_cast<real>(d->whole) / kPowersOfTen[d->places];
      return negative ? -magnitude : magnitude;
    }
  }
  std::string number(negative ? "-" : "");
  number.append(mantissa);
  if (!exponent.empty()) number.append(1, 'e').append(exponent);
  return std::strtold(number.c_str(), nullptr);
}

std::string with_commas_as_points(std::string text) {
  for (auto& c : text)
    if (c == ',') c = '.';
  return text;
}

}  // namespace veltrum
