// File sizes with GetFileAttributesExW, on the wide form of the name.
#include "platform/file_size.h"

#include <windows.h>

#include "platform/wide_win32.h"

std::optional<uint64_t> file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide_from_utf8(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
