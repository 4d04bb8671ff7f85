// Bad input and faults that must end in a clear message, never in a cut or reduced report: a
// report that cannot be written whole, data files the reader cannot take, typed values the
// dialogs must refuse, and what the headless host makes of odd scripts and times.
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>

#include "VELTRUM_R.h"
#include "frame/data_file.hpp"
#include "frame/error_trap.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/records.hpp"
#include "frame/report.hpp"
#include "headless/headless_host.hpp"
#include "headless/script.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

std::string script_of(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// ---- writing the report ------------------------------------------------------------------------

TEST(BadInputReport, WriteFailureEndsTheCallWithAMessageAndNoViewer) {
  // A full disk: /dev/full takes the bytes into the buffer and fails when they are flushed.
  ReportFile file;
  ASSERT_TRUE(file.create("/dev/full"));
  file.line(std::string(10000, 'x'));
  EXPECT_FALSE(file.close());
  ASSERT_TRUE(file.create((std::filesystem::temp_directory_path() / "veltrum-report-ok").string()));
  file.line("ok");
  EXPECT_TRUE(file.close());  // a failure is not carried over to the next report

  // The whole call: "C:\Ausgabe." leads to the full disk.
  Session s;
  std::filesystem::create_symlink("/dev/full", s.drive.path() / "Ausgabe");
  s.run("H", script_of({"type 102 0", "type 103 7", "enter"}));
  EXPECT_TRUE(s.host.viewer_calls().empty());
  ASSERT_FALSE(s.host.messages().empty());
  EXPECT_EQ(s.host.messages().back().caption, caption::attention);
  EXPECT_EQ(s.host.messages().back().style, style::stop);
  EXPECT_EQ(s.host.messages().back().text, report_write_error_text);

  // The text of letter M goes the same way (it once called the viewer with the cut file).
  Session m;
  std::filesystem::create_symlink("/dev/full", m.drive.path() / "Hilfe");
  m.run("M");
  EXPECT_TRUE(m.host.viewer_calls().empty());
  ASSERT_EQ(m.host.messages().size(), 1u);
  EXPECT_EQ(m.host.messages()[0].text, report_write_error_text);
}

// ---- the data file -----------------------------------------------------------------------------

TEST(BadInputDataFile, HeadersAndCellsTheReaderRefuses) {
  struct Case {
    std::string header;
    int fields;
  };
  // An empty name would end the lists of names there and hide the later variables.
  for (const auto& c : {Case{"a;N;8;2 ;N;8;2 c;N;8;2", 0}, Case{";N;8;2 b;N;8;2", 0}, Case{"a;N;8;2 b;N;8;2", 2}}) {
    DataFileArrays data;
    EXPECT_EQ(parse_header_line(data, c.header), c.fields) << c.header;
  }

  // Numbers beyond the float range are unreadable cells (the missing code), never infinite.
  DataFileArrays data;
  ASSERT_EQ(parse_header_line(data, "v;N;8;2"), 1);
  for (const std::string cell : {"    1e40", "   -1e39", " 1e5000"})
    EXPECT_EQ(field_value(data, " " + cell, 1), missing_code) << cell;
  EXPECT_EQ(field_value(data, "  3.4e38", 1), 3.4e38f);
}

TEST(BadInputDataFile, AFileThatCannotBeReadIsSaidToBeUnreadable) {
  // /proc/self/mem is a regular file whose first page cannot be read (even by root).
  Session s;
  s.module.data_file_name = "/proc/self/mem";
  std::int16_t count = -1;
  read_header(s.module, count);
  EXPECT_EQ(count, 0);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].caption, caption::attention);
  EXPECT_EQ(s.host.messages()[0].text, unreadable_file_text);
}

// A data file of a group variable g and three variables x, y, z; rows "g x y z", the cells 8
// characters wide.
std::string data_of(std::initializer_list<std::array<std::string, 4>> rows) {
  std::string text = "g;N;4;0 x;N;8;1 y;N;8;1 z;N;8;1\r\n";
  for (const auto& r : rows) {
    std::string line = std::string(5 - r[0].size(), ' ') + r[0];
    for (int k = 1; k < 4; ++k) line += std::string(9 - r[k].size(), ' ') + r[k];
    text += line + "\r\n";
  }
  return text;
}

// The actions of each data-file letter on data_of's file: groups 1 and 2 where a letter compares
// groups, x and y (and z) as targets, GROUP standing for the group number where it takes one.
struct LetterScript {
  std::string letter, script;
};
const LetterScript data_letters[] = {
    {"W", "pick 201 1\npick 203 1\npick 211 2\ntype 202 GROUP\nenter\n"},
    {"V", "pick 201 1\npick 203 1\npick 211 2\ntype 202 GROUP\nenter\n"},
    {"F", "select 107 1\nselect 107 2\nselect 107 3\npick 101 1\ntype 102 GROUP\nenter\n"},
    {"C", "pick 201 0\npick 401 1\npick 901 2\ntype 905 1\ntype 906 GROUP\nenter\n"},
    {"U", "pick 201 0\npick 401 1\ntype 403 1\ntype 404 2\nenter\n"},
    {"K", "pick 201 0\npick 401 1\ntype 403 0\nenter\n"},
};

std::string with_group(std::string script, const std::string& group) {
  const auto at = script.find("GROUP");
  return at == std::string::npos ? script : script.replace(at, 5, group);
}

TEST(BadInputDataFile, CellsBeyondTheFloatRangeAreSaidNamingTheLineAndTheVariable) {
  // They were dropped with their record as if missing: n = 4 of 5 without a word.
  for (const std::string cell : {"1e40", "-3.41e38", "nan", "-inf", "Infinity"}) {
    const std::string data = data_of({{"1", "1.5", "2.0", "3.0"},
                                      {"2", cell, "3.0", "1.0"},
                                      {"1", "2.5", "1.0", "4.0"},
                                      {"2", "4.0", "2.5", "5.0"},
                                      {"2", "6.0", "3.5", "0.5"},
                                      {"1", "7.0", "4.5", "1.5"}});
    for (const auto& [letter, script] : data_letters) {
      Session s;
      std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << data;
      s.run(letter, with_group(script, "2"), "C:\\daten.dat");
      ASSERT_FALSE(s.host.messages().empty()) << letter << " " << cell;
      EXPECT_EQ(s.host.messages()[0].caption, caption::attention);
      EXPECT_EQ(s.host.messages()[0].text, value_range_message(cell, 2, "x", 3)) << letter << " " << cell;
      EXPECT_TRUE(s.host.viewer_calls().empty()) << letter << " " << cell;
    }
  }
  // The largest float is a value like any other.
  DataFileArrays data;
  ASSERT_EQ(parse_header_line(data, "v;N;12;0"), 1);
  EXPECT_FALSE(beyond_float_range(data, "  3.402823e38", 1));
  EXPECT_TRUE(beyond_float_range(data, "   3.40283e38", 1));
  EXPECT_FALSE(beyond_float_range(data, "          NA", 1));  // letters: missing, as before
}

// ---- results ------------------------------------------------------------------------------------

TEST(BadInputResults, AResultBeyondTheFloatRangeEndsInTheErrorTrapNotInANaNReport) {
  struct Case {
    std::string letter, data, script;
  };
  // Pairs (3e38, -3e38) and back: differences of +-6e38, Walsh averages inf - inf.
  std::initializer_list<std::array<std::string, 4>> pairs = {{"1", "3e+38", "-3e+38", "0"},
                                                             {"1", "-3e+38", "3e+38", "0"},
                                                             {"1", "3e+38", "-3e+38", "0"},
                                                             {"1", "-3e+38", "3e+38", "0"}};
  // Two groups 3e38 apart twice over: the Hodges-Lehmann differences are infinite.
  std::initializer_list<std::array<std::string, 4>> apart = {
      {"1", "3e38", "0", "0"}, {"1", "3e38", "0", "0"}, {"2", "-3e38", "0", "0"}, {"2", "-3e38", "0", "0"}};
  for (const auto& c : {
           Case{"W", data_of(pairs), "pick 203 1\npick 211 2\nenter\n"},
           Case{"U", data_of(apart), data_letters[4].script},
           Case{"K", data_of(apart), data_letters[5].script},
           // F = 6e38 and chi-square contributions beyond the float range.
           Case{"G", "", "type 1004 3e38\nenter\ntype 1004 3e38\nenter\nenter\n"},
           Case{"A", "",
                "type 1004 5\ntype 1104 1e-40\nenter\ntype 1004 6\ntype 1104 0.5\nenter\n"
                "type 1004 7\ntype 1104 0.5\nenter\nenter\n"},
       }) {
    Session s;
    if (!c.data.empty()) std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << c.data;
    s.run(c.letter, c.script, c.data.empty() ? "" : "C:\\daten.dat");
    ASSERT_EQ(s.host.messages().size(), 1u) << c.letter;
    EXPECT_EQ(s.host.messages()[0].caption, caption::attention);
    EXPECT_EQ(s.host.messages()[0].text, failure_text) << c.letter;
    EXPECT_TRUE(s.host.viewer_calls().empty()) << c.letter;
  }
  // The report's number writers refuse such a value outright.
  ReportFile file;
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_THROW(file.adaptive(inf), RunError);
  EXPECT_THROW(file.picture("##.##", nan), RunError);
  EXPECT_THROW(file.plain(-inf), RunError);
  EXPECT_THROW(file.multi_field("## ##", {1.0f, nan, 0, 0, 0, 0}), RunError);
}

// ---- typed values ------------------------------------------------------------------------------

TEST(BadInputDialogs, ValuesTheDialogsRefuseWithAMessage) {
  struct Case {
    std::string letter, data, script, message;
  };
  const std::string groups = "g;N;4;0 v;N;6;2\r\n   1    3.0\r\n   2    4.0\r\n   1    5.0\r\n   2    6.0\r\n";
  const auto k_groups = [](std::string numbers) {
    std::string s = "pick 201 1\npick 401 1\ntype 403 2\nenter\n";
    for (const char g : numbers) s += std::string("type 404 ") + g + "\nenter\n";
    return s + "enter\n";
  };
  for (const auto& c : {
           // The same group twice is no comparison of k groups, as in U.
           Case{"K", groups, k_groups("22"), "Bitte verschiedene Gruppen vergleichen!"},
           // A count of trials beyond the 32-bit range is too large, not "not positive".
           Case{"B", "", "type 901 1e12\ntype 902 1\ntype 903 0.5\nenter\n", "Anzahl Versuche höchstens 2147483647 !"},
           Case{"B", "", "type 901 -3\ntype 902 1\ntype 903 0.5\nenter\n", "Anzahl Versuche immer > 0 !"},
           // Row counts beyond the 16-bit range are more rows than the table holds, not none.
           Case{"O", "", "type 1304 40000\ntype 1305 2\nenter\n", "Höchstens 1001 Zeilen (Blöcke) sind möglich!"},
           Case{"O", "", "type 1304 99999\ntype 1305 2\nenter\n", "Höchstens 1001 Zeilen (Blöcke) sind möglich!"},
           Case{"O", "", "type 1304 2147483648\ntype 1305 2\nenter\n", "Höchstens 1001 Zeilen (Blöcke) sind möglich!"},
       }) {
    Session s;
    if (!c.data.empty()) std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << c.data;
    s.run(c.letter, c.script, c.data.empty() ? "" : "C:\\daten.dat");
    ASSERT_FALSE(s.host.messages().empty()) << c.letter << " " << c.script;
    EXPECT_EQ(s.host.messages()[0].text, c.message);
    EXPECT_TRUE(s.host.viewer_calls().empty()) << c.script;
  }
}

TEST(BadInputDialogs, GroupNumbersBeyondTheSixteenBitsGetWhat1001Gets) {
  // They were stored as -32768 and refused as "not above 0".
  const std::string data =
      data_of({{"1", "1.5", "2.0", "3.0"}, {"2", "2.5", "1.0", "4.0"}, {"1", "4.0", "2.5", "5.0"}});
  const auto messages = [&](const std::string& letter, const std::string& script) {
    Session s;
    std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << data;
    s.run(letter, script, "C:\\daten.dat");
    EXPECT_TRUE(s.host.viewer_calls().empty()) << letter << " " << script;
    std::vector<std::string> texts;
    for (const auto& m : s.host.messages()) texts.push_back(m.text);
    return texts;
  };
  for (const auto& [letter, script] : data_letters) {
    if (script.find("GROUP") == std::string::npos) continue;
    const auto at_1001 = messages(letter, with_group(script, "1001"));
    ASSERT_FALSE(at_1001.empty()) << letter;
    if (letter == "W" || letter == "V") {
      EXPECT_EQ(at_1001[0], "Gruppennummern nur >0 und <=1000!");
    }
    for (const std::string group : {"99999", "40000", "999999999"})
      EXPECT_EQ(messages(letter, with_group(script, group)), at_1001) << letter << " " << group;
  }
}

// ---- the headless host -------------------------------------------------------------------------

TEST(BadInputHeadless, ScriptsTimesAndTextsForTheTerminal) {
  // CR, LF and CR LF end a line alike.
  for (const std::string text :
       {"type 5 a\rpick 6 1\renter", "type 5 a\npick 6 1\nenter", "type 5 a\r\npick 6 1\r\nenter\r\n"}) {
    const auto actions = script::parse(text);
    ASSERT_EQ(actions.size(), 3u) << script::printable(text);
    EXPECT_EQ(actions[0].text, "a");
    EXPECT_EQ(actions[1].index, 1);
    EXPECT_EQ(actions[2].line, 3);
  }
  EXPECT_EQ(script::printable("a\x1b[31m\tb\x7f"), "a\\x1b[31m\\x09b\\x7f");
  // An editor's byte order mark does not make the first action unknown.
  EXPECT_EQ(script::parse("\xEF\xBB\xBFtype 5 a\nenter").size(), 2u);

  // SOURCE_DATE_EPOCH: whole seconds from 1970 to the end of 9999 (date -u -d @N).
  EXPECT_EQ(headless::time_from_epoch("1796634300")->year, 2026);
  EXPECT_EQ(headless::time_from_epoch("253402300799")->year, 9999);
  for (const char* bad : {"253402300800", "-1", "12x", "", "1e9", "99999999999999"})
    EXPECT_FALSE(headless::time_from_epoch(bad).has_value()) << bad;

  // A typed text longer than the module takes from its field cancels the dialog when the host
  // refuses such texts, naming the field and its length.
  headless::Settings strict;
  strict.refuse_long_input = true;
  Session s(strict);
  s.run("B", "type 901 0000000012\ntype 902 1\ntype 903 0.5\nenter\n");
  EXPECT_TRUE(s.host.viewer_calls().empty());
  ASSERT_EQ(s.host.refusals().size(), 1u);
  EXPECT_EQ(s.host.refusals()[0].kind, headless::Refusal::long_input);
  EXPECT_EQ(s.host.refusals()[0].id, IDC_BINOM_N);
  EXPECT_EQ(s.host.refusals()[0].limit, 9);
  EXPECT_EQ(s.host.refusals()[0].action.text, "0000000012");
}

}  // namespace
}  // namespace veltrum
