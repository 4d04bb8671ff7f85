// Information on multiple comparisons (letter M): a fixed text shown in the viewer.
#pragma once

#include <string>

namespace veltrum {

struct Module;
struct CatalogueEntry;

inline constexpr std::string_view information_path = "C:\\Hilfe.";

// Test entry: writes "C:\Hilfe." and hands it to the viewer itself.
void information_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
