// Letter M: the information text file and its own viewer call.
#include <gtest/gtest.h>

#include "test_support.hpp"

namespace veltrum {
namespace {

// The whole file, written out by hand: three leading blanks, the title in capitals, no header.
const char* const expected[] = {
    "   MULTIPLE VERGLEICHE.",
    "",
    "   Multiple Vergleiche zum Kruskal-Wallis-Test und zum Friedman-Test werden",
    "   im Anschlu\xDF an die beiden Verfahren durchgef\xFChrt (Dunn-Test und Wilcoxon-",
    "   Wilcox-Test resp. Schaich-Hamerle-Vergleiche).",
    "",
    "   Die exakte Verteilung zum Wilcoxon-Wilcox-Test liegt nur bis n=25 Zeilen",
    "   und k=10 Spalten vor; f\xFCr gr\xF6\xDF"
    "ere Werte von n und/oder k werden alternativ",
    "   Schaich-Hamerle-Vergleiche durchgef\xFChrt.",
    "",
    "   Multiple Vergleiche zum Mantel-Haenszel-Test sind nicht bekannt. Es besteht",
    "   aber die M\xF6glichkeit, interessierende Vergleiche mit Hilfe der Zwei-Gruppen-",
    "   Variante durchzuf\xFChren: Beachten Sie dabei bitte das Problem des Multiplen",
    "   Testens ('alpha-Inflation') und f\xFChren Sie wenigstens eine alpha-Korrektur nach",
    "   Bonferroni durch; Einzelheiten dazu in 'Marginalien, Mehrere Nullhypothesen'.",
};

TEST(Information, WritesTheFixedTextAndShowsItOnce) {
  testing::Session s;
  std::string expected_bytes;
  for (const char* line : expected) expected_bytes += std::string(line) + "\r\n";

  EXPECT_EQ(s.run("M"), 0);
  EXPECT_EQ(testing::read_bytes(s.drive.path() / "Hilfe"), expected_bytes);
  // Called again, the file is replaced, not extended.
  EXPECT_EQ(s.run("M"), 0);
  EXPECT_EQ(testing::read_bytes(s.drive.path() / "Hilfe"), expected_bytes);
  EXPECT_EQ(s.host.viewer_calls().size(), 2u);
  // No report file is written for this letter.
  EXPECT_FALSE(std::filesystem::exists(s.drive.path() / "Ausgabe"));
}

}  // namespace
}  // namespace veltrum
