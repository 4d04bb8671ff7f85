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

namespace {

void stop_with(Module& module, std::string_view text) {
  caution_box(module.host, text);
  module.cancel_flag = "J";
  module.rerun = 1;
}

}  // namespace

bool analyse_groups(Module& module, SampleTable& table) {
  const int k = table.groups();
  if (k < 2) {
    stop_with(module, "Es müssen mindestens 2 Gruppen vorhanden sein!");
    return false;
  }
  for (int i = 1; i <= k; ++i) {
    if (table.n[i] < 2) {
      stop_with(module, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");
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

void rank_tests(Module& module, const std::string& title) {
  run_trapped(module, [&] {
    // The test letter only chooses the dialog; the number of groups loaded chooses the report.
    const std::string_view template_name = module.test_letter == "K" ? "KRUSKAL" : "UTEST";
    SampleTable table;
    load_group_samples(module, title, template_name, table);
    if (module.cancel_flag == "J" || module.dialog_result == 0) return;
    analyse_groups(module, table);
  });
}

}  // namespace veltrum
