// --by VAR: the records of the active data file split by the values of one variable, each value a
// stratum in order of first appearance, and each stratum written as a data file of its own (the
// header line, then its records) for the module to run on as on any data file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "table_input.hpp"

namespace veltrum::cli {

struct Stratum {
  std::string value;                 // as the table or the data file writes it (UTF-8): a text label or a number
  std::vector<std::size_t> records;  // the table's records, or the data file's record lines
};

class Strata {
 public:
  // The strata of a table read from CSV or TSV: VAR names a column as the options do (data-file
  // name, header name or column number).  Throws CLI::ValidationError naming --by when it is none.
  static Strata of_table(const Table& table, const std::string& var);
  // The strata of a data file of the host's format, named as on the command line (a name under
  // C:\ is the file there): VAR is a name of its header line or a column number.  Throws
  // CLI::ValidationError when VAR is none or the file declares no variables.
  static Strata of_data_file(const std::string& data_file, const std::string& var);

  const std::string& variable() const { return variable_; }  // as the header gives it (UTF-8)
  bool numeric() const { return numeric_; }                  // the values are numbers
  const std::vector<Stratum>& strata() const { return strata_; }
  std::size_t missing() const { return missing_; }  // records left out: VAR is missing there

  // The data file of stratum `k` (Windows-1252, CR LF).
  std::string text(std::size_t k) const;

 private:
  // Adds `record` to the stratum of `key`, a new one shown as `value` when the key is new.
  template <typename Key, typename Index>
  void add(Index& index, const Key& key, std::string_view value, std::size_t record);

  std::string variable_;
  bool numeric_ = true;
  std::vector<Stratum> strata_;
  std::size_t missing_ = 0;
  const Table* table_ = nullptr;  // of_table
  std::string header_;            // of_data_file: the header line and each record line
  std::vector<std::string> lines_;
};

}  // namespace veltrum::cli
