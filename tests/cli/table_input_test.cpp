// Tables read from delimited text, and the data files written from them.
#include <gtest/gtest.h>

#include "table_file.hpp"
#include "table_input.hpp"

namespace veltrum::cli {
namespace {

TEST(TableInput, ReadsAHeaderAndRecords) {
  const Table t = read_table("a,b\n1,x\n2,y\n", {});
  ASSERT_EQ(t.columns.size(), 2u);
  EXPECT_EQ(t.records(), 2u);
}

}  // namespace
}  // namespace veltrum::cli
