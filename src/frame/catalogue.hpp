// The test catalogue: the one description of each test letter.  The entries live in the test
// families; the table that joins them is defined one layer above the frame (src/veltrum.hpp).
// Nothing outside the catalogue compares a test letter with a text: the dispatcher and the
// families ask the entry.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// A test entry: runs one pass of its test (dialog, report) and answers only through the
// run-state.  It gets its own catalogue entry for the title, the template and its other
// properties.
using TestEntry = void (*)(Module& module, const CatalogueEntry& test);

struct CatalogueEntry {
  std::string_view letter{};
  std::string_view title{};            // given to the report header
  std::string_view dialog_template{};  // the test's dialog; empty when it shows none
  bool needs_data_file = false;        // reads the host's active data file
  bool shown_after_run = true;         // the dispatcher hands the report to the viewer after a pass
                                       // that wrote one (false: the test shows its own text)
  TestEntry entry = nullptr;           // null while a test is not available in this build
  CommandLine command_line{};
  int caption = 0;  // text resource (IDS_...) replacing the template's caption;
                    // 0 keeps the template's own
};

// The entry whose letter equals `letter` exactly (case-sensitive), or null.
inline const CatalogueEntry* find_test(std::span<const CatalogueEntry> catalogue, std::string_view letter) {
  for (const auto& entry : catalogue)
    if (entry.letter == letter) return &entry;
  return nullptr;
}

// The letters of the tests that need no data file, in catalogue order, as one text.  The
// dispatcher searches the letter it is given in it, so that a text found inside it (also the
// empty one) needs no file either.
inline std::string letters_without_data_file(std::span<const CatalogueEntry> catalogue) {
  std::string letters;
  for (const auto& entry : catalogue)
    if (!entry.needs_data_file) letters += entry.letter;
  return letters;
}

}  // namespace veltrum
