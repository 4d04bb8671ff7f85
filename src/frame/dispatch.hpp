// The module entry: LIBMAIN's duty and the Veltrum call with its dispatch loop.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/catalogue.hpp"
#include "frame/module.hpp"

namespace veltrum {

// LIBMAIN(instance, reason, reserved): records the instance handle; always 1.
std::int32_t libmain(Module& module, std::uintptr_t instance);

// Veltrum(host window, data file name, test letter) over `catalogue`: runs one test until the user
// cancels; always 0.  The strings are copied.  (src/veltrum.hpp runs it over the test catalogue.)
std::int32_t run_veltrum(Module& module, std::span<const CatalogueEntry> catalogue, std::uintptr_t host_window,
                         std::string_view data_file_name, std::string_view test_letter);

}  // namespace veltrum
