#include "independent/rank_tests.hpp"

#include "frame/group_sizes.hpp"
#include "frame/module.hpp"
#include "frame/wait_cursor.hpp"
#include "independent/group_loader.hpp"
#include "independent/ranking.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

std::optional<RankTest> analyse_groups(Module& module, SampleTable& table, const BusySignal& busy) {
  if (!groups_large_enough(module, table.sizes())) return std::nullopt;
  const Ranking ranking = rank_groups(table);
  if (table.groups() == 2) return u_test(table, ranking, busy);
  return kruskal_wallis(table, ranking);
}

namespace {

auto analyse_with_wait_cursor(Module& module) {
  return [&module](SampleTable& table) { return analyse_groups(module, table, wait_cursor_signal(module.host)); };
}

}  // namespace

void write_rank_test(ReportFile& report, const RankTest& result) {
  if (const auto* u = std::get_if<UTest>(&result))
    write_u_test(report, *u);
  else
    write_kruskal_wallis(report, std::get<KruskalWallis>(result));
}

// K and U differ only in their dialog.
void kruskal_wallis_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(module, test, GroupChoice::k_groups, analyse_with_wait_cursor(module), write_rank_test);
}

void mann_whitney_entry(Module& module, const CatalogueEntry& test) {
  run_group_test(module, test, GroupChoice::two_groups, analyse_with_wait_cursor(module), write_rank_test);
}

}  // namespace veltrum
