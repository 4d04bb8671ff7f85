// Letter B: the binomial p-values, the exact and approximate confidence intervals, the BINOM
// dialog rules and the report.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "VELTRUM_R.h"
#include "frequency/binomial.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

struct Limits {
  double lower, upper;
};

// Limits printed to six places must be these reference values; a float result is good to a few
// units of 1e-8.
void expect_limits(const BinomialTest& r, const std::array<Limits, 4>& expected, double tolerance = 1e-7) {
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(r.intervals[i].lower, expected[i].lower, tolerance) << "level " << r.intervals[i].level;
    EXPECT_NEAR(r.intervals[i].upper, expected[i].upper, tolerance) << "level " << r.intervals[i].level;
  }
}

TEST(Binomial, PValuesAgreeWithR) {
  // R: pbinom(0, 10, 0.5) = 0.0009765625
  BinomialTest r = binomial_test(10, 0, 0.5f);
  EXPECT_FLOAT_EQ(r.p_low, 0.0009765625f);
  EXPECT_EQ(r.p_high, 1.0f);
  EXPECT_FLOAT_EQ(r.p_two, 0.001953125f);
  EXPECT_EQ(r.ratio, 0.0f);

  // R: pbinom(9, 10, 0.5, lower.tail = FALSE) = 0.0009765625 = 0.5^10, exact in a float as the
  // upper tail is taken directly.
  r = binomial_test(10, 10, 0.5f);
  EXPECT_EQ(r.p_low, 1.0f);
  EXPECT_FLOAT_EQ(r.p_high, 0.0009765625f);
  EXPECT_FLOAT_EQ(r.p_two, 0.001953125f);

  // R: pbinom(7, 25, 0.4) = 0.153551734755933; pbinom(6, 25, 0.4, lower.tail = FALSE) = 0.926434742169826
  r = binomial_test(25, 7, 0.4f);
  EXPECT_NEAR(r.p_low, 0.153551734755933, 1e-7);
  EXPECT_NEAR(r.p_high, 0.926434742169826, 1e-7);
  EXPECT_NEAR(r.p_two, 0.307103469511867, 2e-7);
  EXPECT_FLOAT_EQ(r.ratio, 0.28f);

  // R: pbinom(37, 100, 0.3) = 0.946954414213075; pbinom(36, 100, 0.3, lower.tail = FALSE) = 0.0798800422937307
  r = binomial_test(100, 37, 0.3f);
  EXPECT_NEAR(r.p_low, 0.946954414213075, 1e-7);
  EXPECT_NEAR(r.p_high, 0.0798800422937307, 1e-7);
  EXPECT_NEAR(r.p_two, 2 * 0.0798800422937307, 2e-7);

  // k near n theta0: both tails above 1/2, p2 = 1.
  // R: pbinom(5, 10, 0.5) = 0.623046875 = pbinom(4, 10, 0.5, lower.tail = FALSE)
  r = binomial_test(10, 5, 0.5f);
  EXPECT_NEAR(r.p_low, 0.623046875, 1e-7);
  EXPECT_NEAR(r.p_high, 0.623046875, 1e-7);
  EXPECT_EQ(r.p_two, 1.0f);

  // R: pbinom(20000, 40000, 0.5) = 0.5019946989351
  r = binomial_test(40000, 20000, 0.5f);
  EXPECT_NEAR(r.p_low, 0.5019946989351, 1e-6);
  EXPECT_NEAR(r.p_high, 0.5019946989351, 1e-6);
  EXPECT_EQ(r.p_two, 1.0f);
}

TEST(Binomial, ExactIntervalsAgreeWithClopperPearson) {
  // Limits: R: binom.test(k, n, conf.level = P)$conf.int for P = 0.90, 0.95, 0.98, 0.99
  expect_limits(binomial_test(25, 7, 0.4f), {{{0.139475306578930, 0.462208921703645},
                                              {0.120716688504067, 0.493876821806255},
                                              {0.101015984370605, 0.530561409380138},
                                              {0.0888898433918276, 0.5553155226497157}}});
  expect_limits(binomial_test(100, 37, 0.3f), {{{0.289355367440998, 0.456565906520074},
                                                {0.275566579614551, 0.472351640551683},
                                                {0.259907817564629, 0.490730050865322},
                                                {0.249487066774738, 0.503241203334749}}});
  expect_limits(binomial_test(2, 1, 0.5f), {{{0.0253205655191036, 0.9746794344808963},
                                             {0.0125791170934251, 0.9874208829065749},
                                             {0.00501256289338005, 0.99498743710661997},
                                             {0.00250313283699984, 0.99749686716300012}}});
  expect_limits(binomial_test(50, 49, 0.5f), {{{0.908601869280303, 0.998974660132768},
                                               {0.893530454288500, 0.999493772016959},
                                               {0.874476283541447, 0.999799013483427},
                                               {0.860595875438928, 0.999899754188476}}});
  // Both counts just below 16000: still exact, with F degrees of freedom about 20000.
  const BinomialTest big = binomial_test(20000, 10000, 0.5f);
  expect_limits(big, {{{0.494159836264327, 0.505840163735673},
                       {0.493045903841824, 0.506954096158176},
                       {0.491750782313541, 0.508249217686459},
                       {0.49086894317075, 0.50913105682925}}});
  for (const auto& b : big.intervals) {
    EXPECT_FALSE(b.approximate);
    EXPECT_FALSE(b.one_sided);
  }
}

TEST(Binomial, AllSuccessesOrNoneGiveOneSidedIntervals) {
  // k = 0: [0, U] with U the one-sided limit at level P.
  // R: binom.test(0, 10, alternative = "less", conf.level = P)$conf.int[2]; for P = 0.9 it is
  // 1 - 0.1^(1/10).
  const BinomialTest none = binomial_test(10, 0, 0.5f);
  expect_limits(none,
                {{{0, 0.205671765275719}, {0, 0.258865550893052}, {0, 0.323756662193759}, {0, 0.369042655519807}}});
  // k = n: [L, 1].  R: binom.test(10, 10, alternative = "greater", conf.level = P)$conf.int[1]
  const BinomialTest all = binomial_test(10, 10, 0.5f);
  expect_limits(all,
                {{{0.794328234724281, 1}, {0.741134449106948, 1}, {0.676243337806241, 1}, {0.630957344480193, 1}}});
  // n = 1: R: binom.test(1, 1, alternative = "greater", conf.level = P)$conf.int[1] = 1 - P
  expect_limits(binomial_test(1, 1, 0.5f), {{{0.10, 1}, {0.05, 1}, {0.02, 1}, {0.01, 1}}});
  for (const auto* r : {&none, &all}) {
    for (const auto& b : r->intervals) {
      EXPECT_TRUE(b.one_sided);
      EXPECT_FALSE(b.approximate);
    }
  }
  EXPECT_EQ(none.intervals[0].lower, 0.0f);
  EXPECT_EQ(all.intervals[3].upper, 1.0f);
}

TEST(Binomial, LargeCountsUseTheNormalApproximation) {
  // R, the approximation written out:
  //   ap <- function(n, k, P) { z <- qnorm((1 + P)/2); A <- (z^2 + 2)/3; B <- (7 - z^2)/18
  //     D <- n + 2*A - 1; S <- n + 11*B - 4
  //     c((k - 1 + A - z*sqrt((k - B)*(n - k + 1 - B)/S))/D, (k + A + z*sqrt((k + 1 - B)*(n - k - B)/S))/D) }
  //   ap(40000, 20000, P)
  const BinomialTest r = binomial_test(40000, 20000, 0.5f);
  expect_limits(r,
                {{{0.495875461829428, 0.504124538170572},
                  {0.495087739193834, 0.504912260806166},
                  {0.494171864575373, 0.505828135424627},
                  {0.493548235448268, 0.506451764551732}}},
                2e-7);
  for (const auto& b : r.intervals) {
    EXPECT_TRUE(b.approximate);
    EXPECT_FALSE(b.one_sided);
  }
  // And it is close to the exact limits there.
  // R: binom.test(20000, 40000, conf.level = 0.95)$conf.int = 0.495087739207157 0.504912260792843
  EXPECT_NEAR(r.intervals[1].lower, 0.495087739207157, 1e-6);

  // Either count at 16000 or more switches: k = 16000 of 20000; n - k = 16000 of 31999.
  // R: ap(20000, 16000, 0.95) = 0.794387954436295 0.805524709311705
  BinomialInterval b = binomial_interval(20000, 16000, 0.95f);
  EXPECT_TRUE(b.approximate);
  EXPECT_NEAR(b.lower, 0.794387954436295, 1e-7);
  EXPECT_NEAR(b.upper, 0.805524709311705, 1e-7);
  // R: ap(31999, 15999, 0.95) = 0.494490607570132 0.505478144290366
  b = binomial_interval(31999, 15999, 0.95f);
  EXPECT_TRUE(b.approximate);
  EXPECT_NEAR(b.lower, 0.494490607570132, 1e-7);
  EXPECT_NEAR(b.upper, 0.505478144290366, 1e-7);
  // R: binom.test(15999, 31998, conf.level = 0.95)$conf.int = 0.494506145578041 0.505493854421959
  b = binomial_interval(31998, 15999, 0.95f);
  EXPECT_FALSE(b.approximate);
  EXPECT_NEAR(b.lower, 0.494506145578041, 1e-7);
  EXPECT_NEAR(b.upper, 0.505493854421959, 1e-7);
  // The approximate limits are not clamped: R: ap(50000, 3, 0.95) = 1.30627901422675e-05 1.75591702909191e-04
  b = binomial_interval(50000, 3, 0.95f);
  EXPECT_NEAR(b.lower, 1.30627901422675e-05, 1e-9);
  EXPECT_NEAR(b.upper, 1.75591702909191e-04, 1e-9);
}

TEST(Binomial, LargeSamplesWithNoneOrAllSuccessesGetTheExactOneSidedLimit) {
  // The approximation has no real lower (upper) limit at k = 0 (k = n); the exact one-sided
  // limits take its place.
  // R: binom.test(0, 20000, alternative = "less", conf.level = P)$conf.int[2]
  const BinomialTest none = binomial_test(20000, 0, 0.5f);
  expect_limits(
      none,
      {{{0, 0.000115122627531392}, {0, 0.000149775396222963}, {0, 0.000195582021613630}, {0, 0.000230232001843414}}},
      1e-10);  // the levels are floats: 0.9f is 0.9 - 2.4e-8, which moves U by 1.2e-11
  // R: binom.test(20000, 20000, alternative = "greater", conf.level = P)$conf.int[1]
  const BinomialTest all = binomial_test(20000, 20000, 0.5f);
  expect_limits(all,
                {{{0.999884877372469, 1}, {0.999850224603777, 1}, {0.999804417978386, 1}, {0.999769767998157, 1}}});
  for (const auto* r : {&none, &all})
    for (const auto& b : r->intervals) {
      EXPECT_TRUE(b.one_sided);
      EXPECT_TRUE(std::isfinite(b.lower) && std::isfinite(b.upper));
    }
}

TEST(Binomial, ReportsMatchTheGoldenFiles) {
  Session a;
  EXPECT_EQ(a.run("B", "type 901 10\ntype 902 0\ntype 903 0.5\nenter"), 0);
  EXPECT_EQ(a.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/B_10_0.txt"));
  EXPECT_EQ(a.host.viewer_calls().size(), 1u);

  Session b;
  b.run("B", "type 101 M\xC3\xBCnze\ntype 901 25\ntype 902 7\ntype 903 0.4\nenter");
  EXPECT_EQ(b.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/B_25_7_keyword.txt"));

  Session c;
  c.run("B", "type 901 40000\ntype 902 20000\ntype 903 .5\nenter");
  EXPECT_EQ(c.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/B_40000_20000.txt"));
}

// P(k >= k0) is the upper tail itself: at six decimals the report gives R's rounding where
// 1 - P(X <= k0 - 1) gave the neighbouring last digit.
TEST(Binomial, ReportedUpperPIsTheUpperTail) {
  const struct {
    const char *n, *k, *line;
  } cases[] = {
      // R: pbinom(5, 19, 0.40000000596046448, lower.tail = FALSE) = 0.8370775305 (1 - F gave 0.837077)
      {"19", "6", "Zur Alternative Ha(theta>theta0): P(k>=6) = p = 0.837078"},
      // R: pbinom(22, 31, 0.40000000596046448, lower.tail = FALSE) = 0.0001185022 (1 - F gave 0.000118)
      {"31", "23", "Zur Alternative Ha(theta>theta0): P(k>=23) = p = 0.000119"},
      // R: pbinom(21, 44, 0.40000000596046448, lower.tail = FALSE) = 0.1156844828 (1 - F gave 0.115685)
      {"44", "22", "Zur Alternative Ha(theta>theta0): P(k>=22) = p = 0.115684"},
  };
  for (const auto& c : cases) {
    Session s;
    s.run("B", std::string("type 901 ") + c.n + "\ntype 902 " + c.k + "\ntype 903 0.4\nenter");
    EXPECT_EQ(s.report_lines().at(17), c.line);
  }
}

TEST(Binomial, AllSuccessesMarkEveryIntervalOneSided) {
  Session s;
  s.run("B", "type 901 10\ntype 902 10\ntype 903 0.5\nenter");
  const auto lines = s.report_lines();
  // R: binom.test(10, 10, alternative = "greater", conf.level = 0.9)$conf.int[1] = 0.794328234724281
  ASSERT_GE(lines.size(), 31u);
  EXPECT_EQ(lines[17], "Zur Alternative Ha(theta>theta0): P(k>=10) = p = 0.000977");
  EXPECT_EQ(lines[27], "P = 0.90: ( 0.794328 , 1.000000 ) (einseitig!)");
  for (int i = 27; i <= 30; ++i) EXPECT_NE(lines[i].find(" ) (einseitig!)"), std::string::npos) << lines[i];
}

TEST(Binomial, DialogRules) {
  // theta0 with a decimal comma reads as 0 and is refused; the focus goes to its field.
  Session s;
  int focus = 0;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) focus = d.focused();
  };
  s.run("B", "type 901 12\ntype 902 3\ntype 903 0,5\nenter");
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, "Wahrscheinlichkeiten p nur 0<p<1!");
  EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
  EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
  EXPECT_EQ(focus, IDC_BINOM_THETA);
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_EQ(s.module.remembered.wide[0], 0);  // nothing stored

  // theta0 of 0 or 1 and n of 0 keep the dialog open with their messages.
  for (const auto& [n, theta, text] : {std::tuple{"12", "1", "Wahrscheinlichkeiten p nur 0<p<1!"},
                                       std::tuple{"12", "0", "Wahrscheinlichkeiten p nur 0<p<1!"},
                                       std::tuple{"0", "0.5", "Anzahl Versuche immer > 0 !"},
                                       std::tuple{"-4", "0.5", "Anzahl Versuche immer > 0 !"}}) {
    Session t;
    bool open = false;
    t.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::enter) open = !d.ended(), focus = d.focused();
    };
    t.run("B", std::string("type 901 ") + n + "\ntype 902 3\ntype 903 " + theta + "\nenter");
    ASSERT_EQ(t.host.messages().size(), 1u);
    EXPECT_EQ(t.host.messages()[0].text, text);
    EXPECT_TRUE(open);
    EXPECT_EQ(focus, text[0] == 'A' ? IDC_BINOM_N : IDC_BINOM_THETA);
  }

  // n typed as 12,0 is 12, and the field shows the corrected text; k above n becomes n and the
  // field shows it.
  Session u;
  std::string fields;
  u.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) fields = d.text(IDC_BINOM_N, 9) + "|" + d.text(IDC_BINOM_K, 9);
  };
  u.run("B", "type 901 12,0\ntype 902 15\ntype 903 0.5\nenter");
  EXPECT_TRUE(u.host.messages().empty());
  EXPECT_EQ(fields, "12.0|12");
  EXPECT_EQ(u.module.remembered.wide[0], 12);
  EXPECT_EQ(u.module.remembered.wide[1], 12);
  EXPECT_EQ(u.report_lines().at(5), "Anzahl Versuche n = 12");
  EXPECT_EQ(u.report_lines().at(6), "Anzahl Erfolge  k = 12");

  // Counts round: 12.5 is 13 (the largest whole number not above 13.0), k = 2.5 is 3.
  Session v;
  v.run("B", "type 901 12.5\ntype 902 2,5\ntype 903 0.5\nenter");
  EXPECT_EQ(v.module.remembered.wide[0], 13);
  EXPECT_EQ(v.module.remembered.wide[1], 3);
}

TEST(Binomial, NegativeSuccessesAreTakenAsNone) {
  Session s;
  std::string k_field;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) k_field = d.text(IDC_BINOM_K, 9);
  };
  s.run("B", "type 901 10\ntype 902 -3\ntype 903 0.5\nenter");
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(k_field, "0");
  EXPECT_EQ(s.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/B_10_0.txt"));
}

TEST(Binomial, EmptyFieldsOnlyTakeTheFocus) {
  Session s;
  std::vector<int> focus;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) focus.push_back(d.focused());
  };
  s.run("B", "enter\ntype 901 10\nenter\ntype 902 4\nenter\ntype 903 0.5\nenter");
  EXPECT_EQ(focus, (std::vector<int>{IDC_BINOM_N, IDC_BINOM_K, IDC_BINOM_THETA, IDC_BINOM_THETA}));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
}

TEST(Binomial, SecondPassShowsTheLastInputAndClearKeepsTheValues) {
  Session s;
  std::vector<std::string> seen;
  int focus = 0, selected = 0;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::press) return;
    if (a.id == 999) focus = d.focused(), selected = d.selected_text();
    seen.push_back(d.text(IDC_BINOM_KEYWORD, 254) + "|" + d.text(IDC_BINOM_N, 9) + "|" + d.text(IDC_BINOM_K, 9) + "|" +
                   d.text(IDC_BINOM_THETA, 9) + "|" + std::to_string(d.focused()));
  };
  // "press 999" names no control: it probes the second dialog as it opens.
  s.run("B", "type 101 Los\ntype 901 25\ntype 902 7\ntype 903 0.4\nenter\npress 999\npress 3\nescape");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Los|25|7|.4|" + std::to_string(IDC_BINOM_KEYWORD));
  EXPECT_EQ(focus, IDC_BINOM_KEYWORD);
  EXPECT_EQ(selected, IDC_BINOM_KEYWORD);
  EXPECT_EQ(seen[1], "||||" + std::to_string(IDC_BINOM_KEYWORD));
  EXPECT_EQ(s.module.remembered.wide[0], 25);
  EXPECT_EQ(s.module.remembered.wide[1], 7);
  EXPECT_FLOAT_EQ(s.module.remembered.real[0], 0.4f);
  EXPECT_EQ(s.module.keyword, "Los");
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"BINOM", "BINOM"}));
}

}  // namespace
}  // namespace veltrum
