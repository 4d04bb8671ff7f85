// The module with all its tests: the test catalogue and the Veltrum call over it.  The frame's
// dispatch loop takes any catalogue; this is the one the DLL, the command line and the tests run.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "frame/catalogue.hpp"
#include "frame/dispatch.hpp"

namespace veltrum {

// One entry per letter, in the order of the module's menu.
std::span<const CatalogueEntry> test_catalogue();

// Veltrum(host window, data file name, test letter) over the test catalogue: runs one test until
// the user cancels; always 0.
std::int32_t run_veltrum(Module& module, std::uintptr_t host_window, std::string_view data_file_name,
                         std::string_view test_letter);

}  // namespace veltrum
