// The report file: header block, title conversion, line ends, and a root that cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "frame/errors.hpp"
#include "frame/report.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

TEST(ReportHeader, TitleInCapitalsWithoutItsPoint) {
  EXPECT_EQ(report_title("Vergleich von H\xE4ufigkeiten."), "VERGLEICH VON H\xC4UFIGKEITEN");
  EXPECT_EQ(report_title("Median-Test."), "MEDIAN-TEST");
  EXPECT_EQ(report_title("Gr\xFC\xDF"
                         "e \xF6"
                         "de."),
            "GR\xDCSSE \xD6"
            "DE");
  EXPECT_EQ(report_title("Cochran's Q-Test.."), "COCHRAN'S Q-TEST.");
  EXPECT_EQ(report_title(""), "");
}

TEST(ReportHeader, DateStandsAtColumn62) {
  const std::string line = header_title_line("MEDIAN-TEST", 7, 3, 2026, 9, 5);
  EXPECT_EQ(line, "MEDIAN-TEST" + std::string(50, ' ') + "07.03.2026 (09:05)");
  EXPECT_EQ(line.size(), 79u);
  // 59 characters still get the date; 60 and more stand alone.
  EXPECT_EQ(header_title_line(std::string(59, 'X'), 1, 1, 2000, 0, 0).size(), 79u);
  EXPECT_EQ(header_title_line(std::string(60, 'X'), 1, 1, 2000, 0, 0), std::string(60, 'X'));
  EXPECT_EQ(header_title_line(std::string(75, 'X'), 1, 1, 2000, 0, 0), std::string(75, 'X'));
}

TEST(ReportHeader, OpeningWritesTheHeaderBlockWithCrLf) {
  testing::Session s;
  open_report(s.module, "Median-Test.");
  s.module.report.line("x");
  s.module.report.close();
  const std::string expected =
      "\r\nMEDIAN-TEST" + std::string(50, ' ') + "07.12.2026 (09:05)\r\n" + std::string(79, '_') + "\r\n\r\n\r\nx\r\n";
  EXPECT_EQ(s.report(), expected);

  // A second opening replaces the previous report.
  open_report(s.module, "Median-Test.");
  s.module.report.close();
  EXPECT_EQ(s.report(), expected.substr(0, expected.size() - 3));
}

TEST(ReportHeader, UnwritableRootShowsTheAccessMessage) {
  testing::TempDrive parent;
  headless::Settings settings;
  // "C:\" is a plain file here, so nothing can be created below it.
  const auto blocked = parent.path() / "blocked";
  std::ofstream(blocked) << "x";
  settings.drive_c = blocked.string();
  settings.fixed_time = LocalTime{2026, 12, 7, 9, 5};
  headless::HeadlessHost host(settings);
  Module module(host);
  open_report(module, "Median-Test.");
  EXPECT_FALSE(module.report.is_open());
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].caption, " Zugriffsverletzung!");
  EXPECT_EQ(host.messages()[0].text, "Schreibschutzfehler:\rStammverzeichnis nicht beschreibbar.");
  EXPECT_EQ(host.messages()[0].style, 0x1010u);
  // Outside a test error trap a write has no effect; inside one it is a run-time error.
  EXPECT_NO_THROW(module.report.line("nichts"));
  module.report.set_strict(true);
  EXPECT_THROW(module.report.line("nichts"), RunError);
}

}  // namespace
}  // namespace veltrum
