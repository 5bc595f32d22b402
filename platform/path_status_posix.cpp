// Path existence with stat.
#include "platform/path_status.h"

#include <sys/stat.h>

#include "platform/directory.h"

bool path_exists(const std::string& path) {
  struct stat info;
  return stat(path.empty() ? "." : native_path(path).c_str(), &info) == 0;
}
