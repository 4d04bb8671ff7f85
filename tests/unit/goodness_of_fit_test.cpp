// Letters A and G: the statistics, the value-by-value dialogs ANPASS and GLEICH, the checks after
// the listing and the reports.
#include <gtest/gtest.h>

#include <filesystem>

#include "VELTRUM_R.h"
#include "frequency/goodness_of_fit.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

// A script that types the frequencies into GLEICH, one Enter each, and ends with an empty Enter.
std::string uniform_script(const std::vector<std::string>& values) {
  std::string s;
  for (const auto& v : values) s += "type 1004 " + v + "\nenter\n";
  return s + "type 1004 \nenter\n";
}

// The same for ANPASS with frequency and probability pairs.
std::string fit_script(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string s;
  for (const auto& [f, p] : pairs) s += "type 1004 " + f + "\ntype 1104 " + p + "\nenter\n";
  return s + "type 1004 \ntype 1104 \nenter\n";
}

TEST(GoodnessOfFit, UniformStatisticsAgreeWithR) {
  const std::vector<float> f = {10, 20, 30};
  const GoodnessOfFit g = fit_statistics(f, {});
  EXPECT_EQ(g.total, 60.0f);
  EXPECT_EQ(g.probability_sum, 1.0f);
  ASSERT_EQ(g.categories.size(), 3u);
  for (const auto& c : g.categories) EXPECT_EQ(c.expected, 20.0f);
  EXPECT_EQ(g.categories[0].chi, 5.0f);
  EXPECT_EQ(g.categories[1].chi, 0.0f);
  EXPECT_EQ(g.categories[2].chi, 5.0f);
  // R: pchisq(5, 1, lower.tail = FALSE) = 0.0253473186774683
  EXPECT_NEAR(g.categories[0].p, 0.0253473187, 1e-7);
  EXPECT_EQ(g.categories[1].p, 1.0f);
  EXPECT_FLOAT_EQ(g.categories[0].relative, 1.0f / 6);
  EXPECT_FLOAT_EQ(g.categories[2].probability, 1.0f / 3);
  // Q = 10 with df = 2: R: pchisq(10, 2, lower.tail = FALSE) = 0.00673794699908547 = exp(-5)
  EXPECT_EQ(g.q, 10.0f);
  EXPECT_EQ(g.chi, 10.0f);
  EXPECT_EQ(g.df, 2);
  EXPECT_NEAR(g.p, 0.006737947, 1e-8);
  EXPECT_NEAR(g.p_listing, 0.006737947, 1e-8);
  EXPECT_FALSE(g.probability_warning());
  EXPECT_TRUE(g.computable());
  EXPECT_FALSE(g.too_few_categories || g.first_invalid || g.empty_sample);

  // 100 categories 10, 12, 10, 12, ...: e = 11, Q = 100/11 with df = 99.
  // R: f <- rep(c(10, 12), 50); pchisq(sum((f - 11)^2/11), 99, lower.tail = FALSE) = 1 (to 15 digits)
  std::vector<float> many;
  for (int i = 0; i < 100; ++i) many.push_back(i % 2 ? 12.0f : 10.0f);
  const GoodnessOfFit m = fit_statistics(many, {});
  EXPECT_NEAR(m.chi, 100.0 / 11, 1e-4);
  EXPECT_EQ(m.df, 99);
  EXPECT_NEAR(m.p, 1.0, 1e-7);
}

TEST(GoodnessOfFit, FitStatisticsAgreeWithR) {
  const std::vector<float> f = {30, 20, 10}, pi = {0.5f, 0.3f, 0.2f};
  const GoodnessOfFit a = fit_statistics(f, pi);
  EXPECT_FLOAT_EQ(a.categories[0].expected, 30);
  EXPECT_FLOAT_EQ(a.categories[1].expected, 18);
  EXPECT_FLOAT_EQ(a.categories[2].expected, 12);
  // The Wahrsch. column repeats the probabilities typed.
  EXPECT_FLOAT_EQ(a.categories[1].probability, 0.3f);
  // R: pchisq(c(4/18, 4/12), 1, lower.tail = FALSE) = 0.637351888233937 0.563702861650773
  EXPECT_NEAR(a.categories[1].chi, 4.0 / 18, 1e-6);
  EXPECT_NEAR(a.categories[1].p, 0.6373519, 2e-7);
  EXPECT_NEAR(a.categories[2].p, 0.5637029, 2e-7);
  // R: pchisq(4/18 + 4/12, 2, lower.tail = FALSE) = 0.757465128396966
  EXPECT_NEAR(a.chi, 0.5555556, 1e-6);
  EXPECT_NEAR(a.p, 0.7574651, 2e-7);
  EXPECT_TRUE(a.computable());
  EXPECT_FALSE(a.probability_warning());

  // Probabilities summing to 0.99995: within the tolerance of 0.0001, no warning, and
  // F |1 - S| = 0.003 leaves the test computable.
  // R: e <- 60 * c(0.5, 0.29995, 0.2); f <- c(30, 20, 10)
  //    pchisq(sum((f - e)^2/e), 2, lower.tail = FALSE) = 0.757198426028105
  const std::vector<float> near_one = {0.5f, 0.29995f, 0.2f};
  const GoodnessOfFit b = fit_statistics(f, near_one);
  EXPECT_FALSE(b.probability_warning());
  EXPECT_TRUE(b.computable());
  EXPECT_NEAR(b.chi, 0.5562599, 2e-6);
  EXPECT_NEAR(b.p, 0.7571984, 1e-6);

  // 0.5 and 0.4 with 5 and 5: S = 0.9, warning, and F |1 - S| = 1 > 0.1: no test.
  const std::vector<float> five = {5, 5}, short_sum = {0.5f, 0.4f};
  const GoodnessOfFit c = fit_statistics(five, short_sum);
  EXPECT_TRUE(c.probability_warning());
  EXPECT_FALSE(c.computable());
  EXPECT_NEAR(c.expected_total, 9.0, 1e-6);

  // A small shortfall on a small sample: S = 0.999 warns, yet F |1 - S| = 0.01 computes.
  const std::vector<float> ten = {4, 6}, almost = {0.5f, 0.499f};
  const GoodnessOfFit d = fit_statistics(ten, almost);
  EXPECT_TRUE(d.probability_warning());
  EXPECT_TRUE(d.computable());

  // Large frequencies: the ten expected frequencies 1000004.5 summed in floats lost 0.5 twice
  // above 2^23 and missed F = 10000045 by 1 ("Keine Berechnung.").  Held in long double they
  // are exact, for G and for A with p = 0.1 each.
  // R: chisq.test(1000000:1000009)$statistic = 8.249963e-05, p.value = 1
  std::vector<float> large;
  for (int i = 0; i < 10; ++i) large.push_back(1000000.0f + static_cast<float>(i));
  const std::vector<float> tenths(10, 0.1f);
  for (const GoodnessOfFit& e : {fit_statistics(large, {}), fit_statistics(large, tenths)}) {
    EXPECT_TRUE(e.computable());
    EXPECT_NEAR(e.chi, 8.249963e-05, 1e-9);
    EXPECT_NEAR(e.p, 1.0, 1e-6);
  }
}

TEST(GoodnessOfFit, ChecksFindTheFirstInvalidCategory) {
  const std::vector<float> one = {7};
  EXPECT_TRUE(fit_statistics(one, {}).too_few_categories);
  EXPECT_TRUE(fit_statistics({}, {}).too_few_categories);
  const std::vector<float> fractional = {10, 2.5f, -1, 30};
  EXPECT_EQ(fit_statistics(fractional, {}).first_invalid, 2);
  const std::vector<float> negative = {10, 20, -1};
  EXPECT_EQ(fit_statistics(negative, {}).first_invalid, 3);
  const std::vector<float> zeros = {0, 0, 0};
  const GoodnessOfFit z = fit_statistics(zeros, {});
  EXPECT_TRUE(z.empty_sample);
  EXPECT_FALSE(z.first_invalid);
  // No division by zero reaches the listing.
  for (const auto& c : z.categories) EXPECT_EQ(c.chi, 0.0f);
}

TEST(GoodnessOfFit, ReportsMatchTheGoldenFiles) {
  Session g;
  EXPECT_EQ(g.run("G", uniform_script({"10", "20", "30"})), 0);
  EXPECT_EQ(g.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/G_10_20_30.txt"));
  EXPECT_EQ(g.host.viewer_calls().size(), 1u);
  EXPECT_TRUE(g.host.messages().empty());

  Session a;
  a.run("A", fit_script({{"30", "0.5"}, {"20", "0.3"}, {"10", "0.2"}}));
  EXPECT_EQ(a.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/A_30_20_10.txt"));

  // Decimal commas in ANPASS are read as points: the same report.
  Session comma;
  comma.run("A", fit_script({{"30", "0,5"}, {"20", "0,3"}, {"10", "0,2"}}));
  EXPECT_EQ(comma.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/A_30_20_10.txt"));

  // "VORSICHT: " and "Keine Berechnung.": the report is still shown.
  Session k;
  k.run("A", fit_script({{"5", "0.5"}, {"5", "0.4"}}));
  EXPECT_EQ(k.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/A_sum_0_9.txt"));
  EXPECT_EQ(k.host.viewer_calls().size(), 1u);
}

TEST(GoodnessOfFit, ProbabilitiesNearOneGiveNoWarningLine) {
  Session s;
  s.run("A", fit_script({{"30", "0.5"}, {"20", "0.29995"}, {"10", "0.2"}}));
  const auto lines = s.report_lines();
  for (const auto& line : lines) EXPECT_EQ(line.find("VORSICHT"), std::string::npos);
  ASSERT_GE(lines.size(), 19u);
  // R: e <- 60 * c(0.5, 0.29995, 0.2); f <- c(30, 20, 10); sum((f - e)^2/e) = 0.556259876646108,
  //    pchisq(0.556259876646108, 2, lower.tail = FALSE) = 0.757198426028105
  EXPECT_EQ(lines[16],
            "Pr\xFC"
            "fgr\xF6\xDF"
            "e:      Chi\xB2 =     0.56");
  EXPECT_EQ(lines[18], "und                p = 0.757198");
}

TEST(GoodnessOfFit, TooFewCategoriesShowTheEmptyDialogAgain) {
  for (const std::string letter : {"G", "A"}) {
    for (const int categories : {0, 1}) {
      Session s;
      std::string script = letter == "G"
                               ? uniform_script(categories ? std::vector<std::string>{"7"} : std::vector<std::string>{})
                               : fit_script(categories ? std::vector<std::pair<std::string, std::string>>{{"7", "1"}}
                                                       : std::vector<std::pair<std::string, std::string>>{});
      std::string label, field;
      // "press 999" names no control: it changes nothing and probes the second dialog.
      s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
        if (a.verb != script::Verb::press || a.id != 999) return;
        label = d.control(IDC_FIT_FREQUENCY_LABEL).text;
        field = d.text(IDC_FIT_FREQUENCY, 11);
      };
      s.run(letter, script + "press 999\n");
      ASSERT_EQ(s.host.messages().size(), 1u) << letter << categories;
      EXPECT_EQ(s.host.messages()[0].text, "Der Stichprobenumfang ist zu klein !");
      EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
      EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
      EXPECT_TRUE(s.host.viewer_calls().empty());
      EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
      EXPECT_EQ(label, "1. H\xE4ufigkeit :");
      EXPECT_EQ(field, "");
      EXPECT_TRUE(s.module.stopped);
    }
  }
  // With no category the listing holds the header, the two rules and the sum line only.
  Session s;
  s.run("G", uniform_script({}));
  const auto lines = s.report_lines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[8], std::string(79, '-'));
  EXPECT_EQ(lines[9], std::string(79, '-'));
  EXPECT_EQ(lines[10], "      Sum           0          0.0     1.0000     1.0000         0.00  1.000000");
}

TEST(GoodnessOfFit, AllZeroFrequenciesAreTooSmallASample) {
  Session s;
  s.run("G", uniform_script({"0", "0", "0"}));
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, "Der Stichprobenumfang ist zu klein !");
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
}

TEST(GoodnessOfFit, NegativeOrFractionalFrequenciesEndTheCall) {
  for (const auto& values : {std::vector<std::string>{"10", "2.5", "30"}, std::vector<std::string>{"-1", "5"}}) {
    Session s;
    // Actions left after the message would be taken by a second dialog; there is none.
    EXPECT_EQ(s.run("G", uniform_script(values) + "type 1004 1\n"), 0);
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].text, "Bitte keine negativen und keine reellen Zahlen verwenden!");
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.host.dialogs_shown().size(), 1u);
    EXPECT_TRUE(s.host.actions_left());
    // The listing was written before the check.
    EXPECT_EQ(s.report_lines().at(5), "Eingelesene Daten:");
  }
  // GLEICH reads no decimal comma: 2,5 is 2, a whole number.
  Session c;
  c.run("G", uniform_script({"10", "2,5", "30"}));
  EXPECT_TRUE(c.host.messages().empty());
  EXPECT_EQ(c.host.viewer_calls().size(), 1u);
}

TEST(GoodnessOfFit, AnpassRefusesEntriesSilently) {
  Session s;
  std::vector<std::string> seen;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::enter) return;
    seen.push_back(d.text(IDC_FIT_FREQUENCY, 11) + "|" + d.text(IDC_FIT_PROBABILITY, 11) + "|" +
                   d.control(IDC_FIT_FREQUENCY_LABEL).text + "|" + d.control(IDC_FIT_PROBABILITY_LABEL).text + "|" +
                   std::to_string(d.focused()));
  };
  // A negative frequency, a probability of 0, then one of each field empty, then a valid pair.
  s.run("A",
        "type 1004 -3\ntype 1104 0.5\nenter\n"
        "type 1004 3\ntype 1104 0\nenter\n"
        "type 1004 \ntype 1104 0.5\nenter\n"
        "type 1004 3\ntype 1104 \nenter\n"
        "type 1104 0.5\nenter\n");
  ASSERT_EQ(seen.size(), 5u);
  const std::string first = "1. H\xE4ufigkeit :|1. Wahrscheinlichkeit:|";
  EXPECT_EQ(seen[0], "-3|0.5|" + first + std::to_string(IDC_FIT_PROBABILITY));
  EXPECT_EQ(seen[1], "3|0|" + first + std::to_string(IDC_FIT_PROBABILITY));
  EXPECT_EQ(seen[2], "|0.5|" + first + std::to_string(IDC_FIT_FREQUENCY));
  EXPECT_EQ(seen[3], "3||" + first + std::to_string(IDC_FIT_PROBABILITY));
  EXPECT_EQ(seen[4], "||2. H\xE4ufigkeit :|2. Wahrscheinlichkeit :|" + std::to_string(IDC_FIT_FREQUENCY));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.module.work.w2[1], 3.0f);
  EXPECT_EQ(s.module.work.w3[1], 0.5f);
}

TEST(GoodnessOfFit, DialogsOpenEmptyAndCountTheCategories) {
  Session s;
  std::vector<std::string> seen;
  int opening_focus = 0, opening_selection = 0;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter)
      seen.push_back(d.control(IDC_FIT_FREQUENCY_LABEL).text + "|" + d.text(IDC_FIT_FREQUENCY, 11) + "|" +
                     std::to_string(d.focused()));
    if (a.verb == script::Verb::press && a.id == 999) {
      opening_focus = d.focused();
      opening_selection = d.selected_text();
    }
  };
  s.run("G", "press 999\ntype 1004 4\nenter\ntype 1004 6\nenter\n");
  EXPECT_EQ(opening_focus, IDC_FIT_FREQUENCY);
  EXPECT_EQ(opening_selection, IDC_FIT_FREQUENCY);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "2. H\xE4ufigkeit :||" + std::to_string(IDC_FIT_FREQUENCY));
  EXPECT_EQ(seen[1], "3. H\xE4ufigkeit :||" + std::to_string(IDC_FIT_FREQUENCY));
  // Nothing ends the entry here: the script runs out and the dialog is cancelled.
  EXPECT_TRUE(s.host.viewer_calls().empty());
  ASSERT_EQ(s.host.dialogs_shown().size(), 1u);
  EXPECT_EQ(s.host.dialogs_shown()[0], "GLEICH");
  EXPECT_EQ(s.host.problems().size(), 1u);  // "press 999": no such control

  // After a report the dialog comes back empty and counts from 1 again.
  Session t;
  std::string label;
  t.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::press && a.id == 999) label = d.control(IDC_FIT_FREQUENCY_LABEL).text;
  };
  t.run("A", fit_script({{"30", "0.5"}, {"30", "0.5"}}) + "press 999\n" + fit_script({{"1", "0.5"}, {"3", "0.5"}}));
  EXPECT_EQ(label, "1. H\xE4ufigkeit :");
  EXPECT_EQ(t.host.viewer_calls().size(), 2u);
  EXPECT_EQ(t.host.dialogs_shown(), (std::vector<std::string>{"ANPASS", "ANPASS", "ANPASS"}));
  // The second report has two categories, 1 and 3: e = 2, c = 0.5.
  // R: pchisq(0.5, 1, lower.tail = FALSE) = 0.479500122186953
  EXPECT_EQ(t.report_lines().at(9), "        1           1  <       2.0     0.2500     0.5000         0.50  0.479500");
}

TEST(GoodnessOfFit, AHundredAndFirstCategoryIsRefusedAndTheHundredAreKept) {
  Session s;
  std::vector<std::string> values;
  for (int i = 0; i < 100; ++i) values.push_back(i % 2 ? "12" : "10");
  std::string script;
  for (const auto& v : values) script += "type 1004 " + v + "\nenter\n";
  int focus = 0, selected = 0;
  std::string kept;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter && a.line == 202) {
      focus = d.focused();
      selected = d.selected_text();
      kept = d.text(IDC_FIT_FREQUENCY, 11) + "|" + d.control(IDC_FIT_FREQUENCY_LABEL).text;
    }
  };
  // Line 201 types the 101st value, 202 presses Enter; then the entry ends.
  s.run("G", script + "type 1004 99\nenter\ntype 1004 \nenter\n");
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
  EXPECT_EQ(s.host.messages()[0].style, 0x2010u);
  EXPECT_EQ(s.host.messages()[0].text,
            "Es sind h\xF6"
            "chstens 100 Kategorien m\xF6glich!\r\r"
            "Die 100 eingegebenen Kategorien bleiben erhalten.\r"
            "<Eingabetaste> bei leerem Feld beendet die Eingabe.");
  EXPECT_EQ(focus, IDC_FIT_FREQUENCY);
  EXPECT_EQ(selected, IDC_FIT_FREQUENCY);
  EXPECT_EQ(kept, "99|101. H\xE4ufigkeit :");
  // The report of the 100 categories.  Last row: c = 1/11,
  // R: pchisq(1/11, 1, lower.tail = FALSE) = 0.763024600552995; the total:
  // R: f <- rep(c(10, 12), 50); pchisq(sum((f - 11)^2/11), 99, lower.tail = FALSE) = 1
  ASSERT_EQ(s.host.viewer_calls().size(), 1u);
  const auto lines = s.report_lines();
  EXPECT_EQ(lines.at(108), "      100          12  >      11.0     0.0109     0.0100         0.09  0.763025");
  EXPECT_EQ(lines.at(109), std::string(79, '-'));
  EXPECT_EQ(lines.at(113), "Erwartete H\xE4ufigkeit =    11.00");
  EXPECT_EQ(lines.at(114),
            "Pr\xFC"
            "fgr\xF6\xDF"
            "e:      Chi\xB2 =     9.09");
  EXPECT_EQ(lines.at(115), "mit Freiheitsgrad fg =       99");
  EXPECT_EQ(lines.at(116), "und                p = 1.000000");
}

TEST(GoodnessOfFit, AReportThatCannotBeWrittenEndsInTheTrap) {
  Session s;
  std::filesystem::create_directories(s.drive.path() / "Ausgabe");  // the report path is a directory
  s.run("G", uniform_script({"10", "20", "30"}));
  ASSERT_EQ(s.host.messages().size(), 2u);
  EXPECT_EQ(s.host.messages()[0].caption, " Zugriffsverletzung!");
  EXPECT_EQ(s.host.messages()[1].caption, " Achtung!");
  EXPECT_EQ(s.host.messages()[1].text, "Berechnung ist nicht m\xF6glich!");
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);  // the dialog again
}

}  // namespace
}  // namespace veltrum
