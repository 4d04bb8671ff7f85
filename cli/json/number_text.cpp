#include "json/number_text.hpp"

#include <dragonbox/dragonbox.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace veltrum::json {

namespace {

char* laid_out(char* out, std::uint64_t digits, int exponent) {
  char* const digits_end = std::to_chars(out, out + 20, digits).ptr;
  return nlohmann::detail::dtoa_impl::format_buffer(out, static_cast<int>(digits_end - out), exponent, -4,
                                                    std::numeric_limits<double>::digits10);
}

}  // namespace

char* shortest_chars(char* out, float x) {
  if (std::signbit(x)) *out++ = '-', x = -x;
  if (x == 0) return std::memcpy(out, "0.0", 3), out + 3;
  // The shortest digits that read back to x, trailing zeros removed, and their power of ten.
  const auto decimal = jkj::dragonbox::to_decimal(x);
  if (decimal.exponent > 0 && x < 1e15f) {
    // A whole number whose shortest decimal ends in zeros (33554450 for 33554448): its own digits
    // where they are no longer than the scientific form (d.ddde+XX), as std::to_chars chooses, so
    // that a count or a rank sum reads as the report prints it.
    const auto whole = static_cast<std::uint64_t>(x);
    const auto count = [](std::uint64_t n) {
      int digits = 0;
      for (; n; n /= 10) ++digits;
      return digits;
    };
    const int shortest = count(decimal.significand);
    if (count(whole) <= shortest + (shortest > 1) + 4) return laid_out(out, whole, 0);
  }
  return laid_out(out, decimal.significand, decimal.exponent);
}

char* shortest_chars(char* out, double x) {
  if (std::signbit(x)) *out++ = '-', x = -x;
  if (x == 0) return std::memcpy(out, "0.0", 3), out + 3;
  const auto decimal = jkj::dragonbox::to_decimal(x);
  return laid_out(out, decimal.significand, decimal.exponent);
}

namespace {

// A text as the library writes it: plain ASCII straight, anything else (escapes, UTF-8, bytes that
// are no UTF-8) by the library.
void append_string(std::string& out, const std::string& text) {
  const bool plain =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
  if (plain) {
    out += '"';
    out += text;
    out += '"';
  } else {
    out += nlohmann::ordered_json(text).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  }
}

}  // namespace

void append_text(std::string& out, const nlohmann::ordered_json& value) {
  using json = nlohmann::ordered_json;
  char digits[32];
  switch (value.type()) {
    case json::value_t::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, member] : value.items()) {
        if (!first) out += ',';
        first = false;
        append_string(out, key);
        out += ':';
        append_text(out, member);
      }
      out += '}';
      return;
    }
    case json::value_t::array: {
      out += '[';
      for (std::size_t i = 0; i < value.size(); ++i) {
        if (i) out += ',';
        append_text(out, value[i]);
      }
      out += ']';
      return;
    }
    case json::value_t::string:
      return append_string(out, value.get_ref<const std::string&>());
    case json::value_t::number_integer:
      out.append(digits, std::to_chars(digits, digits + sizeof digits, value.get<std::int64_t>()).ptr);
      return;
    case json::value_t::number_unsigned:
      out.append(digits, std::to_chars(digits, digits + sizeof digits, value.get<std::uint64_t>()).ptr);
      return;
    case json::value_t::number_float: {
      const double x = value.get<double>();
      if (std::isfinite(x))
        out.append(digits, shortest_chars(digits, x));
      else
        out += "null";
      return;
    }
    case json::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      return;
    default:  // null (and binary values, which the document has none of)
      out += value.dump();
  }
}

std::string text_of(const nlohmann::ordered_json& value) {
  std::string text;
  append_text(text, value);
  return text;
}

}  // namespace veltrum::json
