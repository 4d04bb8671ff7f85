// A file in memory (memfd_create) that code which opens files by name opens as any other, by the
// path /proc/self/fd/N: no directory entry, nothing written to disk, gone with the process.  --by
// hands the module each stratum's data file and takes each report this way.
#pragma once

#include <string>
#include <string_view>

namespace veltrum::cli {

class MemoryFile {
 public:
  // Throws std::runtime_error when the system has no such files (no memfd_create or no /proc).
  explicit MemoryFile(const char* name);
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  ~MemoryFile();

  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

// Writes `bytes` over the file at `path` (made when missing) and cuts it to their length; throws
// std::runtime_error when it cannot.  A file emptied and written again is written out on closing
// by some file systems (ext4), and a file made anew costs the search for a free inode: writing
// over the file is cheaper for many small writes than either.
void overwrite_file(const std::string& path, std::string_view bytes);

}  // namespace veltrum::cli
