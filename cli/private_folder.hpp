// A private temporary folder (mkdtemp, mode 0700) for the files a run makes, removed with
// everything in it when the folder object goes, and also when the process is ended by SIGINT,
// SIGTERM, SIGHUP or SIGPIPE (those whose default action the process still has).
#pragma once

#include <string>

namespace veltrum::cli {

class PrivateFolder {
 public:
  // Makes the folder in $TMPDIR, else /tmp; throws std::runtime_error when it cannot.
  PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  ~PrivateFolder();

  const std::string& path() const { return path_; }
  // The path of a file `name` in the folder, which the folder removes with itself.  Only one file
  // is kept in mind for a signal: the one named last.
  std::string file(const std::string& name);

 private:
  std::string path_;
};

}  // namespace veltrum::cli
