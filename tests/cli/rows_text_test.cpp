// The document's numbers as shortest decimals in the JSON library's layout, and comparison rows
// written as text that read back as the values the JSON writer builds for them.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "json/number_text.hpp"
#include "json/rows_text.hpp"

namespace {

using veltrum::Obtained;
using veltrum::PValue;
using veltrum::Sides;
using veltrum::json::RowsText;
using json = nlohmann::ordered_json;

template <typename Float>
std::string text(Float x) {
  char out[40];
  return {out, veltrum::json::shortest_chars(out, x)};
}

TEST(NumberText, ShortestDecimalsInTheLibrarysLayout) {
  const struct {
    float x;
    const char* text;
  } floats[] = {{0.0f, "0.0"},
                {-0.0f, "-0.0"},
                {1.0f, "1.0"},
                {0.1f, "0.1"},
                {1e-4f, "0.0001"},
                {1e-5f, "1e-05"},
                {494026.0f, "494026.0"},
                {-14.911765f, "-14.911765"},
                {0.024364274f, "0.024364274"},  // Grisu2 gives 0.024364273999999998 for its double
                {16777216.0f, "16777216.0"},
                {33554448.0f, "33554448.0"},  // not its shortest decimal 33554450
                {1.5e9f, "1500000000.0"},
                {1e14f, "100000000000000.0"},
                {1e15f, "1e+15"},
                {3.4028235e38f, "3.4028235e+38"},
                {1.4e-45f, "1e-45"}};
  for (const auto& [x, expected] : floats) EXPECT_EQ(text(x), expected) << x;
  const struct {
    double x;
    const char* text;
  } doubles[] = {{0.1, "0.1"},
                 {0.010804653310790063, "0.010804653310790063"},
                 {-2.5e-7, "-2.5e-07"},
                 {1e300, "1e+300"},
                 {5e-324, "5e-324"}};
  for (const auto& [x, expected] : doubles) EXPECT_EQ(text(x), expected) << x;

  // A stored float goes into a document as the double nearest to its shortest decimal; the
  // document's text gives that decimal again, where the library's own dump adds digits.
  const json held = *veltrum::json::shortest(0.024364274f);
  EXPECT_EQ(held.dump(), "0.024364273999999998");
  EXPECT_EQ(veltrum::json::text_of(held), "0.024364274");
  // Everything but doubles as the library writes it, a text that is no UTF-8 with U+FFFD.
  const json doc = {{"a", {1, -2, true, false, nullptr, "x\"\n", "\x7f\\", std::numeric_limits<std::int64_t>::min()}},
                    {"b", json::object()},
                    {"u", std::numeric_limits<std::uint64_t>::max()},
                    {"\xff", std::string("\xc3(")},
                    {"\xc3\xa4", json::array()}};
  EXPECT_EQ(veltrum::json::text_of(doc), doc.dump(-1, ' ', false, json::error_handler_t::replace));
  EXPECT_EQ(veltrum::json::text_of(json(std::numeric_limits<double>::quiet_NaN())), "null");
}

// Across the whole range of floats (every 65,537th bit pattern, both signs): the text reads back to
// the float and is what the document writes for the float's value as the standard library's
// std::to_chars gives it (the rows and the rest of the document agree).
TEST(NumberText, EveryFloatReadsBackAsTheDocumentWritesIt) {
  int checked = 0;
  for (std::uint64_t bits = 1; bits < 0x7f800000u; bits += 65537)
    for (const std::uint32_t sign : {0u, 0x80000000u}) {
      const std::uint32_t b = static_cast<std::uint32_t>(bits) | sign;
      float x;
      std::memcpy(&x, &b, sizeof x);
      const std::string ours = text(x);
      float back = 0;
      std::from_chars(ours.data(), ours.data() + ours.size(), back);
      ASSERT_EQ(back, x) << ours;
      ASSERT_EQ(ours, veltrum::json::text_of(*veltrum::json::shortest(x))) << ours;
      ++checked;
    }
  EXPECT_GT(checked, 60000);
}

TEST(RowsText, ReadsBackAsTheWriterBuildsItInPieces) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float values[] = {0.0f, -0.0f, 1.0f, 0.1f, 1e-5f, 494026.0f, -14.911765f, 0.024364274f, 3.4028235e38f, nan};
  const PValue ps[] = {{"", 0.0010027819f, Obtained::approximate, Sides::two},
                       {"", 0.05f, Obtained::exact, Sides::one},
                       {"", 0.01f, Obtained::table_class, Sides::two, true},
                       {"", nan, Obtained::approximate, Sides::two}};
  std::string text;
  int pieces = 0;
  RowsText rows([&](std::string_view piece) { text += piece, ++pieces; });
  json expected = json::array();
  for (int round = 0; round < 100; ++round)  // some 100 KB: more than one piece
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
  rows.finish();
  EXPECT_GT(pieces, 1);
  EXPECT_EQ(text, veltrum::json::text_of(expected));
  EXPECT_EQ(json::parse(text), expected);
  text.clear();
  rows.finish();
  EXPECT_EQ(text, "[]");
}

}  // namespace
