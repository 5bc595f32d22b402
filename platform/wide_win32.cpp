// Wide-character conversions through MultiByteToWideChar and WideCharToMultiByte.
#include "platform/wide_win32.h"

#include <windows.h>

namespace {

std::wstring to_wide(UINT code_page, const std::string& text) {
  if (text.empty())
    return std::wstring();
  int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

// `text` in `code_page`; `used_default`, when given, is set when a character
// had no counterpart there.
std::string to_narrow(UINT code_page, DWORD flags, const std::wstring& text, BOOL* used_default) {
  if (text.empty())
    return std::string();
  int length = WideCharToMultiByte(code_page, flags, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, used_default);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, flags, text.data(), static_cast<int>(text.size()),
                      narrow.data(), length, nullptr, used_default);
  return narrow;
}

}  // namespace

std::wstring wide_from_utf8(const std::string& text) { return to_wide(CP_UTF8, text); }

std::string utf8_from_wide(const std::wstring& text) {
  return to_narrow(CP_UTF8, 0, text, nullptr);
}

std::string ansi_from_wide(const std::wstring& text, bool* in_part) {
  *in_part = false;
  // A UTF-8 ANSI code page holds every character, and takes no flags.
  if (GetACP() == CP_UTF8)
    return utf8_from_wide(text);
  BOOL used_default = FALSE;
  std::string ansi = to_narrow(CP_ACP, WC_NO_BEST_FIT_CHARS, text, &used_default);
  *in_part = used_default != FALSE;
  return ansi;
}

std::wstring wide_from_ansi(const std::string& text) { return to_wide(CP_ACP, text); }
