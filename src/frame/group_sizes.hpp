// The check every test of groups makes before it computes: at least two groups, each of at least
// two values.
#pragma once

#include <span>

namespace veltrum {

struct Module;

// True when there are at least two sizes and each is at least 2.  Otherwise the run stops with
// "Es müssen mindestens 2 Gruppen vorhanden sein!" or "Der Stichprobenumfang mindestens einer
// Gruppe ist zu klein!" and the dialog comes again.
bool groups_large_enough(Module& module, std::span<const int> sizes);

}  // namespace veltrum
