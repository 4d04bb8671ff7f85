// --data as people hold data: a CSV or TSV table, from a file or standard input, becomes an
// active data file of the host's format in a private folder, and the test runs on it as on the
// host's file.  The module is given the name as the user gave it (the report says "Eingabedatei
// ist plants.csv"); the headless host maps that name to the file in the folder.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "headless/headless_host.hpp"
#include "letters.hpp"
#include "private_folder.hpp"
#include "table_input.hpp"

namespace veltrum::cli {

// The options that say how --data is written.
struct DataOptions {
  std::string format;     // csv, tsv or fixed; empty: from the file name's ending
  std::string separator;  // one character, or "tab"
  std::string decimal;    // "," or "."
  std::string encoding;   // utf-8 or windows-1252
  std::vector<std::string> missing;
};

void add_data_options(CLI::App& app, DataOptions& options);

// The name the module is given for standard input.
inline constexpr const char* standard_input_name = "<Standardeingabe>";

class DataInput {
 public:
  // Reads and converts the table when --data names one (a .csv or .tsv name, --data-format csv or
  // tsv, or "-"); otherwise leaves everything as it is.  Then `common.data_file` is the converted
  // file (where the options find the variables) and `common.adapt` takes original names and text
  // labels in the options; `module_name` (Windows-1252) is the name the module is given.  Renamed
  // columns are said on standard error, and with `scripted` the numbering of every text column.
  // Returns 0, or the exit status after a message on standard error.
  int prepare(CommonOptions& common, const DataOptions& options, bool scripted, std::string& module_name);

  // The name given to the module stands for the converted file.
  void name_files(headless::Settings& settings) const;

  // The table read, when --data was one.
  const std::optional<Table>& table() const { return table_; }

 private:
  void adapt(std::vector<GivenOption>& options) const;

  std::optional<Table> table_;
  std::optional<PrivateFolder> folder_;
  std::string module_name_, real_path_;
};

}  // namespace veltrum::cli
