#include "json/rows_text.hpp"

#include <charconv>
#include <cmath>
#include <utility>

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

void RowsText::key(std::string_view name) {
  if (!first_) text_ += ',';
  first_ = false;
  text_ += '"';
  text_ += name;
  text_ += "\":";
}

void RowsText::number(double value) {
  char digits[64];
  text_.append(digits, nlohmann::detail::to_chars(digits, digits + sizeof digits, value));
}

void RowsText::add(std::string_view name, int value) {
  key(name);
  char digits[16];
  text_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void RowsText::add(std::string_view name, float value) {
  key(name);
  if (const auto x = shortest(value))
    number(*x);
  else
    text_ += "null";
}

void RowsText::add(std::string_view name, const PValue& p) {
  if (p.how == Obtained::table_class) return add_text(name, p_value(p).dump());
  key(name);
  text_ += "{\"value\":";
  if (const auto x = shortest(p.p))
    number(*x);
  else
    text_ += "null";
  text_ += ",\"method\":\"";
  text_ += method_name(p.how);
  text_ += "\",\"sides\":";
  text_ += static_cast<char>('0' + static_cast<int>(p.sides));
  text_ += '}';
}

void RowsText::add_null(std::string_view name) {
  key(name);
  text_ += "null";
}

void RowsText::add_text(std::string_view name, std::string_view json_text) {
  key(name);
  text_ += json_text;
}

std::string RowsText::finish() {
  std::string done = std::exchange(text_, std::string(1, '['));
  done += ']';
  return done;
}

}  // namespace veltrum::json
