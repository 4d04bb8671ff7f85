#include "frame/group_sizes.hpp"

#include <algorithm>

#include "frame/messages.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

bool groups_large_enough(Module& module, std::span<const int> sizes) {
  if (sizes.size() < 2) {
    stop(module, Rerun::yes, too_few_groups_text);
    return false;
  }
  if (std::any_of(sizes.begin(), sizes.end(), [](int n) { return n < 2; })) {
    stop(module, Rerun::yes, group_too_small_text);
    return false;
  }
  return true;
}

}  // namespace veltrum
