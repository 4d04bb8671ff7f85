// Letter H: the HAUFIG dialog rules, the statistics and the report.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "frequency/two_frequencies.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

TEST(TwoFrequencies, StatisticsAgreeWithR) {
  // chi = (|0 - 7| - 1)^2 / 7 = 36/7; R: pchisq(36/7, 1, lower.tail = FALSE) = 0.02334220201
  // R: pbinom(0, 7, 0.5) = 0.0078125
  TwoFrequencies r = compare_frequencies(0, 7);
  EXPECT_FLOAT_EQ(r.chi, 36.0f / 7.0f);
  EXPECT_NEAR(r.p_chi, 0.0233422, 2e-7);
  EXPECT_FLOAT_EQ(r.p_one, 0.0078125f);
  EXPECT_FLOAT_EQ(r.p_two, 0.015625f);

  // Equal frequencies: chi = 1/n.  R: pbinom(10, 20, 0.5) = 0.5880985; two-sided p is then 1.
  // R: pchisq(0.05, 1, lower.tail = FALSE) = 0.8230632738
  r = compare_frequencies(10, 10);
  EXPECT_FLOAT_EQ(r.chi, 0.05f);
  EXPECT_NEAR(r.p_chi, 0.8230633, 1e-6);
  EXPECT_NEAR(r.p_one, 0.5880985, 1e-6);
  EXPECT_EQ(r.p_two, 1.0f);

  // chi = (17 - 1)^2 / 31.  R: pchisq(256/31, 1, lower.tail = FALSE) = 0.004057136032
  // R: pbinom(7, 31, 0.5) = 0.001663446426; 2 * pbinom(7, 31, 0.5) = 0.003326892853
  r = compare_frequencies(24, 7);
  EXPECT_FLOAT_EQ(r.chi, 256.0f / 31.0f);
  // The upper tail is taken directly, so it keeps a float's relative precision.
  EXPECT_NEAR(r.p_chi, 0.004057136032, 2e-9);
  EXPECT_NEAR(r.p_one, 0.001663446426, 1e-9);
  EXPECT_NEAR(r.p_two, 0.003326892853, 2e-9);

  // The larger group of the pair does not matter: the statistic is symmetric.
  const TwoFrequencies a = compare_frequencies(3, 11), b = compare_frequencies(11, 3);
  EXPECT_EQ(a.chi, b.chi);
  EXPECT_EQ(a.p_one, b.p_one);
}

// The chi-square p of the report is the upper tail itself: at six decimals the report gives R's
// rounding where 1 - F, formed from a float F near 1, gave the neighbouring last digit.
TEST(TwoFrequencies, ReportedPIsTheUpperTail) {
  const struct {
    const char *n1, *n2, *line;
  } cases[] = {
      // R: pchisq(14.769230842590332, 1, lower.tail = FALSE) = 0.0001215020 (1 - F gave 0.000121)
      {"7", "32",
       "Pr\xFC"
       "fgr\xF6\xDF"
       "e Chi\xB2= 14.77 : p=0.000122 zweiseitig"},
      // R: pchisq(1.2307692766189575, 1, lower.tail = FALSE) = 0.2672574842 (1 - F gave 0.267258)
      {"4", "9",
       "Pr\xFC"
       "fgr\xF6\xDF"
       "e Chi\xB2=  1.23 : p=0.267257 zweiseitig"},
      // R: pchisq(10.472726821899414, 1, lower.tail = FALSE) = 0.0012114977 (1 - F gave 0.001212)
      {"15", "40",
       "Pr\xFC"
       "fgr\xF6\xDF"
       "e Chi\xB2= 10.47 : p=0.001211 zweiseitig"},
  };
  for (const auto& c : cases) {
    Session s;
    s.run("H", std::string("type 102 ") + c.n1 + "\ntype 103 " + c.n2 + "\nenter");
    EXPECT_EQ(s.report_lines().at(7), c.line);
  }
}

TEST(TwoFrequencies, ReportMatchesTheGoldenFile) {
  Session s;
  EXPECT_EQ(s.run("H", "type 102 0\ntype 103 7\nenter"), 0);
  EXPECT_EQ(s.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/H_0_7.txt"));

  Session k;
  k.run("H", "type 101 W\xC3\xBCrfel\ntype 102 200\ntype 103 0\nenter");
  EXPECT_EQ(k.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/H_200_0_keyword.txt"));
}

TEST(TwoFrequencies, InvalidFrequenciesKeepTheDialogOpen) {
  for (const auto& [n1, n2] : {std::pair{"0", "0"}, std::pair{"-1", "5"}, std::pair{"5", "-2"}, std::pair{"40000", "3"},
                               std::pair{"abc", "0"}}) {
    Session s;
    int checked = 0;
    s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
      if (a.verb != script::Verb::enter) return;
      EXPECT_FALSE(d.ended());
      EXPECT_EQ(d.focused(), IDC_HAUFIG_N1);
      EXPECT_EQ(d.selected_text(), IDC_HAUFIG_N1);
      ++checked;
    };
    EXPECT_EQ(s.run("H", std::string("type 102 ") + n1 + "\ntype 103 " + n2 + "\nenter"), 0);
    EXPECT_EQ(checked, 1);
    ASSERT_EQ(s.host.messages().size(), 1u) << n1 << " " << n2;
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(s.host.messages()[0].text,
              "Bitte \xFC"
              "berpr\xFC"
              "fen Sie die Eingabe!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
    EXPECT_TRUE(s.host.viewer_calls().empty());
  }
}

TEST(TwoFrequencies, EmptyFieldOnlyTakesTheFocus) {
  Session s;
  std::vector<int> focus;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) focus.push_back(d.focused());
  };
  s.run("H", "enter\ntype 102 4\nenter\ntype 103 5\nenter");
  EXPECT_EQ(focus, (std::vector<int>{IDC_HAUFIG_N1, IDC_HAUFIG_N2, IDC_HAUFIG_N2}));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
}

TEST(TwoFrequencies, EntriesRoundHalvesToEven) {
  Session s;
  s.run("H", "type 102 12.5\ntype 103 13.5\nenter");
  EXPECT_EQ(s.module.remembered.whole[0], 12);
  EXPECT_EQ(s.module.remembered.whole[1], 14);
  EXPECT_EQ(s.report_lines().at(5), "Vergleiche die absoluten H\xE4ufigkeiten n1=12 und n2=14:");
}

TEST(TwoFrequencies, SecondPassShowsTheLastInputAndClearKeepsTheValues) {
  Session s;
  std::vector<std::string> seen;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::press && a.id == IDC_LOESCHEN) {
      seen.push_back(d.text(IDC_HAUFIG_KEYWORD, 254) + "|" + d.text(IDC_HAUFIG_N1, 9) + "|" + d.text(IDC_HAUFIG_N2, 9) +
                     "|" + std::to_string(d.focused()));
    }
  };
  // First pass computes; the second shows the inputs again, "&Löschen" empties the fields but
  // the stored values stay, and Escape ends.
  s.run("H", "type 101 Stich\ntype 102 8\ntype 103 3\nenter\npress 3\nescape");
  ASSERT_EQ(s.host.dialogs_shown().size(), 2u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "|||" + std::to_string(IDC_HAUFIG_KEYWORD));
  EXPECT_EQ(s.module.remembered.whole[0], 8);
  EXPECT_EQ(s.module.remembered.whole[1], 3);
  EXPECT_EQ(s.module.keyword, "Stich");
}

TEST(TwoFrequencies, DialogIsPrefilledFromTheRememberedInput) {
  Session s;
  std::string prefilled;
  int focus = 0, selected = 0;
  // "tick 999" names no control of HAUFIG: it changes nothing and serves as a probe of the second
  // dialog's opening state.
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::tick) return;
    prefilled = d.text(IDC_HAUFIG_KEYWORD, 254) + "|" + d.text(IDC_HAUFIG_N1, 9) + "|" + d.text(IDC_HAUFIG_N2, 9);
    focus = d.focused();
    selected = d.selected_text();
  };
  s.run("H", "type 101 Stich\ntype 102 8\ntype 103 0\nenter\ntick 999");
  EXPECT_EQ(s.host.problems().size(), 1u);
  // n2 = 0 is not shown again; the keyword field has the focus with its text selected.
  EXPECT_EQ(prefilled, "Stich|8|");
  EXPECT_EQ(focus, IDC_HAUFIG_KEYWORD);
  EXPECT_EQ(selected, IDC_HAUFIG_KEYWORD);
}

TEST(TwoFrequencies, FieldsAreReadWithTheirCharacterLimits) {
  Session s;
  // Nine characters of "1234567890" are read: 123456789 is beyond the 16-bit range and refused.
  s.run("H", "type 102 1234567890\ntype 103 1\nenter");
  EXPECT_EQ(s.host.messages().size(), 1u);
  // "00000000012" has its 12 beyond the ninth character: 0 and 1 give n = 1, accepted.
  Session t;
  t.run("H", "type 102 00000000012\ntype 103 1\nenter");
  EXPECT_TRUE(t.host.messages().empty());
  EXPECT_EQ(t.module.remembered.whole[0], 0);
}

}  // namespace
}  // namespace veltrum
