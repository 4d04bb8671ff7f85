// The comparison rows written as text read back as the values the JSON writer builds for them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "json/rows_text.hpp"

namespace {

using veltrum::Obtained;
using veltrum::PValue;
using veltrum::Sides;
using veltrum::json::RowsText;
using json = nlohmann::ordered_json;

TEST(RowsText, ReadsBackAsTheWriterBuildsIt) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float values[] = {0.0f, -0.0f, 1.0f, 0.1f, 1e-5f, 494026.0f, -14.911765f, 3.4028235e38f, 1.4e-45f, nan};
  const PValue ps[] = {{"", 0.0010027819f, Obtained::approximate, Sides::two},
                       {"", 0.05f, Obtained::exact, Sides::one},
                       {"", 0.01f, Obtained::table_class, Sides::two, true},
                       {"", nan, Obtained::approximate, Sides::two}};
  RowsText rows(2);
  json expected = json::array();
  for (const float x : values)
    for (const PValue& p : ps) {
      rows.begin_row();
      rows.add("row", static_cast<int>(expected.size()) - 7);
      rows.add("x", x);
      rows.add("p", p);
      rows.add_text("name", json("a \"b\"\n").dump());
      rows.add_null("none");
      rows.end_row();
      const auto shortest = veltrum::json::shortest(x);
      expected.push_back({{"row", static_cast<int>(expected.size()) - 7},
                          {"x", shortest ? json(*shortest) : json(nullptr)},
                          {"p", veltrum::json::p_value(p)},
                          {"name", "a \"b\"\n"},
                          {"none", nullptr}});
    }
  const std::string text = rows.finish();
  EXPECT_EQ(text, expected.dump());
  EXPECT_EQ(json::parse(text), expected);
  EXPECT_EQ(rows.finish(), "[]");
}

}  // namespace
