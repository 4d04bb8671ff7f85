#include "private_folder.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace veltrum::cli {

namespace {

// What a signal handler removes.  A handler can reach nothing but static storage, so the paths
// of the one folder of a run are kept here, as fixed arrays (a handler may not allocate).
struct SignalCleanup {
  char folder[4096] = {};
  char file[4096] = {};
};
SignalCleanup cleanup;

constexpr int cleanup_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void remove_and_raise(int signal) {
  if (cleanup.file[0]) unlink(cleanup.file);
  if (cleanup.folder[0]) rmdir(cleanup.folder);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

bool copy_path(char (&to)[4096], const std::string& from) {
  if (from.size() >= sizeof to) return false;
  std::memcpy(to, from.c_str(), from.size() + 1);
  return true;
}

}  // namespace

PrivateFolder::PrivateFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/veltrum-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data()))
    throw std::runtime_error("cannot make a private folder in " + pattern.substr(0, pattern.rfind('/')) + ": " +
                             std::strerror(errno));
  path_ = buffer.data();
  if (copy_path(cleanup.folder, path_)) {
    for (const int s : cleanup_signals) {
      struct sigaction now {};
      if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_DFL) std::signal(s, remove_and_raise);
    }
  }
}

std::string PrivateFolder::file(const std::string& name) {
  const std::string path = path_ + "/" + name;
  copy_path(cleanup.file, path);
  return path;
}

PrivateFolder::~PrivateFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  for (const int s : cleanup_signals) {
    struct sigaction now {};
    if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == remove_and_raise) std::signal(s, SIG_DFL);
  }
  cleanup = SignalCleanup{};
}

}  // namespace veltrum::cli
