// The JSON document of one command-line run: the result value the frame hands over (as a result
// sink), the message boxes shown, and the run's outcome, under English snake_case keys.  Numbers
// are written at the precision the module stored them: a float as the shortest decimal that reads
// back to the same float.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "frame/catalogue.hpp"
#include "frame/result.hpp"
#include "json/rows_text.hpp"

namespace veltrum::json {

// The "results", "effect_sizes" and "input" of one result value; `data_file` is the active data
// file as given on the command line (UTF-8), used for letters that read one.
struct Described {
  nlohmann::ordered_json results = nlohmann::ordered_json::object();
  nlohmann::ordered_json effect_sizes = nlohmann::ordered_json::array();
  nlohmann::ordered_json input;
  // The pairwise comparisons, the last member of "results" where there are any: their rows are
  // written when the document is.
  std::function<void(RowsText&)> comparisons;
};
Described describe(const ResultRef& result, std::string_view data_file);

class RunDocument : public ResultSink {
 public:
  explicit RunDocument(std::string data_file) : data_file_(std::move(data_file)) {}

  // The last result of the run is the one written (a session of several passes gives several).
  void take(const CatalogueEntry& test, const ResultRef& result) override;
  // A message box as shown, caption and text in Windows-1252 (a CR starts a new line).
  void message(std::string_view caption, std::string_view text);
  // A message of the command line itself (UTF-8).
  void command_line_message(std::string_view text);
  // The text labels of a group variable's values (value k + 1 at index k, UTF-8), for a table
  // whose text column the command line numbered: each group of that variable gets its "label".
  void label_groups(int column, std::vector<std::string> labels);

  // The whole document as one line of text, passed to `out` in pieces; `ok` when a report was
  // written and shown.  `more`: members that close the top-level object, as text beginning with a
  // comma.  Its parts are moved into it: the document starts anew.
  void write(const CatalogueEntry* test, bool ok, const TextOut& out, std::string_view more = {});
  // The same in one string.
  std::string text(const CatalogueEntry* test, bool ok);

 private:
  std::string data_file_;
  bool have_result_ = false;
  Described described_;
  nlohmann::ordered_json messages_ = nlohmann::ordered_json::array();
  std::map<int, std::vector<std::string>> labels_;  // by column
};

}  // namespace veltrum::json
