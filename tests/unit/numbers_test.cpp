// Stores into integers, the floor, and the reading of a number from a text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"

namespace veltrum {
namespace {

TEST(Numbers, IntegerStoresRoundHalvesToEvenAndOverflowToMinimum) {
  EXPECT_EQ(to_int16(2.5L), 2);
  EXPECT_EQ(to_int16(3.5L), 4);
  EXPECT_EQ(to_int16(-2.5L), -2);
  EXPECT_EQ(to_int16(12.5L), 12);
  EXPECT_EQ(to_int16(13.5L), 14);
  EXPECT_EQ(to_int16(2.5000001L), 3);
  EXPECT_EQ(to_int16(32767.4L), 32767);
  EXPECT_EQ(to_int16(-32768.0L), -32768);
  EXPECT_EQ(to_int16(40000.0L), -32768);
  EXPECT_EQ(to_int16(-32769.0L), -32768);
  EXPECT_EQ(to_int16(32767.5L), -32768);  // rounds to 32768, outside
  EXPECT_EQ(to_int32(2.5L), 2);
  EXPECT_EQ(to_int32(3e9L), INT32_MIN);
  EXPECT_EQ(int_floor(-1.5L), -2.0L);
  EXPECT_EQ(int_floor(1.999L), 1.0L);
}

TEST(Numbers, ReadingTakesTheLeadingNumber) {
  EXPECT_EQ(read_number("12"), 12.0L);
  EXPECT_EQ(read_number("  \t\n12.5abc"), 12.5L);
  EXPECT_EQ(read_number("-3E2"), -300.0L);
  EXPECT_EQ(read_number("1.5d1"), 15.0L);
  EXPECT_EQ(read_number("2e"), 2.0L);  // the exponent letter without digits is not read
  EXPECT_EQ(read_number("2e+"), 2.0L);
  EXPECT_EQ(read_number("+.5"), 0.5L);
  EXPECT_EQ(read_number("12,5"), 12.0L);  // no decimal comma
  EXPECT_EQ(read_number("."), 0.0L);
  EXPECT_EQ(read_number("-"), 0.0L);
  EXPECT_EQ(read_number("abc"), 0.0L);
  EXPECT_EQ(read_number(""), 0.0L);
  EXPECT_EQ(read_number("1.2.3"), 1.2L);
  EXPECT_EQ(read_number(" 40000"), 40000.0L);
  EXPECT_TRUE(std::signbit(read_number("-0.0")));
}

// Every number is the long double nearest to its decimal text, as the C library reads it: short
// and long digit strings, up to 30 places, with and without a sign or an exponent.
TEST(Numbers, ReadingGivesTheNearestLongDouble) {
  std::mt19937_64 random(20261207);
  const auto digits = [&](int n) {
    std::string d;
    for (int k = 0; k < n; ++k) d += static_cast<char>('0' + random() % 10);
    return d;
  };
  int compared = 0;
  for (int trial = 0; trial < 200000; ++trial) {
    std::string text = random() % 4 == 0 ? "-" : "";
    text += digits(static_cast<int>(random() % 12));
    if (random() % 3 != 0) text += "." + digits(static_cast<int>(random() % 31));
    if (random() % 10 == 0) text += "E" + std::to_string(static_cast<int>(random() % 60) - 30);
    if (text.find_first_of("0123456789") == std::string::npos) continue;
    const real expected = std::strtold(text.c_str(), nullptr);
    ASSERT_EQ(read_number(text), expected) << text;
    ASSERT_EQ(std::signbit(read_number(text)), std::signbit(expected)) << text;
    ++compared;
  }
  EXPECT_GT(compared, 190000);
}

}  // namespace
}  // namespace veltrum
