// The confidence levels every interval of the reports is given at, in this order.
#pragma once

#include <array>

namespace veltrum {

inline constexpr std::array<float, 4> confidence_levels = {0.90f, 0.95f, 0.98f, 0.99f};

}  // namespace veltrum
