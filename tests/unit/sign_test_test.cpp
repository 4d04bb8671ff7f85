// Letter V: the sign counts, the binomial tail of the smaller count and the report lines.
// Reference values from R 4.2: pbinom(k, n, 0.5) and binom.test(k, n)$p.value.
#include <gtest/gtest.h>

#include "paired/sign_test.hpp"
#include "paired_test_support.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_pairs;
using testing::written_lines;

// Pairs with the given numbers of x < y, x = y and x > y, in that order.
PairTable counted(int minus, int zero, int plus) {
  std::vector<float> x, y;
  for (int i = 0; i < minus; ++i) x.push_back(1), y.push_back(2.5f);
  for (int i = 0; i < zero; ++i) x.push_back(3), y.push_back(3);
  for (int i = 0; i < plus; ++i) x.push_back(4), y.push_back(-1);
  return make_pairs(x, y);
}

TEST(SignTest, AgreesWithRsBinomialTest) {
  const struct {
    int minus, zero, plus;
    double p1;  // pbinom(k, minus + plus, 0.5)
    double p2;  // binom.test(k, minus + plus)$p.value
  } cases[] = {
      {2, 1, 7, 0.08984375, 0.1796875},
      {9, 1, 0, 0.001953125, 0.00390625},
      {4, 2, 6, 0.376953125, 0.75390625},
      {5, 0, 5, 0.623046875, 1},  // equal counts: k = plus, P1 above 0.5, so p2 = 1
      {480, 20, 501, 0.2615680587, 0.5231361174},
      {0, 3, 0, 1, 1},  // all pairs tied: n* = 0 and k = 0 go to the binomial as they are
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.minus) + " " + std::to_string(c.zero) + " " + std::to_string(c.plus));
    const SignTest s = sign_test(counted(c.minus, c.zero, c.plus));
    EXPECT_EQ(s.minus, static_cast<float>(c.minus));
    EXPECT_EQ(s.zero, static_cast<float>(c.zero));
    EXPECT_EQ(s.plus, static_cast<float>(c.plus));
    EXPECT_EQ(s.signed_pairs, static_cast<float>(c.minus + c.plus));
    EXPECT_EQ(s.k, static_cast<float>(c.plus > c.minus ? c.minus : c.plus));
    EXPECT_NEAR(s.p1, c.p1, 1e-6 * c.p1);
    EXPECT_NEAR(s.p2, c.p2, 1e-6 * c.p2);
  }
}

TEST(SignTest, FirstMinusSecondCountsXAboveYAsPlus) {
  const SignTest s = sign_test(make_pairs({5, 1, 2}, {3, 1, 7}));
  EXPECT_EQ(s.plus, 1.0f);
  EXPECT_EQ(s.zero, 1.0f);
  EXPECT_EQ(s.minus, 1.0f);
}

TEST(SignTest, ReportLines) {
  const auto lines = written_lines([](ReportFile& r) { write_sign_test(r, sign_test(counted(4, 2, 6))); });
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Vorzeichen   |     -     0     +  |");
  EXPECT_EQ(lines[1], "-----------------------------------");
  EXPECT_EQ(lines[2], "H\xE4ufigkeiten |     4     2     6  |");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "Binomial-Wahrscheinlichkeit p = 0.376953 (exakt, ein!seitig)");
  EXPECT_EQ(lines[5], "Binomial-Wahrscheinlichkeit p = 0.753906 (exakt, zweiseitig)");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "Literatur:");
}

}  // namespace
}  // namespace veltrum
