// ANSI to UTF-8 through UTF-16, with MultiByteToWideChar and WideCharToMultiByte.
#include "platform/text.h"

#include <windows.h>

namespace {

// `text` in UTF-16; false when it holds a byte the ANSI code page does not map.
bool ansi_to_wide(const std::string& text, std::wstring* wide) {
  const int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0)
    return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide->data(),
                             length) == length;
}

}  // namespace

std::string ansi_to_utf8(const std::string& text) {
  std::wstring wide;
  if (text.empty() || !ansi_to_wide(text, &wide))
    return text;
  const int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0)
    return text;
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}
