#include "memory_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace veltrum::cli {

namespace {

int new_memory_file(const char* name) {
#ifdef __EMSCRIPTEN__
  // WebAssembly's files are all in memory already, and it has no memfd_create: the private
  // folder serves.
  static_cast<void>(name);
  errno = ENOSYS;
  return -1;
#else
  return memfd_create(name, MFD_CLOEXEC);
#endif
}

}  // namespace

MemoryFile::MemoryFile(const char* name) : fd_(new_memory_file(name)) {
  if (fd_ < 0) throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
  path_ = "/proc/self/fd/" + std::to_string(fd_);
  if (access(path_.c_str(), R_OK | W_OK) != 0) {
    close(fd_);
    throw std::runtime_error(path_ + ": " + std::strerror(errno));
  }
}

MemoryFile::~MemoryFile() { close(fd_); }

void overwrite_file(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  bool written = fd >= 0;
  for (std::size_t at = 0; written && at < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) at += static_cast<std::size_t>(n);
  }
  written = written && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  if ((fd >= 0 && close(fd) != 0) || !written) throw std::runtime_error("cannot write " + path);
}

}  // namespace veltrum::cli
