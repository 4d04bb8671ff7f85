// A JSON array of many flat objects written straight as text: the pairwise comparisons of K and F
// run to thousands of rows, where building one JSON value per row and member costs many times the
// statistics.  The text is passed on in pieces as it grows, so that a document of megabytes is
// never held whole.  Numbers and texts come out as the document's writer (number_text.hpp) writes
// them.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frame/result.hpp"

namespace veltrum::json {

// Where a document's text goes, piece by piece.
using TextOut = std::function<void(std::string_view)>;

// A stored float as the double nearest to its shortest decimal (which reads back to the same
// float); not a number: none.
std::optional<double> shortest(float x);

class RowsText {
 public:
  explicit RowsText(TextOut out) : out_(std::move(out)) { put('['); }

  void begin_row() { put(rows_++ ? ",{" : "{"), first_ = true; }
  void end_row() { put('}'); }

  void add(std::string_view name, int value);
  void add(std::string_view name, float value);  // null when not finite
  void add(std::string_view name, const PValue& p);
  void add_null(std::string_view name);
  // A member whose value is JSON text already (a text dumped once for many rows).
  void add_text(std::string_view name, std::string_view json_text);

  // Closes the array and passes the rest on; the writer starts a new array afterwards.
  void finish();

 private:
  static constexpr std::size_t piece = 64 * 1024;  // what is passed on at a time
  void key(std::string_view name);                 // one of the program's own short keys
  void number(float value);                        // null when not finite
  // Room for `bytes` more in the piece, passing on what it holds if need be.
  void room(std::size_t bytes) {
    if (static_cast<std::size_t>(end_ - at_) < bytes) pass_on();
  }
  void put(char c) {
    room(1);
    *at_++ = c;
  }
  void put(std::string_view text);
  void pass_on();

  TextOut out_;
  std::unique_ptr<char[]> piece_{new char[piece]};
  char* at_ = piece_.get();
  char* const end_ = piece_.get() + piece;
  std::size_t rows_ = 0;
  bool first_ = true;
  float last_ = std::numeric_limits<float>::quiet_NaN();  // the last number written and its text
  char last_text_[32];
  std::size_t last_size_ = 0;
};

// What a p-value holds as a JSON object: the value, how it was obtained, its sides, and for a value
// read from a table of critical values the bound and the level.
nlohmann::ordered_json p_value(const PValue& p);

}  // namespace veltrum::json
