// A JSON array of many flat objects written straight as text: the pairwise comparisons of K and F
// run to thousands of rows, where building one JSON value per row and member costs many times the
// statistics.  Numbers and texts come out as the JSON writer would write them.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

#include "frame/result.hpp"

namespace veltrum::json {

// A stored float as the double nearest to its shortest decimal, which the writer prints as that
// same shortest decimal; not a number: none.
std::optional<double> shortest(float x);

class RowsText {
 public:
  explicit RowsText(std::size_t rows) { text_.reserve(rows * 320 + 2); }

  void begin_row() { text_ += text_.size() > 1 ? ",{" : "{", first_ = true; }
  void end_row() { text_ += '}'; }

  void add(std::string_view name, int value);
  void add(std::string_view name, float value);  // null when not finite
  void add(std::string_view name, const PValue& p);
  void add_null(std::string_view name);
  // A member whose value is JSON text already (a text dumped once for many rows).
  void add_text(std::string_view name, std::string_view json_text);

  // The array's text; the writer is empty afterwards.
  std::string finish();

 private:
  void key(std::string_view name);
  void number(double value);

  std::string text_ = "[";
  bool first_ = true;
};

// What a p-value holds as a JSON object: the value, how it was obtained, its sides, and for a value
// read from a table of critical values the bound and the level.
nlohmann::ordered_json p_value(const PValue& p);

}  // namespace veltrum::json
