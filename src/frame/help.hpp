// The module's help file: "Kalvo.HLP" in the folder of the module file, opened at one topic.
#pragma once

#include <string>
#include <string_view>

#include "frame/host.hpp"

namespace veltrum {

inline constexpr unsigned help_context = 9996;

// The path of the module file (at most 260 characters) up to, not including, its last "\"; the
// whole path when it has no "\"; empty when the path is unknown.
std::string module_directory(Host& host);

// The help file's name: the module directory followed by "\Kalvo.HLP".
std::string help_file(Host& host);

// Shows the help topic 9996 of the help file, owned by the host window.
void open_help(Host& host);

}  // namespace veltrum
