// The test catalogue: letter, title, entry.  The entries live in the test families; the table that
// joins them is defined one layer above the frame (src/catalogue.cpp).
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace veltrum {

struct Module;

// A test entry takes the title from the catalogue and answers only through the run-state.
using TestEntry = void (*)(Module& module, const std::string& title);

struct CatalogueEntry {
  std::string_view letter;
  std::string_view title;
  TestEntry entry;  // null while a test is not available in this build
};

std::span<const CatalogueEntry> test_catalogue();

// The letters that need no data file, searched as a string.
inline constexpr std::string_view letters_without_data_file = "OHAGMB";

// The entry whose letter equals `letter` exactly (case-sensitive), or null.
inline const CatalogueEntry* find_test(std::span<const CatalogueEntry> catalogue, std::string_view letter) {
  for (const auto& entry : catalogue)
    if (entry.letter == letter) return &entry;
  return nullptr;
}

}  // namespace veltrum
