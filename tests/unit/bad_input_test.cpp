// Bad input and faults that must end in a clear message, never in a cut or reduced report: a
// report that cannot be written whole, data files the reader cannot take, typed values the
// dialogs must refuse, and what the headless host makes of odd scripts and times.
#include <filesystem>

#include "VELTRUM_R.h"
#include "frame/data_file.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
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
       }) {
    Session s;
    if (!c.data.empty()) std::ofstream(s.drive.path() / "daten.dat", std::ios::binary) << c.data;
    s.run(c.letter, c.script, c.data.empty() ? "" : "C:\\daten.dat");
    ASSERT_FALSE(s.host.messages().empty()) << c.letter << " " << c.script;
    EXPECT_EQ(s.host.messages()[0].text, c.message);
    EXPECT_TRUE(s.host.viewer_calls().empty()) << c.script;
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
