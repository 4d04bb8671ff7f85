#include "paired/cross_over_entry.hpp"

#include <array>
#include <optional>

#include "frame/group_sizes.hpp"
#include "frame/module.hpp"
#include "frame/test_run.hpp"
#include "paired/cross_over.hpp"
#include "paired/cross_over_dialog.hpp"
#include "paired/cross_over_loader.hpp"

namespace veltrum {

void cross_over_entry(Module& module, const CatalogueEntry& test) {
  CrossOverTrial trial;
  CrossOverDialog dialog(module);
  run_data_file_test(
      module, test, dialog, [&] { return load_cross_over(module, trial); },
      [&]() -> std::optional<CrossOver> {
        if (!groups_large_enough(module, std::array{trial.first.size(), trial.second.size()})) return std::nullopt;
        CrossOver result = cross_over(trial.first, trial.second);
        result.used = trial.used;
        return result;
      },
      write_cross_over);
}

}  // namespace veltrum
