// Windows-1252 <-> UTF-8, for what the headless host reads from scripts and shows on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace veltrum {

// Characters without a Windows-1252 code become '?'; malformed UTF-8 bytes too.
std::string utf8_to_cp1252(std::string_view utf8);
std::string cp1252_to_utf8(std::string_view cp1252);

}  // namespace veltrum
