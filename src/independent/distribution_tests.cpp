#include "independent/distribution_tests.hpp"

#include <optional>

#include "frame/group_sizes.hpp"
#include "independent/group_loader.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/median_test.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

namespace {

// Two groups of at least two values each, then `statistics(table)`.
template <typename Statistics>
auto with_two_groups(Module& module, Statistics statistics) {
  return [&module, statistics](const SampleTable& table) -> std::optional<decltype(statistics(table))> {
    if (!groups_large_enough(module, table.sizes())) return std::nullopt;
    return statistics(table);
  };
}

}  // namespace

void median_test_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(module, test, GroupChoice::two_groups, with_two_groups(module, median_test), write_median_test);
}

void kolmogorov_smirnov_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(module, test, GroupChoice::two_groups, with_two_groups(module, kolmogorov_smirnov),
                 write_kolmogorov_smirnov);
}

}  // namespace veltrum
