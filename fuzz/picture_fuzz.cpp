// The picture formatter and the plain number form on any picture and any float, with two
// properties: a plain fixed picture shows the value within half a unit of its last place, and the
// plain number form reads back within half a unit of its seventh significant digit.
#include <cmath>
#include <cstring>
#include <limits>

#include "frame/number_reading.hpp"
#include "frame/picture.hpp"
#include "fuzz_support.hpp"

using namespace veltrum;

namespace {

float float_of(fuzz::Input& in) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits = bits << 8 | in.byte();
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

real read_back(const std::string& text) {
  std::string t = text;
  t.erase(0, t.find_first_not_of(' '));
  return std::strtold(t.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const float value = float_of(in);
  const int whole = in.byte() % 12, places = in.byte() % 10;
  std::array<float, 6> values{};
  for (auto& v : values) v = float_of(in);
  const std::string_view picture = in.rest();

  // Any picture, any value: no fault.
  picture_format(picture, value);
  safe_format(value, picture);
  multi_field_line(picture, values);
  adaptive_number(value);
  if (!std::isfinite(value)) return 0;

  // A plain fixed picture: within half a unit of the last place.
  std::string fixed(whole + 1, '#');
  if (places > 0) fixed += "." + std::string(places, '#');
  const std::string shown = picture_format(fixed, value);
  if (shown.find('E') == std::string::npos) {
    const real unit = std::pow(10.0L, -places);
    // The text read back carries the rounding of its own reading (a few units of the 64th bit).
    const real slack = std::fabs(static_cast<real>(value)) * 1e-17L;
    VELTRUM_FUZZ_CHECK(std::fabs(read_back(shown) - static_cast<real>(value)) <= unit / 2 + slack,
                       "a fixed picture shows the value within half a unit of its last place");
  }

  // The plain number form reads back to seven significant digits.
  const std::string text = number_text(value);
  const real back = read_number(text);
  if (value == 0) {
    VELTRUM_FUZZ_CHECK(back == 0, "zero reads back as zero");
  } else {
    const real digit7 = std::pow(10.0L, std::floor(std::log10(std::fabs(static_cast<real>(value)))) - 6);
    VELTRUM_FUZZ_CHECK(std::fabs(back - static_cast<real>(value)) <= digit7 / 2 + std::fabs(back) * 1e-17L,
                       "number text reads back within half a unit of its seventh digit");
  }
  return 0;
}
