// Path existence with GetFileAttributesW.
#include "platform/path_status.h"

#include <windows.h>

#include "platform/wide_win32.h"

bool path_exists(const std::string& path) {
  return GetFileAttributesW(wide_from_utf8(path.empty() ? "." : path).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}
