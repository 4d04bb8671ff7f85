// Information on multiple comparisons (letter M): a fixed text shown in the viewer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrum {

struct Module;
struct CatalogueEntry;
class ReportFile;

// The text: the test's title in capitals as its heading, then the lines on multiple comparisons.
struct InformationText {
  std::string heading;
  std::vector<std::string_view> lines;
};
InformationText information_text(std::string_view title);
void write_information(ReportFile& file, const InformationText& text);

inline constexpr std::string_view information_path = "C:\\Hilfe.";

// Test entry: writes "C:\Hilfe." and hands it to the viewer itself.
void information_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
