// The rank tests of independent groups, letters K and U: one routine that loads the groups,
// checks them, ranks the pooled values and writes the Wilcoxon-Mann-Whitney report for exactly
// two groups or the Kruskal-Wallis report for more.
#pragma once

#include <string>

namespace veltrum {

struct Module;
struct SampleTable;

// What follows the loading: the two checks (at least 2 groups, at least 2 values in every group;
// either ends the test with a message, the cancel flag "J" and the re-run request), the ranking,
// the statistics and the report lines.  Returns false when a check ended the test.
bool analyse_groups(Module& module, SampleTable& table);

// Test entry of K and U: the k-group dialog ("KRUSKAL") for K, the two-group dialog ("UTEST")
// otherwise; everything runs under the test error trap.
void rank_tests(Module& module, const std::string& title);

}  // namespace veltrum
