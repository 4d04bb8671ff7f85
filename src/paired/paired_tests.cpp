#include "paired/paired_tests.hpp"

#include <optional>

#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"
#include "frame/wait_cursor.hpp"
#include "paired/pair_loader.hpp"
#include "paired/sign_test.hpp"
#include "paired/signed_rank_distribution.hpp"
#include "paired/wilcoxon_pairs.hpp"

namespace veltrum {

void wilcoxon_pairs_entry(Module& module, const CatalogueEntry& test) {
  run_pair_test(
      module, test,
      [&](const PairTable& table) -> std::optional<WilcoxonPairs> {
        WilcoxonPairs result = wilcoxon_pairs(table, wait_cursor_signal(module.host));
        if (result.fidis_refused) attention_box(module.host, fidis_range_text);
        if (result.too_small) {
          stop(module, Rerun::yes, too_few_pairs_message(result));
          return std::nullopt;
        }
        return result;
      },
      write_wilcoxon_pairs);
}

void sign_test_entry(Module& module, const CatalogueEntry& test) {
  run_pair_test(
      module, test, [](const PairTable& table) { return std::optional(sign_test(table)); }, write_sign_test);
}

}  // namespace veltrum
