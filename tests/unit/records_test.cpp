// The record walker and the column reader under the loaders: which records a walk takes (blank
// records, the group filter, the group-range rule) and which rows the reader keeps (a missing
// value in any chosen column drops the record), in the shapes the loaders use them: pairs with an
// optional group, blocks of several columns, two groups of two periods.
#include <gtest/gtest.h>

#include "frame/data_file.hpp"
#include "frame/records.hpp"
#include "group_test_support.hpp"

namespace veltrum {
namespace {

using testing::field;
using testing::Session;

// Header "G;N;4;0 X;N;6;2 Y;N;6;2": G in characters 1 to 5, X in 7 to 12, Y in 14 to 19.
struct RecordSession : Session {
  void write(const std::vector<std::array<std::string, 3>>& rows) {
    std::string bytes = "G;N;4;0 X;N;6;2 Y;N;6;2\r\n";
    for (const auto& [g, x, y] : rows) bytes += field(g, 5) + " " + field(x, 6) + " " + field(y, 6) + "\r\n";
    std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes;
    module.data_file_name = "C:\\daten.dat";
    std::int16_t count = 0;
    read_header(module, count);
  }
  std::vector<std::vector<float>> rows(const ColumnTable& t) const {
    std::vector<std::vector<float>> out;
    for (int r = 1; r <= t.rows(); ++r) out.emplace_back(t.row(r).begin(), t.row(r).end());
    return out;
  }
};

const std::vector<std::array<std::string, 3>> data = {
    {"1", "1.5", "2"}, {"2", "3", ""},  {"", "", ""},     {"1", "4", "."},
    {"2", "5", "6"},   {"3", "7", "8"}, {"0", "9", "10"}, {"2", "1.2.3", "1"},
};

TEST(Records, PairsDropARecordMissingInEitherColumn) {
  RecordSession s;
  s.write(data);
  ColumnTable t;
  const int columns[] = {2, 3};
  // Without a group variable every record is taken, with group 0; the blank record is skipped.
  ASSERT_TRUE(read_columns(s.module, {.group_variable = 0, .range = GroupRange::unchecked}, columns, t));
  EXPECT_EQ(s.rows(t), (std::vector<std::vector<float>>{{1.5f, 2}, {5, 6}, {7, 8}, {9, 10}}));
  EXPECT_EQ(t.groups, (std::vector<std::int16_t>{0, 0, 0, 0}));

  // One group of a group variable, without the range rule: the group value 0 stops nothing.
  const RecordWalk group_two{
      .group_variable = 1, .range = GroupRange::unchecked, .take_group = [](std::int16_t g) { return g == 2; }};
  ASSERT_TRUE(read_columns(s.module, group_two, columns, t));
  EXPECT_EQ(s.rows(t), (std::vector<std::vector<float>>{{5, 6}}));
  EXPECT_TRUE(s.host.messages().empty());
}

TEST(Records, BlocksAndTwoPeriodGroupsTakeTheirColumnsAndGroups) {
  RecordSession s;
  s.write({{"1", "1", "2"}, {"3", "3", "4"}, {"2", "5", "6"}, {"3", "7", ""}, {"1", "9", "10"}});
  // Two groups (1 and 3) of two periods, told apart by the group of each row.
  const RecordWalk two_groups{.group_variable = 1, .take_group = [](std::int16_t g) { return g == 1 || g == 3; }};
  const int periods[] = {2, 3};
  ColumnTable t;
  ASSERT_TRUE(read_columns(s.module, two_groups, periods, t));
  EXPECT_EQ(t.groups, (std::vector<std::int16_t>{1, 3, 1}));
  EXPECT_EQ(t.value(3, 2), 10.0f);
  // A block of three columns, read row by row as they come.
  const int block[] = {3, 1, 2};
  std::vector<std::vector<float>> rows;
  ASSERT_TRUE(read_columns(s.module, {.group_variable = 0}, block,
                           [&](std::int16_t, std::span<const float> v) { rows.emplace_back(v.begin(), v.end()); }));
  EXPECT_EQ(rows, (std::vector<std::vector<float>>{{2, 1, 1}, {4, 3, 3}, {6, 2, 5}, {10, 1, 9}}));
}

TEST(Records, GroupOutsideTheRangeStopsTheWalk) {
  RecordSession s;
  s.write(data);
  s.module.dialog_result = dialog_computed;
  s.module.stopped = false;
  int taken = 0;
  EXPECT_FALSE(walk_records(s.module, {.group_variable = 1}, [&](std::string_view, std::int16_t) { ++taken; }));
  // The five records before the group value 0 were taken (the blank one is no record).
  EXPECT_EQ(taken, 5);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, group_range_message(0));
  EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
  EXPECT_EQ(s.module.dialog_result, dialog_cancelled);
  EXPECT_EQ(s.module.rerun, Rerun::yes);
  EXPECT_FALSE(s.module.stopped);
}

}  // namespace
}  // namespace veltrum
