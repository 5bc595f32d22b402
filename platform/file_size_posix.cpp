// File sizes with stat.
#include "platform/file_size.h"

#include <sys/stat.h>

#include "platform/directory.h"

std::optional<uint64_t> file_size(const std::string& path) {
  struct stat info;
  if (stat(native_path(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}
