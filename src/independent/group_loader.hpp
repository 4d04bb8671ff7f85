// The group-sample loader of the independent-sample tests (K, T, U, N, E, S): after the frame's
// opening (header, group dialog, report), the input block, then the chosen groups' values of the
// target variable into the sample table, and the listing when asked for.
#pragma once

#include <memory>

#include "frame/test_run.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;
class DialogProcedure;

// How the groups are chosen: the k-group dialog (template KRUSKAL: a number of groups, then one
// group number per Enter, or all groups) or a two-group dialog (UTEST, MEDIAN, KOLMO).
enum class GroupChoice { k_groups, two_groups };

// The dialog procedure of `choice`.
std::unique_ptr<DialogProcedure> group_dialog(Module& module, GroupChoice choice);

// Fills `table` with the groups the dialog chose; false when the loading ended the pass (a group
// value out of range, a chosen group without values: the message, the dialog again).  Errors
// (more values than a group holds) are the caller's trap's.
//
// Group numbers (GroupInputs::group_numbers and table.group_number, 1..k): the value each group
// stands for, in entry order, or in order of first appearance when all groups are read.
bool load_group_samples(Module& module, GroupChoice choice, SampleTable& table);

// A test of groups: the frame's data-file run with the dialog of `choice` and this loader;
// `analyse(SampleTable&)` gives the result (or nothing when it stopped the run) and
// `write(ReportFile&, result)` its report lines.
template <typename Analyse, typename Write>
void run_group_test(Module& module, const CatalogueEntry& test, GroupChoice choice, Analyse&& analyse, Write&& write) {
  SampleTable table{SampleTable::Unshaped{}};  // load_group_samples makes it afresh
  const auto dialog = group_dialog(module, choice);
  run_data_file_test(
      module, test, *dialog, [&] { return load_group_samples(module, choice, table); }, [&] { return analyse(table); },
      write);
}

}  // namespace veltrum
