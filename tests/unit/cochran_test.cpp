// Cochran's Q test: the statistic against R, the cell-by-cell dialog COCHRAN and its limits.
#include <gtest/gtest.h>

#include <vector>

#include "VELTRUM_R.h"
#include "paired/cochran.hpp"
#include "paired/cochran_dialog.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

CochranTable make_table(const std::vector<std::vector<float>>& rows) {
  CochranTable t;
  t.rows = static_cast<int>(rows.size());
  t.columns = static_cast<int>(rows.front().size());
  for (int i = 1; i <= t.rows; ++i)
    for (int j = 1; j <= t.columns; ++j) t.x(i, j) = rows[i - 1][j - 1];
  return t;
}

TEST(Cochran, QAgreesWithR) {
  // R, for each table x:  k <- ncol(x); L <- rowSums(x); C <- colSums(x); G <- sum(x)
  //   Q <- (k - 1) * (k * sum(C^2) - G^2) / (k * G - sum(L^2)); pchisq(Q, k - 1, lower.tail = FALSE)
  struct Case {
    std::vector<std::vector<float>> rows;
    double q, p;
  };
  const Case cases[] = {
      {{{1, 1, 0}, {1, 1, 1}, {0, 1, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}},
       6.4,
       0.0407622039783662},
      {{{1, 0, 1, 1},
        {0, 0, 1, 1},
        {1, 1, 1, 1},
        {0, 0, 0, 1},
        {1, 0, 1, 0},
        {0, 0, 1, 1},
        {1, 0, 0, 1},
        {0, 1, 1, 1},
        {0, 0, 0, 0},
        {1, 0, 1, 1},
        {0, 0, 1, 0},
        {1, 1, 0, 1}},
       7.41176470588235,
       0.0598694670767345},
      {{{1, 0, 1}, {0, 1, 1}, {0, 0, 1}}, 2.66666666666667, 0.263597138115727},
      // Two columns: Q is McNemar's statistic without continuity correction.
      // R: mcnemar.test(table(x[, 1], x[, 2]), correct = FALSE): 1.285714285714, p = 0.256839257958
      {{{1, 0}, {1, 1}, {0, 1}, {1, 0}, {1, 0}, {0, 0}, {1, 0}, {1, 1}, {1, 0}, {0, 1}},
       1.285714285714,
       0.256839257958},
  };
  for (const Case& k : cases) {
    const CochranQ q = cochran_q(make_table(k.rows));
    EXPECT_NEAR(q.q, k.q, 1e-6);
    EXPECT_EQ(q.df, static_cast<int>(k.rows.front().size()) - 1);
    EXPECT_NEAR(q.p, k.p, 2e-7);
  }
}

TEST(Cochran, RowsAllZeroOrAllOneGiveQZero) {
  const CochranQ q = cochran_q(make_table({{1, 1, 1, 1}, {0, 0, 0, 0}, {1, 1, 1, 1}}));
  EXPECT_EQ(q.q, 0.0f);
  EXPECT_EQ(q.df, 3);
  EXPECT_EQ(q.p, 1.0f);
  CochranTable none;  // r = 0 (the first Enter ended the entry)
  none.columns = 3;
  EXPECT_EQ(cochran_q(none).q, 0.0f);
  none.rows = -2;
  EXPECT_EQ(cochran_q(none).q, 0.0f);
}

// Runs the dialog alone with a script; records prompt, value field and focus after every Enter.
struct DialogRun {
  explicit DialogRun(const std::string& script) {
    s.host.add_actions(script::parse(script));
    s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::enter)
        after_enter.push_back(d.control(IDC_COCHRAN_PROMPT).text + "|" + d.text(IDC_COCHRAN_VALUE, 11) + "|" +
                              std::to_string(d.focused()));
    };
    CochranDialog dialog(s.module, table);
    result = s.host.dialog("COCHRAN", dialog);
  }
  Session s;
  CochranTable table;
  int result = -1;
  std::vector<std::string> after_enter;
};

std::string counts(int r, int c) {
  return "type 1304 " + std::to_string(r) + "\ntype 1305 " + std::to_string(c) + "\n";
}
std::string value(const std::string& v) { return "type 1308 " + v + "\nenter\n"; }

TEST(Cochran, ThreeByThreeTakesNineEntersAndOneMore) {
  std::string script = counts(3, 3);
  for (const char* v : {"1", "0", "1", "0", "1", "1", "0", "0", "1"}) script += value(v);
  DialogRun run(script + "enter\n");
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.after_enter.size(), 10u);
  const std::string value_field = std::to_string(IDC_COCHRAN_VALUE);
  EXPECT_EQ(run.after_enter[0], "1. Zeile, 2. Spalte :||" + value_field);
  EXPECT_EQ(run.after_enter[2], "2. Zeile, 1. Spalte :||" + value_field);
  EXPECT_EQ(run.after_enter[7], "3. Zeile, 3. Spalte :||" + value_field);
  EXPECT_EQ(run.after_enter[8], "Eingabe Ende !||" + std::to_string(IDC_RECHNEN));
  EXPECT_EQ(run.table.rows, 3);
  EXPECT_EQ(run.table.columns, 3);
  EXPECT_EQ(run.table.x(2, 3), 1.0f);
  EXPECT_EQ(run.table.x(3, 2), 0.0f);
  EXPECT_NEAR(cochran_q(run.table).q, 2.6666667, 1e-6);
  EXPECT_TRUE(run.s.host.messages().empty());
}

TEST(Cochran, ValuesOtherThanZeroAndOneAreRefusedSilently) {
  DialogRun run(counts(2, 2) + value("2") + value("0.5") + value("") + value("-1") + value("1"));
  ASSERT_EQ(run.after_enter.size(), 5u);
  const std::string field = std::to_string(IDC_COCHRAN_VALUE);
  EXPECT_EQ(run.after_enter[0], "1. Zeile, 1. Spalte :|2|" + field);
  EXPECT_EQ(run.after_enter[1], "1. Zeile, 1. Spalte :|0.5|" + field);
  EXPECT_EQ(run.after_enter[2], "1. Zeile, 1. Spalte :||" + field);
  EXPECT_EQ(run.after_enter[3], "1. Zeile, 1. Spalte :|-1|" + field);
  EXPECT_EQ(run.after_enter[4], "1. Zeile, 2. Spalte :||" + field);
  EXPECT_TRUE(run.s.host.messages().empty());
  EXPECT_EQ(run.result, 0);  // the script ran out: Escape
}

TEST(Cochran, CountsAreReadAgainAtEveryStep) {
  // Three columns for the first row, then two: the second row starts after its second value.
  DialogRun run(counts(2, 3) + value("1") + value("1") + value("0") + "type 1305 2\n" + value("0") + value("1") +
                "enter\n");
  EXPECT_EQ(run.after_enter[3], "2. Zeile, 2. Spalte :||" + std::to_string(IDC_COCHRAN_VALUE));
  EXPECT_EQ(run.after_enter[4], "Eingabe Ende !||" + std::to_string(IDC_RECHNEN));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.table.columns, 2);
  // An empty count only takes the focus; no row count at all ends at once (r = 0).
  DialogRun empty("type 1305 3\nenter\n");
  EXPECT_EQ(empty.s.host.messages().size(), 0u);
  EXPECT_EQ(empty.after_enter[0], "1. Zeile, 1. Spalte :||" + std::to_string(IDC_COCHRAN_ROWS));
  DialogRun zero(counts(0, 3));
  EXPECT_EQ(zero.result, 0);
  DialogRun none(counts(0, 3) + "enter\n");
  EXPECT_EQ(none.result, 1);
}

TEST(Cochran, TablesBeyondTheCapacityOrWithOneColumnAreRefused) {
  struct Case {
    int r, c;
    int field;
    const char* text;
  };
  const Case cases[] = {{1002, 3, IDC_COCHRAN_ROWS,
                         "H\xF6"
                         "chstens 1001 Zeilen (Bl\xF6"
                         "cke) sind m\xF6glich!"},
                        {5, 11, IDC_COCHRAN_COLUMNS, "Bitte 2 bis 10 Spalten (Bedingungen) angeben!"},
                        {5, 1, IDC_COCHRAN_COLUMNS, "Bitte 2 bis 10 Spalten (Bedingungen) angeben!"},
                        {5, 0, IDC_COCHRAN_COLUMNS, "Bitte 2 bis 10 Spalten (Bedingungen) angeben!"}};
  for (const Case& k : cases) {
    DialogRun run(counts(k.r, k.c) + value("1"));
    ASSERT_EQ(run.s.host.messages().size(), 1u) << k.r << " " << k.c;
    EXPECT_EQ(run.s.host.messages()[0].text, k.text);
    EXPECT_EQ(run.s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(run.s.host.messages()[0].style, 0x2030u);
    // Nothing stored, the dialog stays open with the offending count selected.
    EXPECT_EQ(run.after_enter[0], "1. Zeile, 1. Spalte :|1|" + std::to_string(k.field));
    EXPECT_EQ(run.result, 0);
  }
  // 1001 rows of 10 columns are accepted.
  DialogRun full(counts(1001, 10) + value("1"));
  EXPECT_TRUE(full.s.host.messages().empty());
  EXPECT_EQ(full.after_enter[0], "1. Zeile, 2. Spalte :||" + std::to_string(IDC_COCHRAN_VALUE));
}

}  // namespace
}  // namespace veltrum
