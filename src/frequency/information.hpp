// Information on multiple comparisons (letter M): a fixed text shown in the viewer.
#pragma once

#include <string>

namespace veltrum {

struct Module;

inline constexpr std::string_view information_path = "C:\\Hilfe.";

// Test entry: writes "C:\Hilfe." and hands it to the viewer itself.
void information_test(Module& module, const std::string& title);

}  // namespace veltrum
