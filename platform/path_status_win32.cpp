// Path existence with GetFileAttributesA.
#include "platform/path_status.h"

#include <windows.h>

bool path_exists(const std::string& path) {
  return GetFileAttributesA(path.empty() ? "." : path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
