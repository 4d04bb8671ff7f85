#include "json/rows_text.hpp"

#include "json/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace veltrum::json {

std::optional<double> shortest(float x) {
  if (!std::isfinite(x)) return std::nullopt;
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, x);
  double value = 0;
  std::from_chars(text, written.ptr, value);
  return value;
}

namespace {

std::string_view method_name(Obtained how) {
  return how == Obtained::exact ? "exact" : how == Obtained::approximate ? "approximate" : "table";
}

}  // namespace

nlohmann::ordered_json p_value(const PValue& p) {
  using json = nlohmann::ordered_json;
  const auto value = [](float x) { return shortest(x) ? json(*shortest(x)) : json(nullptr); };
  json o = {{"value", p.how == Obtained::table_class ? json(nullptr) : value(p.p)},
            {"method", method_name(p.how)},
            {"sides", static_cast<int>(p.sides)}};
  if (p.how == Obtained::table_class) {
    o["bound"] = p.above ? ">" : "<";
    o["level"] = value(p.p);
  }
  return o;
}

void RowsText::put(std::string_view text) {
  if (text.size() > piece) {
    pass_on();
    out_(text);
    return;
  }
  room(text.size());
  std::memcpy(at_, text.data(), text.size());
  at_ += text.size();
}

void RowsText::key(std::string_view name) {
  room(name.size() + 4);
  if (!first_) *at_++ = ',';
  first_ = false;
  *at_++ = '"';
  at_ = std::copy(name.begin(), name.end(), at_);
  *at_++ = '"', *at_++ = ':';
}

void RowsText::number(float value) {
  if (!std::isfinite(value)) return put("null");
  // Rows repeat values (many a p-value is 1): the last one's text is kept.
  if (std::memcmp(&value, &last_, sizeof value) != 0) {
    last_ = value;
    last_size_ = static_cast<std::size_t>(shortest_chars(last_text_, value) - last_text_);
  }
  put({last_text_, last_size_});
}

void RowsText::add(std::string_view name, int value) {
  key(name);
  room(16);
  at_ = std::to_chars(at_, end_, value).ptr;
}

void RowsText::add(std::string_view name, float value) {
  key(name);
  number(value);
}

void RowsText::add(std::string_view name, const PValue& p) {
  if (p.how == Obtained::table_class) return add_text(name, text_of(p_value(p)));
  key(name);
  put("{\"value\":");
  number(p.p);
  put(",\"method\":\"");
  put(method_name(p.how));
  put("\",\"sides\":");
  put(static_cast<char>('0' + static_cast<int>(p.sides)));
  put('}');
}

void RowsText::add_null(std::string_view name) {
  key(name);
  put("null");
}

void RowsText::add_text(std::string_view name, std::string_view json_text) {
  key(name);
  put(json_text);
}

void RowsText::pass_on() {
  if (at_ != piece_.get()) out_({piece_.get(), static_cast<std::size_t>(at_ - piece_.get())});
  at_ = piece_.get();
}

void RowsText::finish() {
  put(']');
  pass_on();
  rows_ = 0;
  put('[');
}

}  // namespace veltrum::json
