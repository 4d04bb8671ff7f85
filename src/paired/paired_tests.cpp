#include "paired/paired_tests.hpp"

#include "frame/error_trap.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"
#include "paired/pair_loader.hpp"
#include "paired/sign_test.hpp"
#include "paired/wilcoxon_pairs.hpp"

namespace veltrum {

void wilcoxon_pairs_entry(Module& module, const CatalogueEntry& test) {
  run_trapped(module, [&] {
    PairTable table;
    load_pairs(module, test, table);
    if (!ready_to_compute(module)) return;
    const WilcoxonPairs result = wilcoxon_pairs(table, &module.host);
    if (result.too_small) {
      stop(module, Rerun::yes, too_few_pairs_message(result));
      return;
    }
    write_wilcoxon_pairs(module.report, result);
  });
}

void sign_test_entry(Module& module, const CatalogueEntry& test) {
  run_trapped(module, [&] {
    PairTable table;
    load_pairs(module, test, table);
    if (!ready_to_compute(module)) return;
    write_sign_test(module.report, sign_test(table));
  });
}

}  // namespace veltrum
