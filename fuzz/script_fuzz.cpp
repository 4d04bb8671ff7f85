// The script parser on any text; what it accepts is written back and must parse to the same
// actions.
#include <stdexcept>

#include "fuzz_support.hpp"
#include "headless/script.hpp"

using namespace veltrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::deque<script::Action> actions;
  try {
    actions = script::parse({reinterpret_cast<const char*>(data), size});
  } catch (const std::invalid_argument&) {
    return 0;
  }
  std::string written;
  for (const auto& a : actions) written += script::to_string(a) + "\n";
  std::deque<script::Action> again;
  try {
    again = script::parse(written);
  } catch (const std::invalid_argument&) {
    VELTRUM_FUZZ_CHECK(false, "a written script parses");
  }
  VELTRUM_FUZZ_CHECK(again.size() == actions.size(), "as many actions read back");
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto &a = actions[i], &b = again[i];
    VELTRUM_FUZZ_CHECK(a.verb == b.verb && a.id == b.id && a.index == b.index && a.text == b.text,
                       "an action reads back unchanged");
  }
  return 0;
}
