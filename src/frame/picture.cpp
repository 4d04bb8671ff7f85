// Number formatting for the report.
//
// Every value is first turned into its exact decimal expansion (a float is m * 2^s with m below
// 2^24, so the expansion is finite: m * 2^s for s >= 0, m * 5^-s * 10^s for s < 0), and all
// rounding is done on those digits, half up on the magnitude.  Nothing here relies on printf,
// whose rounding is ties-to-even on the binary value and differs between C libraries.
//
// Choices where the formats leave room:
// - A field that has to grow beyond its picture carries no overflow marker; it is just wider.
// - The only picture symbols are "#", "0", ".", and 3 to 6 carets directly after a field; a
//   caret run of one or two, and every other symbol of richer picture languages (asterisks,
//   currency signs, commas, explicit signs, string fields), is literal text.  "!" and "&" end
//   the output wherever they stand unescaped, also before the field.  After the point, "0"
//   counts as a digit position like "#".
// - A picture without a numeric field gives its literal text; the value is not shown.
// - A negative value that rounds to zero keeps its "-" ("-0.00"); minus zero is not negative.
// - Some digit is always shown: -0.3 at "#" gives "-0", growing the field.
// - In a field that holds a "0" position the free positions on the left are "0" characters,
//   and the "-" still stands directly left of the first digit: -8 at "000" gives "0-8".
// - Fixed form switches to the exponent form when the digits of the rounded integer part (none
//   for an integer part of 0) plus the positions after the point exceed 19.
// - Exponent form of zero: all mantissa digits 0 and exponent +00.  A field without any
//   position before the point (".##^^^^") has no sign position: a negative value adds its "-".
//   A field with no mantissa digit position at all ("#^^^^") gets one digit.
// - Infinities and not-a-number: the field (or the number text) shows "Inf", "-Inf" or "NaN"
//   right-aligned in the field's width; the safe format treats infinities as above 1E38 and
//   not-a-number like an ordinary value.
// - The bounds of the safe and adaptive formats are exact decimal numbers (0.0001, 1E18, 1E-36,
//   99999.99, -9999.99), except 1E38, which is the 32-bit float 1.0E38.  So 1E-4 as a float,
//   which lies just below 0.0001, takes the exponent picture in the adaptive format.
#include "frame/picture.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "frame/numbers.hpp"

namespace veltrum {
namespace {

// The exact decimal value of |x|: the whole number `digits` (no leading zeros, empty for zero)
// times 10^exp10.
struct Decimal {
  std::string digits;
  int exp10 = 0;
  // The power of ten of the first digit: floor(log10 |x|).
  int lead() const { return exp10 + static_cast<int>(digits.size()) - 1; }
};

// digits := digits * factor, on a decimal string with the most significant digit first.
void multiply_small(std::string& digits, unsigned factor) {
  unsigned carry = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    const unsigned d = static_cast<unsigned>(*it - '0') * factor + carry;
    *it = static_cast<char>('0' + d % 10);
    carry = d / 10;
  }
  for (; carry != 0; carry /= 10) digits.insert(digits.begin(), static_cast<char>('0' + carry % 10));
}

// digits := digits + 1.
void increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// The exact decimal expansion of |x| for a finite x.  frexp gives |x| = f * 2^q with f in
// [0.5, 1) carrying at most 24 significant bits, so m = f * 2^24 is a whole number.
Decimal exact_decimal(float x) {
  Decimal d;
  if (x == 0.0f || !std::isfinite(x)) return d;
  int q = 0;
  const float f = std::frexp(std::fabs(x), &q);
  auto m = static_cast<std::uint32_t>(std::ldexp(f, 24));
  int s = q - 24;
  for (; m % 2 == 0; m /= 2) ++s;  // shorter loops below
  d.digits = std::to_string(m);
  if (s >= 0) {
    for (int i = 0; i < s; ++i) multiply_small(d.digits, 2);
  } else {
    for (int i = 0; i < -s; ++i) multiply_small(d.digits, 5);
    d.exp10 = s;
  }
  return d;
}

// |x| / 10^place rounded half up to a whole number: the first dropped digit decides.  Returned
// as digits without leading zeros, empty for 0.
std::string round_at(const Decimal& d, int place) {
  if (d.digits.empty()) return {};
  if (place <= d.exp10) return d.digits + std::string(static_cast<std::size_t>(d.exp10 - place), '0');
  const auto drop = static_cast<std::size_t>(place - d.exp10);
  const std::size_t n = d.digits.size();
  if (drop > n) return {};
  std::string kept = d.digits.substr(0, n - drop);
  if (d.digits[n - drop] >= '5') increment(kept);
  return kept;
}

// The first `count` (>= 1) significant digits of a non-zero |x|, rounded half up, and the power
// of ten of the first of them.  A carry (9.9995 to 10.000) is renormalised: the digits stay
// `count` long and the power goes up by one.
struct Significant {
  std::string digits;
  int lead = 0;
};

Significant round_significant(const Decimal& d, int count) {
  Significant s{round_at(d, d.lead() - count + 1), d.lead()};
  if (static_cast<int>(s.digits.size()) > count) {
    s.digits.pop_back();
    ++s.lead;
  }
  return s;
}

std::string right_align(std::string text, std::size_t width, char fill = ' ') {
  if (text.size() < width) text.insert(0, width - text.size(), fill);
  return text;
}

// ---- the picture formatter ----

// One numeric field of a picture.
struct Field {
  int before = 0;          // digit positions before the point ("#" or "0")
  bool point = false;      // the field has a "."
  int after = 0;           // digit positions after the point
  int carets = 0;          // 0 for the fixed form, else 3 to 6
  bool zero_fill = false;  // the field holds a "0" position
  std::size_t length = 0;  // bytes of the picture the field takes

  char fill() const { return zero_fill ? '0' : ' '; }
};

// A field starts at "#", at "0", or at a "." directly followed by "#".
bool starts_field(std::string_view p, std::size_t i) {
  return p[i] == '#' || p[i] == '0' || (p[i] == '.' && i + 1 < p.size() && p[i + 1] == '#');
}

Field parse_field(std::string_view p, std::size_t start) {
  Field f;
  std::size_t i = start;
  auto digit_position = [&](std::size_t j) { return j < p.size() && (p[j] == '#' || p[j] == '0'); };
  for (; digit_position(i); ++i) {
    f.zero_fill = f.zero_fill || p[i] == '0';
    ++f.before;
  }
  if (i < p.size() && p[i] == '.') {
    f.point = true;
    for (++i; digit_position(i); ++i) {
      f.zero_fill = f.zero_fill || p[i] == '0';
      ++f.after;
    }
  }
  std::size_t c = i;
  while (c < p.size() && p[c] == '^' && c - i < 6) ++c;
  if (c - i >= 3) {
    f.carets = static_cast<int>(c - i);
    i = c;
  }
  f.length = i - start;
  return f;
}

// Exponent form: a sign position (blank or fill for a non-negative value, "-" for a negative
// one), the remaining positions before the point as mantissa digits with a non-zero first digit
// (or, with none left, a mantissa that starts at the point), the positions after the point,
// then "E", the exponent's sign and at least carets - 2 exponent digits.
std::string format_exponent(const Field& f, int carets, float value) {
  const bool negative = value < 0.0f;
  int lead_digits = std::max(f.before - 1, 0);
  if (lead_digits == 0 && f.after == 0) lead_digits = 1;
  const int count = lead_digits + f.after;

  std::string mantissa(static_cast<std::size_t>(count), '0');
  int exponent = 0;
  const Decimal d = exact_decimal(value);
  if (!d.digits.empty()) {
    const Significant s = round_significant(d, count);
    mantissa = s.digits;
    exponent = s.lead - lead_digits + 1;
  }

  std::string out;
  if (negative)
    out += '-';
  else if (f.before >= 1)
    out += f.fill();
  out += mantissa.substr(0, static_cast<std::size_t>(lead_digits));
  if (f.point) out += '.' + mantissa.substr(static_cast<std::size_t>(lead_digits));
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  out += right_align(std::to_string(std::abs(exponent)), static_cast<std::size_t>(std::max(carets - 2, 1)), '0');
  return out;
}

// Fixed form: the magnitude rounded half up to the positions after the point, right-aligned,
// "-" directly left of the first digit, "0" before the point when a position is left for it.
// `scaled` holds the digits of the magnitude times 10^after, rounded (empty for 0).
std::string layout_fixed(const Field& f, float value, std::string_view scaled) {
  const bool negative = value < 0.0f;
  const auto after = static_cast<std::size_t>(f.after);
  const std::size_t integer_digits = scaled.size() > after ? scaled.size() - after : 0;
  if (integer_digits + after > 19) return format_exponent(f, 4, value);

  const int free = f.before - (negative ? 1 : 0);
  const bool lone_zero = integer_digits == 0 && (free >= 1 || f.after == 0);
  const std::size_t body = (negative ? 1 : 0) + (lone_zero ? 1 : integer_digits) + (f.point ? 1 + after : 0);
  std::string out;
  out.reserve(std::max(body, f.length));
  if (body < f.length) out.append(f.length - body, f.fill());
  if (negative) out += '-';
  out += lone_zero ? std::string_view("0") : scaled.substr(0, integer_digits);
  if (f.point) {
    out += '.';
    if (scaled.size() < after) out.append(after - scaled.size(), '0');
    out += scaled.substr(integer_digits);
  }
  return out;
}

std::string format_fixed(const Field& f, float value) {
  if (const auto fast = scaled_digits_fast(value, f.after)) {
    char digits[24];
    const auto end = *fast == 0 ? digits : std::to_chars(digits, digits + sizeof digits, *fast).ptr;
    return layout_fixed(f, value, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  return layout_fixed(f, value, scaled_digits_exact(value, f.after));
}

std::string format_field(const Field& f, float value) {
  if (std::isnan(value)) return right_align("NaN", f.length);
  if (std::isinf(value)) return right_align(value < 0.0f ? "-Inf" : "Inf", f.length);
  return f.carets != 0 ? format_exponent(f, f.carets, value) : format_fixed(f, value);
}

}  // namespace

std::string scaled_digits_exact(float value, int places) { return round_at(exact_decimal(value), -places); }

std::optional<std::uint64_t> scaled_digits_fast(float value, int places) {
  const float magnitude = std::fabs(value);
  if (!(magnitude < 2147483648.0f) || places < 0 || places > 8) return std::nullopt;  // also NaN
  if (magnitude == 0.0f) return 0;
  std::uint64_t power = 1;
  for (int i = 0; i < places; ++i) power *= 10;
  int q = 0;
  const float f = std::frexp(magnitude, &q);
  const auto m = static_cast<std::uint64_t>(std::ldexp(f, 24));  // magnitude = m * 2^(q - 24)
  const int s = q - 24;
  if (s >= 0) return (m << s) * power;        // a whole number below 2^31, times at most 10^8
  const std::uint64_t numerator = m * power;  // below 2^24 * 10^8 < 2^51
  const int shift = -s;
  if (shift > 52) return 0;  // below 2^51 / 2^53: under one half
  const std::uint64_t whole = numerator >> shift, rest = numerator & ((std::uint64_t{1} << shift) - 1);
  return whole + (rest >= (std::uint64_t{1} << (shift - 1)) ? 1 : 0);  // half up
}

// Literal text, the one field, literal text: "\" copies the next byte whatever it is; an
// unescaped "!" or "&", or a second field, ends the output there.
std::string picture_format(std::string_view picture, float value) {
  std::string out;
  bool field_done = false;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\\') {
      if (i + 1 < picture.size()) out += picture[i + 1];
      i += 2;
    } else if (c == '!' || c == '&') {
      break;
    } else if (starts_field(picture, i)) {
      if (field_done) break;
      const Field f = parse_field(picture, i);
      out += format_field(f, value);
      field_done = true;
      i += f.length;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

// Plain number form: 7 significant digits rounded half up, trailing zeros dropped, no "0"
// before the point; exponent form (d.dddE+n) when the integer part needs 8 or more digits or
// the fraction more than 7 places.
std::string number_text(float value) {
  if (std::isnan(value)) return " NaN";
  if (std::isinf(value)) return value < 0.0f ? "-Inf" : " Inf";
  std::string out(1, value < 0.0f ? '-' : ' ');
  const Decimal d = exact_decimal(value);
  if (d.digits.empty()) return out + '0';

  Significant s = round_significant(d, 7);
  s.digits.erase(s.digits.find_last_not_of('0') + 1);
  const int length = static_cast<int>(s.digits.size());
  const int places = std::max(length - 1 - s.lead, 0);  // digits after the point

  if (s.lead >= 7 || places > 7) {
    out += s.digits[0];
    if (length > 1) out += '.' + s.digits.substr(1);
    out += s.lead < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(s.lead));
  } else if (s.lead >= 0) {
    const auto whole = static_cast<std::size_t>(s.lead + 1);
    if (s.digits.size() <= whole) {
      out += s.digits + std::string(whole - s.digits.size(), '0');
    } else {
      out += s.digits.substr(0, whole) + '.' + s.digits.substr(whole);
    }
  } else {
    out += '.' + std::string(static_cast<std::size_t>(-s.lead - 1), '0') + s.digits;
  }
  return out;
}

std::string plain_number(float value) { return number_text(value) + ' '; }

std::string number_text_trimmed(float value) {
  std::string text = number_text(value);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

std::string without_leading_blanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

// Safe format: fixed texts above 1E38; the picture format below 1E18; in between, with carets
// in the picture, the mantissa x / 10^e by the picture's part before the carets and "E+" e
// appended here, else "$".
std::string safe_format(float value, std::string_view picture) {
  const std::size_t width = picture.size();
  const float magnitude = std::fabs(value);
  if (magnitude > 1.0E38f) return right_align(width > 8 ? "|x|>1E38" : "$", width);
  if (std::isnan(value) || static_cast<double>(magnitude) < 1.0E18) return picture_format(picture, value);

  const std::size_t k = picture.find('^');
  if (k == std::string_view::npos) return right_align("$", width);
  const int e = exact_decimal(value).lead();  // floor(log10 |x|) without a logarithm
  real power = 1.0L;
  for (int i = 0; i < e; ++i) power *= 10.0L;
  const float mantissa = to_float(static_cast<real>(value) / power);
  std::string out = picture_format(picture.substr(0, k), mantissa) + "E+" + number_text_trimmed(static_cast<float>(e));
  if (k + 4 < width) out += picture.substr(k + 4);
  return out;
}

// The 11-character field; the bounds are not symmetric because a negative value needs a
// position for its sign.
std::string adaptive_number(float value) {
  const double x = value;
  const double magnitude = std::fabs(x);
  const bool moderate = (-9999.99 < x && x < 99999.99 && magnitude >= 0.0001) || magnitude < 1.0E-36;
  return safe_format(value, moderate ? " #####.####" : " ##.###^^^^");
}

// Fields are maximal runs of "#" and "." in which every "." is followed by "#"; there are no
// escapes.  A seventh field is the run-time error of the line: what is written stays, the first
// five values follow in the plain number form.
std::string multi_field_line(std::string_view picture, const std::array<float, 6>& values) {
  auto in_field = [&](std::size_t j) {
    return picture[j] == '#' || (picture[j] == '.' && j + 1 < picture.size() && picture[j + 1] == '#');
  };
  std::string out;
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < picture.size()) {
    if (!in_field(i)) {
      out += picture[i++];
      continue;
    }
    std::size_t end = i;
    while (end < picture.size() && in_field(end)) ++end;
    if (next == values.size()) {
      for (std::size_t v = 0; v < 5; ++v) out += plain_number(values[v]);
      return out;
    }
    out += safe_format(values[next++], picture.substr(i, end - i));
    i = end;
  }
  return out;
}

}  // namespace veltrum
