#include "frame/help.hpp"

namespace veltrum {

std::string module_directory(Host& host) {
  // GetModuleFileNameA fills a buffer of 260 characters.
  std::string path = host.module_path().substr(0, 260);
  const auto slash = path.rfind('\\');
  if (slash != std::string::npos) path.resize(slash);
  return path;
}

std::string help_file(Host& host) { return module_directory(host) + "\\Kalvo.HLP"; }

void open_help(Host& host) { host.help(help_file(host), help_context); }

}  // namespace veltrum
