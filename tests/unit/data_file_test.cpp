// The active data file: header, column starts, the two field readers and their missing-value
// rules, line ends.
#include <gtest/gtest.h>

#include "frame/data_file.hpp"
#include "frame/dialog.hpp"
#include "headless/headless_host.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;
using testing::TempDrive;

// Writes `bytes` as C:\daten.dat and names it as the active data file.
void use_data_file(Session& s, const std::string& bytes) {
  std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << bytes;
  s.module.data_file_name = "C:\\daten.dat";
}

std::int16_t header_of(Session& s, const std::string& bytes) {
  use_data_file(s, bytes);
  std::int16_t count = -1;
  read_header(s.module, count);
  return count;
}

const std::string faulty_text = "Die  Datei  ist  l e e r  oder  fehlerhaft,\rm\xF6glicherweise bedingt durch Import.";

TEST(DataFile, HeaderGivesNamesAndColumnStarts) {
  Session s;
  EXPECT_EQ(header_of(s, "A;N;8;2 B;N;8;2\r\n 1.5      2.25\r\n"), 2);
  const DataFileArrays& d = s.module.data;
  EXPECT_EQ(d.names[1], "A");
  EXPECT_EQ(d.names[2], "B");
  EXPECT_EQ(d.names[3], "");
  EXPECT_EQ(d.starts[0], 0);
  EXPECT_EQ(d.starts[1], 1);
  EXPECT_EQ(d.starts[2], 11);
  EXPECT_EQ(d.starts[3], 20);
  EXPECT_EQ(d.missing[1], 1E32f);
  EXPECT_EQ(d.missing[2], 1E32f);
  EXPECT_TRUE(s.host.messages().empty());

  // Column 1 is characters 1 to 9, character 10 the separator, column 2 characters 11 to 18.
  const std::string record = "123456789|ABCDEFGH|rest";
  EXPECT_EQ(column_text(d, record, 1), "123456789");
  EXPECT_EQ(column_text(d, record, 2), "ABCDEFGH");

  // Commas become "-" before anything else; type and decimals are read but not used.
  Session t;
  EXPECT_EQ(header_of(t, "X,Y;N;4;0 Gr,,p;A;3;1 Z;N;12;3\r\n"), 3);
  EXPECT_EQ(t.module.data.names[1], "X-Y");
  EXPECT_EQ(t.module.data.names[2], "Gr--p");
  // start(2) = 1 + 4 + 2, start(3) = 7 + 3 + 1, start(4) = 11 + 12 + 1.
  EXPECT_EQ(t.module.data.starts[2], 7);
  EXPECT_EQ(t.module.data.starts[3], 11);
  EXPECT_EQ(t.module.data.starts[4], 24);
}

TEST(DataFile, FaultyHeadersGiveTheMessageAndNoVariables) {
  for (const std::string bytes : {"A;N;8;2  B;N;8;2\r\n", "A;N;8;2 B;N;8;2 \r\n", "A;N;8;2 B;N;8\r\n", "A;N;8;2;0\r\n",
                                  "\r\nA;N;8;2\r\n", "", " A;N;8;2\r\n"}) {
    Session s;
    s.module.data.names[1] = "alt";
    EXPECT_EQ(header_of(s, bytes), 0) << bytes;
    EXPECT_EQ(s.module.data.names[1], "Is nix.");
    ASSERT_EQ(s.host.messages().size(), 1u) << bytes;
    EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2010u);
    EXPECT_EQ(s.host.messages()[0].text, faulty_text);
  }
}

TEST(DataFile, NoFileMeansNoVariablesWithoutMessage) {
  for (const std::string name : {"", "C:\\fehlt.dat"}) {
    Session s;
    s.module.data_file_name = name;
    std::int16_t count = 5;
    read_header(s.module, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(s.module.data.names[1], "Is nix.");
    EXPECT_TRUE(s.host.messages().empty());
  }
}

TEST(DataFile, AtMostTwoHundredVariables) {
  const auto header = [](int fields) {
    std::string line;
    for (int i = 1; i <= fields; ++i) line += (i > 1 ? " V" : "V") + std::to_string(i) + ";N;3;0";
    return line + "\r\n";
  };
  Session s;
  EXPECT_EQ(header_of(s, header(200)), 200);
  EXPECT_EQ(s.module.data.names[200], "V200");
  // start(2) = 1 + 3 + 2, then 4 characters a column: start(201) = 6 + 199 * 4.
  EXPECT_EQ(s.module.data.starts[201], 802);
  EXPECT_TRUE(s.host.messages().empty());

  Session t;
  EXPECT_EQ(header_of(t, header(201)), 0);
  EXPECT_EQ(t.module.data.names[1], "Is nix.");
  ASSERT_EQ(t.host.messages().size(), 1u);
  EXPECT_EQ(t.host.messages()[0].caption, " Achtung!");
  EXPECT_EQ(t.host.messages()[0].style, 0x2010u);
  EXPECT_EQ(t.host.messages()[0].text,
            "Die Datei  umfa\xDFt mehr als 200 Spalten/Variablen.\rKalvo. kann nur maximal 200 Variablen bearbeiten.");
}

TEST(DataFile, LaterHeaderOverwritesOnlyWhatItHas) {
  Session s;
  header_of(s, "A;N;2;0 B;N;2;0 C;N;2;0 D;N;2;0\r\n");
  s.module.data.missing[2] = 32767;
  header_of(s, "P;N;2;0 Q;N;2;0\r\n");
  EXPECT_EQ(s.module.data.names[2], "Q");
  EXPECT_EQ(s.module.data.names[3], "");
  // Beyond the entry after the last variable the older names stay.
  EXPECT_EQ(s.module.data.names[4], "D");
  EXPECT_EQ(s.module.data.missing[2], 1E32f);

  // The lists stop at the first empty name.
  headless::HeadlessDialog d(headless::module_templates().at("UTEST"), Rect{});
  fill_variable_name_lists(s.module.data, d, {{201, 0}});
  EXPECT_EQ(d.control(201).items, (std::vector<std::string>{"P", "Q"}));
}

TEST(DataFile, FloatReaderAndItsMissingEntries) {
  Session s;
  header_of(s, "A;N;8;2 B;N;8;2\r\n");
  DataFileArrays& d = s.module.data;
  const auto value = [&](const std::string& text) { return field_value(d, "         |" + text, 2); };
  EXPECT_EQ(value("        "), 1E32f);
  EXPECT_EQ(value(""), 1E32f);
  EXPECT_EQ(value("     1.5"), 1.5f);
  EXPECT_EQ(value("   1.2.3"), 1E32f);
  EXPECT_EQ(value("       ."), 1E32f);
  EXPECT_EQ(value("     0.0"), 0.0f);
  EXPECT_EQ(value("    -0.0"), 0.0f);
  EXPECT_EQ(value("     000"), 0.0f);
  EXPECT_EQ(value("       x"), 1E32f);
  EXPECT_EQ(value("       -"), 1E32f);
  EXPECT_EQ(value("    -3E2"), -300.0f);
  EXPECT_EQ(value("   2.5d1"), 25.0f);
  // No decimal comma: 1,5 reads as 1.
  EXPECT_EQ(value("     1,5"), 1.0f);
  // Only the column's own characters count: the 9 after it does not belong to column 2.
  EXPECT_EQ(field_value(d, "         |    1.25|9", 2), 1.25f);
  // Column 1 is nine characters wide.
  EXPECT_EQ(field_value(d, "123456789", 1), 123456789.0f);
  // A record that ends before the column starts: missing.
  EXPECT_EQ(field_value(d, "     4.5", 2), 1E32f);
  EXPECT_EQ(field_value(d, "", 1), 1E32f);
}

TEST(DataFile, IntegerReaderRoundsAndMarksTheColumn) {
  Session s;
  header_of(s, "A;N;8;2 B;N;8;2\r\n");
  DataFileArrays& d = s.module.data;
  const auto whole = [&](const std::string& text, int column = 2) {
    return integer_field_value(d, column == 2 ? "         |" + text : text, column);
  };
  EXPECT_EQ(whole("     2.5"), 2);
  EXPECT_EQ(whole("     3.5"), 4);
  EXPECT_EQ(whole("      -7"), -7);
  EXPECT_EQ(whole("   32767"), 32767);
  EXPECT_EQ(whole("  -32767"), -32767);
  EXPECT_EQ(whole("       0"), 0);
  EXPECT_EQ(d.missing[2], 1E32f);

  // Too large: 32767, and the column's missing code becomes 32767, so that a later float read
  // of a missing entry in that column also gives 32767.
  EXPECT_EQ(whole("   40000"), 32767);
  EXPECT_EQ(d.missing[2], 32767.0f);
  EXPECT_EQ(field_value(d, "         |        ", 2), 32767.0f);
  EXPECT_EQ(d.missing[1], 1E32f);

  // The other missing entries do the same in column 1.
  for (const std::string text : {"         ", "    1.2.3", "      abc", " 32767.6", "-40000"}) {
    d.missing[1] = 1E32f;
    EXPECT_EQ(whole(text, 1), 32767) << text;
    EXPECT_EQ(d.missing[1], 32767.0f) << text;
  }
}

TEST(DataFile, LinesEndAtCarriageReturnsAndCharacter26EndsTheData) {
  TempDrive drive;
  const auto lines_of = [&](const std::string& bytes) {
    const auto path = drive.path() / "lines.dat";
    std::ofstream(path, std::ios::binary) << bytes;
    DataFileLines lines(path.string());
    std::vector<std::string> all;
    std::string line;
    while (lines.next(line)) all.push_back(line);
    return all;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(lines_of("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(lines_of("a\rb\rc"), (V{"a", "b", "c"}));
  EXPECT_EQ(lines_of("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(lines_of("a\nb\n"), (V{"a", "b"}));
  EXPECT_EQ(lines_of("a\r\nb\r\n\x1A"
                     "c\r\n"),
            (V{"a", "b"}));
  EXPECT_EQ(lines_of("a\r\nb\x1A"), (V{"a", "b"}));
  EXPECT_EQ(lines_of("\xE4\xF6\xFC;N;2;0\r\n"), (V{"\xE4\xF6\xFC;N;2;0"}));
  EXPECT_EQ(lines_of(""), V{});
  // Lines longer than a read block, and a line end split between two blocks (CR the last byte of
  // one, LF the first of the next), whatever the block size is.
  for (const std::size_t n : {4095u, 65535u, 65536u, 131071u}) {
    const std::string a(n, 'x');
    EXPECT_EQ(lines_of(a + "\r\nb\r\n"), (V{a, "b"})) << n;
    EXPECT_EQ(lines_of(a + "\rb"), (V{a, "b"})) << n;
    EXPECT_EQ(lines_of(a + "\r"), (V{a})) << n;
  }

  DataFileLines none((drive.path() / "fehlt.dat").string());
  std::string line;
  EXPECT_FALSE(none.is_open());
  EXPECT_FALSE(none.next(line));
}

TEST(DataFile, HeaderLineEndsAtItsCarriageReturn) {
  Session s;
  // Header and records with CR only, and a file ending at character 26 right after the header.
  EXPECT_EQ(header_of(s, "A;N;3;0\r  1\r  2\r"), 1);
  Session t;
  EXPECT_EQ(header_of(t, "A;N;3;0 B;N;2;0\x1A"), 2);
  EXPECT_EQ(t.module.data.starts[3], 9);
}

TEST(DataFile, VariableListsStartWithKeineAndLeaveNameZeroEmpty) {
  Session s;
  header_of(s, "Gruppe;N;2;0 Alter;N;3;0 Gewicht;N;6;1\r\n");
  headless::HeadlessDialog d(headless::module_templates().at("UTEST"), Rect{});
  fill_variable_lists(s.module.data, d, {201, 2}, {{401, 3}});
  EXPECT_EQ(d.control(201).items, (std::vector<std::string>{"<Keine>", "Gruppe", "Alter", "Gewicht"}));
  EXPECT_EQ(d.control(401).items, (std::vector<std::string>{"Gruppe", "Alter", "Gewicht"}));
  EXPECT_EQ(d.selection(201), 2);
  EXPECT_EQ(d.selection(401), 2);
  EXPECT_EQ(s.module.data.names[0], "");

  // "<Keine>" selected for group variable 0; a target of 0 selects nothing.
  headless::HeadlessDialog e(headless::module_templates().at("UTEST"), Rect{});
  fill_variable_lists(s.module.data, e, {201, 0}, {{401, 0}});
  EXPECT_EQ(e.selection(201), 0);
  EXPECT_EQ(e.control(201).text, "<Keine>");
  EXPECT_EQ(e.selection(401), -1);
}

}  // namespace
}  // namespace veltrum
