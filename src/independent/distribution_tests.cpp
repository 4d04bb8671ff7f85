#include "independent/distribution_tests.hpp"

#include "frame/error_trap.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"
#include "independent/group_loader.hpp"
#include "independent/kolmogorov_smirnov.hpp"
#include "independent/median_test.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

bool two_groups_large_enough(Module& module, const SampleTable& table) {
  if (table.n[1] >= 2 && table.n[2] >= 2) return true;
  stop(module, Rerun::yes, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");
  return false;
}

namespace {

// Loads two groups with the test's dialog and, when both are large enough, runs `analyse` on
// them.
template <typename Analyse>
void two_group_test(Module& module, const CatalogueEntry& test, Analyse&& analyse) {
  run_trapped(module, [&] {
    SampleTable table;
    load_group_samples(module, test, GroupChoice::two_groups, table);
    if (!ready_to_compute(module)) return;
    if (!two_groups_large_enough(module, table)) return;
    analyse(table);
  });
}

}  // namespace

void median_test_entry(Module& module, const CatalogueEntry& test) {
  two_group_test(module, test, [&](const SampleTable& table) { write_median_test(module.report, median_test(table)); });
}

void kolmogorov_smirnov_entry(Module& module, const CatalogueEntry& test) {
  two_group_test(module, test,
                 [&](const SampleTable& table) { write_kolmogorov_smirnov(module.report, kolmogorov_smirnov(table)); });
}

}  // namespace veltrum
