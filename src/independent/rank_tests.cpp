#include "independent/rank_tests.hpp"

#include "frame/error_trap.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "independent/group_loader.hpp"
#include "independent/kruskal_wallis.hpp"
#include "independent/mann_whitney.hpp"
#include "independent/ranking.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

bool analyse_groups(Module& module, SampleTable& table) {
  const int k = table.groups();
  if (k < 2) {
    stop(module, Rerun::yes, "Es müssen mindestens 2 Gruppen vorhanden sein!");
    return false;
  }
  for (int i = 1; i <= k; ++i) {
    if (table.n[i] < 2) {
      stop(module, Rerun::yes, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");
      return false;
    }
  }
  const Ranking ranking = rank_groups(table);
  if (k == 2)
    write_u_test(module.report, u_test(table, ranking, &module.host));
  else
    write_kruskal_wallis(module.report, kruskal_wallis(table, ranking));
  return true;
}

namespace {

void rank_tests(Module& module, const CatalogueEntry& test, GroupChoice choice) {
  run_trapped(module, [&] {
    SampleTable table;
    load_group_samples(module, test, choice, table);
    if (!ready_to_compute(module)) return;
    analyse_groups(module, table);
  });
}

}  // namespace

void kruskal_wallis_entry(Module& module, const CatalogueEntry& test) {
  rank_tests(module, test, GroupChoice::k_groups);
}

void mann_whitney_entry(Module& module, const CatalogueEntry& test) {
  rank_tests(module, test, GroupChoice::two_groups);
}

}  // namespace veltrum
