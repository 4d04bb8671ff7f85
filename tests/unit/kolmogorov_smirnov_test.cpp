// The two-sample Kolmogorov-Smirnov test: D on the class grid against R's ks.test, the critical
// value tables against R's exact distribution, the significance classes of the three kinds of
// critical values, and the result line.
#include "independent/kolmogorov_smirnov.hpp"

#include <gtest/gtest.h>

#include "frame/errors.hpp"
#include "independent/ks_critical_values.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_table;

TEST(KolmogorovSmirnov, ExactTablesAgreeWithTheExactNullDistribution) {
  // For m <= n: the entry k of each level and R's P(mnD >= k) (at most the level), and P at the
  // attainable value just below k (above the level); an entry of 0 where even the largest D,
  // D = 1, has P above the level.
  // R: pge <- function(k, m, n) psmirnov(k / (m * n) - 1e-9, sizes = c(m, n), lower.tail = FALSE)
  struct Level {
    int entry;
    double p_at, p_below;  // p_below: P(D = 1) for an entry of 0
  };
  struct Row {
    int m, n;
    Level levels[3];  // 0.10, 0.05, 0.01
  };
  const Row rows[] = {
      {2, 3, {{0, 0.2, 0}, {0, 0.2, 0}, {0, 0.2, 0}}},
      {3, 3, {{9, 0.1, 0.6}, {0, 0.1, 0}, {0, 0.1, 0}}},
      {5, 7, {{25, 0.0656565657, 0.1161616162}, {28, 0.0303030303, 0.0656565657}, {35, 0.0025252525, 0.0151515152}}},
      {10, 10, {{60, 0.0524475524, 0.1678213427}, {70, 0.0123406006, 0.0524475524}, {80, 0.0020567668, 0.0123406006}}},
      {12,
       25,
       {{120, 0.0964704456, 0.1053534637}, {138, 0.0481390761, 0.0516195734}, {165, 0.0095826931, 0.0106169266}}},
      {2, 25, {{42, 0.0854700855, 0.1196581197}, {46, 0.0341880342, 0.0569800570}, {50, 0.0056980057, 0.0170940171}}},
      {25,
       25,
       {{225, 0.0778983655, 0.1557602520}, {250, 0.0356113703, 0.0778983655}, {300, 0.0056144105, 0.0148380846}}},
  };
  const std::int16_t* tables[] = {ks::exact_10, ks::exact_05, ks::exact_01};
  const double levels[] = {0.10, 0.05, 0.01};
  for (const Row& r : rows) {
    for (int t = 0; t < 3; ++t) {
      SCOPED_TRACE(::testing::Message() << "m = " << r.m << ", n = " << r.n << ", level " << levels[t]);
      const Level& l = r.levels[t];
      EXPECT_EQ(tables[t][ks::exact_position(r.m, r.n) - 1], l.entry);
      // The reference itself says why the entry is right.
      if (l.entry > 0)
        EXPECT_TRUE(l.p_at <= levels[t] && l.p_below > levels[t]);
      else
        EXPECT_GT(l.p_at, levels[t]);
    }
  }
}

TEST(KolmogorovSmirnov, SignificanceClasses) {
  struct Case {
    int n1, n2;
    float d;
    KsCriticalValues table;
    float level;
    const char* line;
  };
  const Case cases[] = {
      // 10 and 10: entries 60, 70, 80.
      {10, 10, 0.5f, KsCriticalValues::exact, 0.5f, " 0.5000 ( p > 0.1000 (exakter Test) )"},
      {10, 10, 0.6f, KsCriticalValues::exact, 0.10f, " 0.6000 ( p < 0.1000 (exakter Test) )"},
      {10, 10, 0.7f, KsCriticalValues::exact, 0.05f, " 0.7000 ( p < 0.0500 (exakter Test) )"},
      {10, 10, 0.8f, KsCriticalValues::exact, 0.01f, " 0.8000 ( p < 0.0100 (exakter Test) )"},
      {10, 10, 1, KsCriticalValues::exact, 0.01f, " 1.0000 ( p < 0.0100 (exakter Test) )"},
      // 2 and 3: no level can be reached.
      {2, 3, 1, KsCriticalValues::exact, 0.5f, " 1.0000 ( p > 0.1000 (exakter Test) )"},
      {3, 2, 1, KsCriticalValues::exact, 0.5f, " 1.0000 ( p > 0.1000 (exakter Test) )"},
      // 3 and 3: 0.10 at D = 1 (entry 9), nothing stronger.
      {3, 3, 1, KsCriticalValues::exact, 0.10f, " 1.0000 ( p < 0.1000 (exakter Test) )"},
      // 30 and 30, e = 15: 0.304, 0.338, 0.404.
      {30, 30, 0.3f, KsCriticalValues::effective, 0.5f, " 0.3000 ( p > 0.1000 (exakter Test) )"},
      {30, 30, 10 / 30.0f, KsCriticalValues::effective, 0.10f, " 0.3333 ( p < 0.1000 (exakter Test) )"},
      {30, 30, 11 / 30.0f, KsCriticalValues::effective, 0.05f, " 0.3667 ( p < 0.0500 (exakter Test) )"},
      {30, 30, 13 / 30.0f, KsCriticalValues::effective, 0.01f, " 0.4333 ( p < 0.0100 (exakter Test) )"},
      // 26 and 2000: e = 25 (table entries 0.242, 0.269, 0.323); one group above 25 is enough.
      {26, 2000, 0.25f, KsCriticalValues::effective, 0.10f, " 0.2500 ( p < 0.1000 (exakter Test) )"},
      // 100 and 100, e = 50: K sqrt(0.02) = 0.1513, 0.1612, 0.1725, 0.1923, 0.2305, 0.2758 (R).
      {100, 100, 0.15f, KsCriticalValues::asymptotic, 0.5f, " 0.1500 ( p > 0.2000 (approximativ) )"},
      {100, 100, 0.16f, KsCriticalValues::asymptotic, 0.20f, " 0.1600 ( p < 0.2000 (approximativ) )"},
      {100, 100, 0.17f, KsCriticalValues::asymptotic, 0.15f, " 0.1700 ( p < 0.1500 (approximativ) )"},
      {100, 100, 0.18f, KsCriticalValues::asymptotic, 0.10f, " 0.1800 ( p < 0.1000 (approximativ) )"},
      {100, 100, 0.20f, KsCriticalValues::asymptotic, 0.05f, " 0.2000 ( p < 0.0500 (approximativ) )"},
      {100, 100, 0.27f, KsCriticalValues::asymptotic, 0.01f, " 0.2700 ( p < 0.0100 (approximativ) )"},
      {100, 100, 0.28f, KsCriticalValues::asymptotic, 0.001f, " 0.2800 ( p < 0.0010 (approximativ) )"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.n1 << " and " << c.n2 << ", D = " << c.d);
    KolmogorovSmirnov r;
    r.n1 = c.n1, r.n2 = c.n2, r.d = c.d;
    ks_classify(r);
    EXPECT_EQ(r.table, c.table);
    EXPECT_EQ(r.level, c.level);
    const auto lines = testing::written_lines([&](ReportFile& rep) { write_kolmogorov_smirnov(rep, r); });
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], std::string("Kolmogoroff-Smirnoff's delta =") + c.line);
  }
}

TEST(KolmogorovSmirnov, DistanceOnTheClassGrid) {
  struct Case {
    const char* name;
    std::vector<float> x, y;
    float d;
  };
  const Case cases[] = {
      // R: ks.test(PlantGrowth$weight[1:10], PlantGrowth$weight[11:20])$statistic = 0.4; the
      // values lie 0.01 and more apart, the class width is 2.52/998.
      {"ctrl, trt1",
       {4.17, 5.58, 5.18, 6.11, 4.50, 4.61, 5.17, 4.53, 5.33, 5.14},
       {4.81, 4.17, 4.41, 3.59, 5.87, 3.83, 6.03, 4.89, 4.32, 4.69},
       0.4f},
      // R: ks.test(PlantGrowth$weight[11:20], PlantGrowth$weight[21:30])$statistic = 0.8.
      {"trt1, trt2",
       {4.81, 4.17, 4.41, 3.59, 5.87, 3.83, 6.03, 4.89, 4.32, 4.69},
       {6.31, 5.12, 5.54, 5.50, 5.37, 5.29, 4.92, 6.15, 5.80, 5.26},
       0.8f},
      // Unequal sizes, R: ks.test(c(1, 3, 5, 7, 9, 11), c(2, 4, 6))$statistic = 0.5
      // (the largest value 11 goes to class 999, the smallest to class 1).
      {"6 and 3", {1, 3, 5, 7, 9, 11}, {2, 4, 6}, 0.5f},
      // Values closer than the class width (998 / 998 = 1) share a class: on the grid all of
      // 0 .. 0.7 are one value and D = 0, where R's ks.test on the raw values gives 0.75.
      {"merged", {0, 0.2f, 0.4f, 998}, {0.5f, 0.6f, 0.7f, 998}, 0},
      // All values equal: the class width is 0, both distribution functions jump at the same
      // place and D = 0.
      {"all equal", {7, 7, 7}, {7, 7}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KolmogorovSmirnov r = kolmogorov_smirnov(make_table({c.x, c.y}));
    EXPECT_EQ(r.d, c.d);
    EXPECT_EQ(r.n1, static_cast<int>(c.x.size()));
    EXPECT_EQ(r.n2, static_cast<int>(c.y.size()));
  }
  EXPECT_THROW(kolmogorov_smirnov(make_table({{1, 2}, {}})), RunError);
  EXPECT_EQ(ks_class(998, 0, 1), 999);
  EXPECT_EQ(ks_class(0, 0, 1), 1);
  EXPECT_EQ(ks_class(5, 5, 0), 1);
}

TEST(KolmogorovSmirnov, AllValuesEqualIsNotSignificant) {
  // The report a user expects for two identical samples: D = 0 and no level reached, in each of
  // the three kinds of critical values.
  for (const int n : {5, 30, 200}) {
    SCOPED_TRACE(n);
    const KolmogorovSmirnov r = kolmogorov_smirnov(make_table({std::vector<float>(static_cast<std::size_t>(n), 3.5f),
                                                               std::vector<float>(static_cast<std::size_t>(n), 3.5f)}));
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.d, 0);
    EXPECT_FALSE(r.significant());
  }
}

}  // namespace
}  // namespace veltrum
