// The dialog actions a letter's options stand for, generated from its option table.
//
// The actions come in a fixed order whatever the order of the options: ticks, then the choices in
// lists, then typed texts and fields, then the value-by-value entries; a final Enter ("&Rechnen")
// follows unless an entry ends the dialog itself.
#include <memory>
#include <optional>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "letters.hpp"
#include "paired/cochran.hpp"

namespace veltrum::cli {

namespace {

constexpr const char* var_rule =
    "VAR: a variable's name as the header line of the data file gives it, or its column number (1 for the "
    "first variable); a name is looked for first.";
constexpr const char* list_rule =
    "LIST: values separated by commas (30,20,10), in the order they are entered; when a value has a decimal "
    "comma, separate the values by semicolons instead (\"0,5;0,3;0,2\").";
constexpr const char* table_rule =
    "TABLE: rows separated by semicolons, the values of a row by commas (\"1,0,1;0,1,1\"), each row with the "
    "same number of values; they are entered row by row.";
constexpr std::string_view all_word = "all";

script::Action action(script::Verb verb, int id = 0, std::string text = {}, int index = 0) {
  script::Action a;
  a.verb = verb, a.id = id, a.text = std::move(text), a.index = index;
  return a;
}

// The option and value an action stands for, for messages.
std::string origin_of(std::string_view option, const std::string& value) {
  return std::string(option) + (value.empty() ? "" : " " + value);
}

bool whole_number(const std::string& text) {
  return !text.empty() && text.size() <= 4 && text.find_first_not_of("0123456789") == std::string::npos;
}

// Texts of the catalogue are Windows-1252; the terminal speaks UTF-8.
std::string utf8(std::string_view cp1252) { return cp1252_to_utf8(std::string(cp1252)); }

int phase(OptionKind kind) {
  switch (kind) {
    case OptionKind::tick:
      return 0;
    case OptionKind::variable:
    case OptionKind::variables:
    case OptionKind::variable_pair:
      return 1;
    case OptionKind::text:
    case OptionKind::number:
    case OptionKind::fields:
      return 2;
    case OptionKind::entries:
    case OptionKind::counted_entries:
    case OptionKind::table:
      return 3;
  }
  return 2;
}

// One option's values as parsed.
struct Given {
  const LetterOption* option = nullptr;
  CLI::Option* cli = nullptr;
  std::string text;
  bool flag = false;
};

std::string name_of(const LetterOption& o) { return std::string(o.name); }

std::vector<std::string> plain_list(const Given& g) {
  if (is_all(g.text)) throw CLI::ValidationError(name_of(*g.option), "takes a list of values here, not \"all\"");
  return list_values(g.text, name_of(*g.option));
}

// The number a count option gives, as the dialog reads it (its leading number, rounded), when the
// option was given.
std::optional<real> typed_count(const std::vector<Given>& given, int control) {
  for (const Given& g : given)
    if (g.option->control == control && *g.cli) return round_even(read_number(g.text));
  return std::nullopt;
}

// A table of `rows` x `width` values against the counts typed by the options of its row and
// column fields.  Counts the dialog refuses itself (columns outside 2..10, more rows than the
// table holds; the one table is Cochran's) are left to its message; any other difference would cut
// or pad the table.
void check_table_shape(const std::vector<Given>& given, const LetterOption& table, std::size_t rows,
                       std::size_t width) {
  const auto r = typed_count(given, table.rows_control), c = typed_count(given, table.columns_control);
  if (!r || !c || *c < 2 || *c > CochranTable::max_columns || *r > CochranTable::max_rows) return;
  if (*r == static_cast<real>(rows) && *c == static_cast<real>(width)) return;
  const auto count = [](real n) { return std::to_string(static_cast<long long>(n)); };
  throw CLI::ValidationError(name_of(table), "the table has " + std::to_string(rows) + " x " + std::to_string(width) +
                                                 " values, the options say " + count(*r) + " x " + count(*c));
}

Plan actions_of(const std::vector<Given>& given, const CommonOptions& common) {
  Plan plan;
  std::deque<script::Action>& out = plan.actions;
  if (given.empty()) return plan;
  bool ends_itself = false;
  std::vector<const Given*> entries;
  // The header line is read once, when the first variable is named.
  std::optional<FileVariables> file;
  const auto column = [&](const std::string& var, const LetterOption& o) {
    if (!file) file = file_variables(common.data_file);
    return column_of(*file, var, name_of(o)) - 1 + o.first_entry;
  };
  // Each action says which option it comes from (messages name the option, not a script line);
  // actions already tagged more precisely (a table's cells) keep their origin.
  const auto tag = [&](std::size_t from, const std::string& origin) {
    for (std::size_t i = from; i < out.size(); ++i)
      if (out[i].origin.empty()) out[i].origin = origin;
  };
  for (int p = 0; p <= 3; ++p) {
    for (const Given& g : given) {
      const LetterOption& o = *g.option;
      if (phase(o.kind) != p) continue;
      const std::size_t from = out.size();
      switch (o.kind) {
        case OptionKind::tick:
          if (g.flag) out.push_back(action(script::Verb::tick, o.control));
          break;
        case OptionKind::number:
          if (*g.cli && g.text.find_first_of(",; ") != std::string::npos)
            throw CLI::ValidationError(name_of(o), "takes one number, not \"" + g.text + "\"");
          [[fallthrough]];
        case OptionKind::text:
          if (*g.cli) out.push_back(action(script::Verb::type, o.control, g.text));
          break;
        case OptionKind::variable:
          if (*g.cli) out.push_back(action(script::Verb::pick, o.control, {}, column(g.text, o)));
          break;
        case OptionKind::variables:
          for (const auto& var : plain_list(g))
            out.push_back(action(script::Verb::select, o.control, {}, column(var, o)));
          break;
        case OptionKind::variable_pair: {
          if (!*g.cli) break;
          const auto vars = plain_list(g);
          if (vars.size() != 2) throw CLI::ValidationError(name_of(o), "takes two variables, FIRST,SECOND");
          const int lists[] = {o.control, o.second_control};
          for (std::size_t k = 0; k < 2; ++k)
            out.push_back(action(script::Verb::pick, lists[k], {}, column(vars[k], o)));
          break;
        }
        case OptionKind::fields: {
          const auto values = plain_list(g);
          const int fields = o.second_control != 0 ? 2 : 1;
          if (static_cast<int>(values.size()) > fields)
            throw CLI::ValidationError(name_of(o), "takes at most " + std::to_string(fields) + " values");
          if (values.size() > 0) out.push_back(action(script::Verb::type, o.control, values[0]));
          if (values.size() > 1) out.push_back(action(script::Verb::type, o.second_control, values[1]));
          break;
        }
        case OptionKind::counted_entries: {
          ends_itself = true;
          if (g.text.empty() || is_all(g.text)) {
            out.push_back(action(script::Verb::type, o.second_control, "0"));
            out.push_back(action(script::Verb::enter));
            break;
          }
          // The number of values, then one value per Enter, then Rechnen once all are in.
          const auto values = list_values(g.text, name_of(o));
          out.push_back(action(script::Verb::type, o.second_control, std::to_string(values.size())));
          out.push_back(action(script::Verb::enter));
          for (const auto& v : values) {
            out.push_back(action(script::Verb::type, o.control, v));
            out.push_back(action(script::Verb::enter));
            plan.checks.push_back({out.size() - 1, {o.control}, name_of(o) + " value \"" + v + "\""});
          }
          out.push_back(action(script::Verb::enter));
          break;
        }
        case OptionKind::entries:
          ends_itself = true;
          entries.push_back(&g);
          break;
        case OptionKind::table: {
          if (!*g.cli) break;
          ends_itself = true;
          // One value per Enter, row after row, then Enter once more.
          // Each cell's actions name the cell, not the whole table (which may have 10,000 cells).
          std::size_t width = 0, r = 0;
          const auto rows = table_rows(g.text, name_of(o));
          for (const auto& row : rows) {
            if (width != 0 && row.size() != width)
              throw CLI::ValidationError(name_of(o), "needs the same number of values in every row");
            width = row.size();
            ++r;
            for (std::size_t c = 0; c < row.size(); ++c) {
              if (row[c] != "0" && row[c] != "1")
                throw CLI::ValidationError(name_of(o), "row " + std::to_string(r) + " value " + std::to_string(c + 1) +
                                                           " is \"" + row[c] + "\", not 0 or 1");
              const std::size_t cell = out.size();
              out.push_back(action(script::Verb::type, o.control, row[c]));
              out.push_back(action(script::Verb::enter));
              tag(cell,
                  name_of(o) + " row " + std::to_string(r) + " value " + std::to_string(c + 1) + " (" + row[c] + ")");
            }
          }
          out.push_back(action(script::Verb::enter));
          check_table_shape(given, o, rows.size(), width);
          break;
        }
      }
      tag(from, origin_of(o.name, g.text));
    }
  }
  if (!entries.empty()) {
    // Side by side: one row per Enter, then Enter on the empty fields ends the entry.
    std::vector<std::vector<std::string>> columns;
    std::string names;
    for (const Given* g : entries) {
      columns.push_back(plain_list(*g));
      names += (names.empty() ? "" : " and ") + name_of(*g->option);
    }
    for (const auto& c : columns)
      if (c.size() != columns.front().size()) {
        std::string counts;
        for (const auto& d : columns) counts += (counts.empty() ? "" : " and ") + std::to_string(d.size());
        throw CLI::ValidationError(names, "need the same number of values (" + counts + ")");
      }
    for (std::size_t row = 0; row < columns.front().size(); ++row) {
      RowCheck check;
      std::string values;
      for (std::size_t k = 0; k < entries.size(); ++k) {
        out.push_back(action(script::Verb::type, entries[k]->option->control, columns[k][row]));
        check.fields.push_back(entries[k]->option->control);
        values += (values.empty() ? "" : ", ") + columns[k][row];
      }
      out.push_back(action(script::Verb::enter));
      tag(out.size() - entries.size() - 1, names + " value " + std::to_string(row + 1) + " (" + values + ")");
      check.after = out.size() - 1;
      check.what = names + " value " + std::to_string(row + 1) + " (" + values + ")";
      plan.checks.push_back(std::move(check));
    }
    const std::size_t from = out.size();
    for (const Given* g : entries) out.push_back(action(script::Verb::type, g->option->control, ""));
    out.push_back(action(script::Verb::enter));
    tag(from, names + ": the end of the entry");
  }
  if (!ends_itself) out.push_back(action(script::Verb::enter));
  // A dialog's field holds one line: a line end would split the report's line.
  for (const auto& a : out)
    if (a.verb == script::Verb::type && a.text.find_first_of("\r\n") != std::string::npos)
      throw CLI::ValidationError(a.origin.substr(0, a.origin.find(' ')), "a line end cannot be typed into the dialog");
  return plan;
}

}  // namespace

bool is_all(std::string_view text) {
  if (text.size() != all_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((text[i] | 0x20) != all_word[i]) return false;
  return true;
}

std::string option_for(const CatalogueEntry& test, int id) {
  for (const auto& o : test.command_line.options)
    if (o.kind != OptionKind::tick && (o.control == id || (o.second_control == id && o.kind == OptionKind::fields)))
      return std::string(o.name);
  for (const auto& o : test.command_line.options)
    if (o.second_control == id) return std::string(o.name);
  return {};
}

std::vector<std::string> list_values(const std::string& list, const std::string& option) {
  std::vector<std::string> values;
  if (list.empty()) return values;
  const char separator = list.find(';') != std::string::npos ? ';' : ',';
  std::size_t from = 0;
  for (;;) {
    const std::size_t to = list.find(separator, from);
    values.push_back(list.substr(from, to == std::string::npos ? std::string::npos : to - from));
    if (values.back().empty()) throw CLI::ValidationError(option, "empty value in the list \"" + list + "\"");
    if (to == std::string::npos) break;
    from = to + 1;
  }
  return values;
}

std::vector<std::vector<std::string>> table_rows(const std::string& table, const std::string& option) {
  std::vector<std::vector<std::string>> rows;
  if (table.empty()) return rows;
  std::size_t from = 0;
  for (;;) {
    const std::size_t to = table.find(';', from);
    const std::string row = table.substr(from, to == std::string::npos ? std::string::npos : to - from);
    if (row.empty()) throw CLI::ValidationError(option, "empty row in the table \"" + table + "\"");
    rows.push_back(list_values(row, option));
    if (to == std::string::npos) break;
    from = to + 1;
  }
  return rows;
}

FileVariables file_variables(const std::string& data_file) {
  headless::HeadlessHost host;  // its messages are not shown: the test shows them again
  Module module(host);
  module.data_file_name = utf8_to_cp1252(data_file);
  std::int16_t count = 0;
  read_header(module, count);
  FileVariables file{data_file, {}, {}};
  for (int i = 1; i <= count; ++i) file.names.push_back(module.data.names[i]);
  if (count == 0) {
    for (const auto& m : host.messages()) file.why += ": " + utf8(m.text);
    for (auto& c : file.why)
      if (c == '\r') c = ' ';
  }
  return file;
}

int column_of(const FileVariables& file, const std::string& var, const std::string& option) {
  const std::string name = utf8_to_cp1252(var);
  const auto count = static_cast<int>(file.names.size());
  for (int i = 1; i <= count; ++i)
    if (file.names[static_cast<std::size_t>(i - 1)] == name) return i;
  if (!whole_number(var)) {
    // The module's own message says why (a faulty header, a file that cannot be read, ...).
    if (count == 0)
      throw CLI::ValidationError(
          option, "cannot read the variable names of the data file \"" + file.data_file + "\"" + file.why);
    throw CLI::ValidationError(option, "the data file has no variable \"" + var + "\"");
  }
  const int column = std::stoi(var);
  if (column < 1 || (count > 0 && column > count))
    throw CLI::ValidationError(
        option, "column " + var + " is not one of the " + std::to_string(count) + " variables of the data file");
  return column;
}

LetterCommand add_letter(CLI::App& app, const CatalogueEntry& test) {
  LetterCommand c;
  c.test = &test;
  const auto& options = test.command_line.options;
  c.command = app.add_subcommand(std::string(test.letter), utf8(test.command_line.summary));
  auto given = std::make_shared<std::vector<Given>>(options.size());
  bool vars = false, lists = false, tables = false;
  for (std::size_t i = 0; i < options.size(); ++i) {
    const LetterOption& o = options[i];
    Given& g = (*given)[i];
    g.option = &o;
    if (o.kind == OptionKind::tick) {
      g.cli = c.command->add_flag(name_of(o), g.flag, utf8(o.help));
    } else {
      g.cli = c.command->add_option(name_of(o), g.text, utf8(o.help))->type_name(std::string(o.value_name));
    }
    vars = vars || o.value_name.find("VAR") != std::string_view::npos;
    lists = lists || o.value_name.find("LIST") != std::string_view::npos;
    tables = tables || o.kind == OptionKind::table;
  }
  std::string footer;
  if (vars) footer += var_rule;
  if (lists) footer += (footer.empty() ? "" : "\n") + std::string(list_rule);
  if (tables) footer += (footer.empty() ? "" : "\n") + std::string(table_rule);
  // The last line points to what the letter computes.
  footer += (footer.empty() ? "" : "\n") + std::string("Methods: docs/methods.md#") +
            std::string(test.command_line.methods_section);
  c.command->footer(footer);
  c.actions = [given](const CommonOptions& common) {
    if (!common.adapt) return actions_of(*given, common);
    std::vector<Given> values = *given;
    std::vector<GivenOption> options;
    for (auto& g : values) options.push_back({g.option, &g.text, g.cli && *g.cli});
    common.adapt(options);
    return actions_of(values, common);
  };
  return c;
}

}  // namespace veltrum::cli
