#include "data_input.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "headless/codepage.hpp"
#include "headless/script.hpp"
#include "table_file.hpp"

namespace veltrum::cli {

namespace {

constexpr int exit_usage = 2;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ends_with(const std::string& name, std::string_view ending) {
  return name.size() >= ending.size() && lower(name.substr(name.size() - ending.size())) == ending;
}

// The table's format from the options, `csv` or `tsv` and the input's first line.
TableFormat format_of(const DataOptions& options, const std::string& kind, std::string_view bytes) {
  TableFormat format;
  const std::string sep = lower(options.separator);
  if (sep.empty())
    format.separator = kind == "tsv" ? '\t' : guess_separator(bytes);
  else if (sep == "tab" || sep == "\\t")
    format.separator = '\t';
  else if (sep.size() == 1 && sep != "\"" && sep != "\r" && sep != "\n" && sep != "\0")
    format.separator = options.separator[0];
  else
    throw CLI::ValidationError("--sep", "takes one character (or \"tab\"), not \"" + options.separator + "\"");
  if (!options.decimal.empty() && options.decimal != "," && options.decimal != ".")
    throw CLI::ValidationError("--decimal", "takes , or ., not \"" + options.decimal + "\"");
  format.decimal = !options.decimal.empty() ? options.decimal[0] : format.separator == ';' ? ',' : '.';
  if (format.decimal == format.separator)
    throw CLI::ValidationError("--decimal", "the decimal mark cannot be the separator");
  format.encoding = lower(options.encoding) == "windows-1252" ? Encoding::windows1252 : Encoding::utf8;
  format.missing = options.missing;
  return format;
}

std::string column_said(const Table& table, std::size_t k) {
  return "column " + std::to_string(k + 1) + " (" + table.columns[k].file_name + ")";
}

bool is_group_value(const LetterOption& o) { return o.name == "--groups" || o.name == "--group"; }
bool is_group_variable(const LetterOption& o) { return o.name == "--group-var"; }
bool names_variables(const LetterOption& o) {
  return o.kind == OptionKind::variable || o.kind == OptionKind::variables || o.kind == OptionKind::variable_pair;
}

}  // namespace

void add_data_options(CLI::App& app, DataOptions& o) {
  app.add_option("--data-format", o.format,
                 "How --data is written: csv, tsv, or fixed (the host's data file); default: csv for a name "
                 "ending in .csv and for - (standard input), tsv for .tsv, else fixed")
      ->check(CLI::IsMember({"csv", "tsv", "fixed"}, CLI::ignore_case))
      ->type_name("FORMAT");
  app.add_option("--sep", o.separator,
                 "The separator of a CSV table (default: a comma, or a semicolon when the header row has "
                 "semicolons and no commas; a tab for TSV); \"tab\" for a tab")
      ->type_name("CHAR");
  app.add_option(
         "--decimal", o.decimal,
         "The decimal mark of the table's numbers: , or . (default: a comma in a semicolon-separated table, else a "
         "point)")
      ->type_name("MARK");
  app.add_option("--na", o.missing,
                 "A cell that stands for a missing value (may be repeated); an empty cell, NA and NaN always do")
      ->type_name("TOKEN")
      ->allow_extra_args(false);
  app.add_option("--encoding", o.encoding, "The table's encoding: utf-8 (default) or windows-1252")
      ->check(CLI::IsMember({"utf-8", "windows-1252"}, CLI::ignore_case))
      ->type_name("ENC");
}

int DataInput::prepare(CommonOptions& common, const DataOptions& options, bool scripted, std::string& module_name) {
  const std::string given = common.data_file;
  if (given.empty()) return 0;
  const bool from_stdin = given == "-";
  std::string kind = lower(options.format);
  if (kind.empty()) kind = from_stdin || ends_with(given, ".csv") ? "csv" : ends_with(given, ".tsv") ? "tsv" : "fixed";
  if (kind == "fixed" && !from_stdin) return 0;
  const std::string source = from_stdin ? "standard input" : script::printable(given);

  std::string bytes;
  try {
    // A name under C:\ is the file the module would open by it.
    bytes = read_bytes(from_stdin ? given : headless::path_under(headless::default_drive_c(), utf8_to_cp1252(given)));
  } catch (const std::exception& e) {
    std::cerr << "veltrum: cannot read " << source << ": " << e.what() << "\n";
    return exit_usage;
  }
  try {
    folder_.emplace();
    real_path_ = folder_->file("daten.dat");
    if (kind == "fixed") {
      std::FILE* file = std::fopen(real_path_.c_str(), "wb");
      const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
      if (!file || std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + real_path_);
    } else {
      table_ = read_table(bytes, format_of(options, kind, bytes));
      for (std::size_t k = 0; k < table_->columns.size(); ++k) {
        const TableColumn& c = table_->columns[k];
        if (c.name != c.file_name)
          std::cerr << "veltrum: column " << k + 1 << ": the name \"" << script::printable(c.name)
                    << "\" is written as " << c.file_name << "\n";
      }
      if (scripted)
        for (const auto& c : table_->columns)
          if (c.text && c.labels.size() <= most_labels)
            std::cerr << "veltrum: " << c.file_name << ": " << script::printable(numbering(c)) << "\n";
      write_data_file(*table_, all_records(*table_), real_path_);
      common.adapt = [this](std::vector<GivenOption>& given_options) { adapt(given_options); };
    }
  } catch (const TableError& e) {
    std::cerr << "veltrum: " << source << ": row " << e.row << ", column " << e.column
              << (e.column_name.empty() ? "" : " (" + script::printable(e.column_name) + ")") << ": "
              << script::printable(e.what()) << "\n";
    return exit_usage;
  } catch (const CLI::Error& e) {
    std::cerr << "veltrum: " << script::printable(e.what()) << "\n";
    return exit_usage;
  } catch (const std::exception& e) {
    std::cerr << "veltrum: " << source << ": " << script::printable(e.what()) << "\n";
    return exit_usage;
  }
  module_name_ = from_stdin ? standard_input_name : module_name;
  module_name = module_name_;
  common.data_file = real_path_;
  return 0;
}

void DataInput::name_files(headless::Settings& settings) const {
  if (!real_path_.empty()) settings.files[module_name_] = real_path_;
}

void DataInput::adapt(std::vector<GivenOption>& options) const {
  const Table& table = *table_;
  int group = -1;
  // Variables: an original name becomes the data file's name; a text column serves only as a
  // group variable.
  for (auto& o : options) {
    if (!o.given || !names_variables(*o.option)) continue;
    const std::string option(o.option->name);
    std::string written;
    bool changed = false;
    const auto vars =
        o.option->kind == OptionKind::variable ? std::vector<std::string>{*o.text} : list_values(*o.text, option);
    for (const auto& var : vars) {
      const int k = find_column(table, var);
      std::string name = var;
      if (k >= 0) {
        const auto column = static_cast<std::size_t>(k);
        const TableColumn& c = table.columns[column];
        if (is_group_variable(*o.option)) {
          group = k;
        } else if (c.text) {
          throw CLI::ValidationError(option, column_said(table, column) + " holds text (row " +
                                                 std::to_string(table.record_rows[c.first_text_record]) + ": \"" +
                                                 script::printable(c.cell(c.first_text_record)) +
                                                 "\"), not numbers; a text column can only be the group variable");
        }
        changed = changed || var != c.file_name;
        name = c.file_name;
      }
      written += (written.empty() ? "" : ",") + name;
    }
    if (changed) *o.text = written;
  }
  if (group < 0 || !table.columns[static_cast<std::size_t>(group)].text) return;
  // Group values: a label becomes its number.
  const TableColumn& c = table.columns[static_cast<std::size_t>(group)];
  if (c.labels.size() > most_labels)
    throw CLI::ValidationError("--group-var", column_said(table, static_cast<std::size_t>(group)) + " has " +
                                                  std::to_string(c.labels.size()) + " different texts, more than the " +
                                                  std::to_string(most_labels) + " groups a group variable holds");
  std::cerr << "veltrum: " << c.file_name << ": " << script::printable(numbering(c)) << "\n";
  for (auto& o : options) {
    if (!o.given || !is_group_value(*o.option) || is_all(*o.text)) continue;
    std::string written;
    bool changed = false;
    for (const auto& value : list_values(*o.text, std::string(o.option->name))) {
      std::string number = value;
      for (std::size_t l = 0; l < c.labels.size() && number == value; ++l)
        if (c.labels[l] == value) number = std::to_string(l + 1), changed = true;
      written += (written.empty() ? "" : ",") + number;
    }
    if (changed) *o.text = written;
  }
}

}  // namespace veltrum::cli
