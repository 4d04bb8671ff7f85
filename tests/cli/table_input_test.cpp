// Tables read from delimited text, and the data files written from them.  The data files are read
// back with the module's own header and field readers, and every number compared with the C
// library's strtof of the text in the table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "table_file.hpp"
#include "table_input.hpp"

namespace veltrum::cli {
namespace {

std::vector<std::string> cells(const TableColumn& c) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r < c.cell_ends.size(); ++r) out.emplace_back(c.cell(r));
  return out;
}

std::vector<std::string> names(const Table& t) {
  std::vector<std::string> out;
  for (const auto& c : t.columns) out.push_back(c.file_name);
  return out;
}

TEST(TableInput, ReadsQuotedCellsLineEndsAndTheByteOrderMark) {
  // RFC 4180: quoted cells with the separator, a doubled quote and a line break inside; CR LF,
  // LF and a lone CR end rows; blanks around unquoted cells go; empty lines are skipped but
  // counted as rows.
  const Table t = read_table("\xEF\xBB\xBFg,\"x\"\r\n\"a, \"\"b\"\"\",1\n\n\"two\nlines\", 2.5 \r3,-4e2\n", {});
  EXPECT_EQ(names(t), (std::vector<std::string>{"g", "x"}));
  EXPECT_EQ(cells(t.columns[0]), (std::vector<std::string>{"a, \"b\"", "two\nlines", "3"}));
  EXPECT_EQ(cells(t.columns[1]), (std::vector<std::string>{"1", "2.5", "-4e2"}));
  EXPECT_EQ(t.record_rows, (std::vector<std::size_t>{2, 4, 6}));
  EXPECT_TRUE(t.columns[0].text);
  EXPECT_FALSE(t.columns[1].text);
}

TEST(TableInput, SeparatorsDecimalCommasAndMissingValues) {
  EXPECT_EQ(guess_separator("a;b;c\n1,5;2;3"), ';');
  EXPECT_EQ(guess_separator("a;b,c\n1;2"), ',');
  EXPECT_EQ(guess_separator("a,b\n"), ',');

  TableFormat german;
  german.separator = ';';
  german.decimal = ',';
  german.missing = {"-99"};
  const Table t = read_table("x;y\n3,5;NA\n-0,25;na\n1e3;NaN\n;-99\n", german);
  EXPECT_EQ(cells(t.columns[0]), (std::vector<std::string>{"3.5", "-0.25", "1e3", ""}));
  EXPECT_EQ(cells(t.columns[1]), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_FALSE(t.columns[1].text);

  // A point is no number in a table of decimal commas, a comma none in one of points.
  EXPECT_TRUE(read_table("x;y\n1.234,5;1\n", german).columns[0].text);
  TableFormat tabs;
  tabs.separator = '\t';
  const Table u = read_table("a b\tc\n 1 \t2,5\n", tabs);
  EXPECT_EQ(cells(u.columns[0]), std::vector<std::string>{"1"});
  EXPECT_TRUE(u.columns[1].text);
}

TEST(TableInput, TextColumnsNumberTheirLabelsInOrderOfFirstAppearance) {
  const Table t = read_table("supp,len\nVC,4.2\nOJ,5\n,1\nVC,2\n1,3\n", {});
  const TableColumn& supp = t.columns[0];
  ASSERT_TRUE(supp.text);
  EXPECT_EQ(supp.labels, (std::vector<std::string>{"VC", "OJ", "1"}));
  EXPECT_EQ(supp.codes, (std::vector<std::uint32_t>{1, 2, 0, 1, 3}));
  EXPECT_EQ(supp.first_text_record, 0u);
  EXPECT_EQ(numbering(supp), "1 = VC, 2 = OJ, 3 = 1");
  EXPECT_EQ(read_table("x\n1\n2\nb\n", {}).columns[0].first_text_record, 2u);
}

TEST(TableInput, NamesTheDataFileCannotHoldAreChanged) {
  const Table t = read_table("a b,a_b,,x;y,x,p\x01q,x\n1,2,3,4,5,6,7\n", {});
  EXPECT_EQ(names(t), (std::vector<std::string>{"a_b_2", "a_b", "V3", "x_y", "x", "p_q", "x_2"}));
  EXPECT_EQ(find_column(t, "a_b"), 1);  // a data-file name first
  EXPECT_EQ(find_column(t, "a b"), 0);  // then a name of the header
  EXPECT_EQ(find_column(t, "x;y"), 3);
  EXPECT_EQ(find_column(t, "7"), 6);  // then a column number
  EXPECT_EQ(find_column(t, "8"), -1);
  EXPECT_EQ(find_column(t, "zz"), -1);
}

// Each fault: the input, the row and column named, and a part of the message.
TEST(TableInput, FaultsNameRowAndColumn) {
  TableFormat cp1252;
  cp1252.encoding = Encoding::windows1252;
  const struct {
    std::string input;
    std::size_t row, column;
    std::string why;
  } cases[] = {
      // The rest are in the command line's table of bad inputs (tests/cli/tables_test.sh).
      {"\n\n", 1, 1, "empty"},
      {"a,b\n\"1\"x,2\n", 2, 1, "quote inside"},  // text after a closing quote
      {"a,b\n\xC3\xBC,\xE2\x82\xAC\n\xF0\x9F\x98\x80,1\n", 3, 1, "outside Windows-1252"},
      {"a,b\n\xED\xA0\x80,1\n", 2, 1, "not UTF-8"},               // a UTF-16 surrogate
      {"a,b\nx,0\n2,1e-46\n3,1e-45\n", 3, 2, "below the range"},  // the smallest float is 1.4e-45
      {"a,b\n1,1" + std::string(150, '0') + "\n", 2, 2, "longer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    try {
      read_table(c.input, {});
      ADD_FAILURE() << "no fault";
    } catch (const TableError& e) {
      EXPECT_EQ(e.row, c.row);
      EXPECT_EQ(e.column, c.column);
      EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
    }
  }
  // A number in a text column is a label, whatever its size; Windows-1252 text is taken.
  EXPECT_TRUE(read_table("a,b\n1,x\n2,1e40\n", {}).columns[1].text);
  EXPECT_EQ(read_table("a,b\n\x80,1\n", cp1252).columns[0].labels[0], "\xE2\x82\xAC");
}

// The module reads every number of the data file as strtof reads the number's text, a missing
// cell as missing, a label as its number.
TEST(TableFile, TheModuleReadsTheNumbersOfTheTable) {
  const Table t =
      read_table("x y,g,z\n4.2,VC,-1e-3\n,OJ,1.5E+30\n-0.0,,3.4e38\n007,VC,NA\n123456789.123456789,OJ,1e-45\n", {});
  const std::string text = data_file_text(t, all_records(t));
  std::istringstream lines(text);
  std::string header, line;
  std::getline(lines, header);
  EXPECT_EQ(header, "x_y;N;19;9 g;N;1;0 z;N;7;1\r");
  DataFileArrays data;
  ASSERT_EQ(parse_header_line(data, header.substr(0, header.size() - 1)), 3);
  for (std::size_t r = 0; r < t.records(); ++r) {
    ASSERT_TRUE(std::getline(lines, line));
    line.pop_back();  // the CR
    for (int k : {1, 3}) {
      const std::string cell(t.columns[static_cast<std::size_t>(k - 1)].cell(r));
      const float want = cell.empty() ? missing_code : std::strtof(cell.c_str(), nullptr);
      EXPECT_EQ(field_value(data, line, k), want) << "record " << r << ", column " << k << ": " << cell;
    }
    const std::uint32_t code = t.columns[1].codes[r];
    EXPECT_EQ(integer_field_value(data, line, 2), code ? static_cast<std::int16_t>(code) : 32767);
  }
  EXPECT_FALSE(std::getline(lines, line));

  // A subset of the records, in the order given.
  const std::size_t some[] = {4, 1};
  EXPECT_EQ(data_file_text(t, some),
            "x_y;N;19;9 g;N;1;0 z;N;7;1\r\n"
            " 123456789.123456789 2   1e-45\r\n"
            "                     2 1.5E+30\r\n");
}

}  // namespace
}  // namespace veltrum::cli
