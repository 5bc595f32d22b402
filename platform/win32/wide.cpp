// Wide-character conversions: UTF-8 by hand, so that unpaired surrogates survive; ANSI through the Win32 functions.
#include "platform/win32/wide.h"

#include <windows.h>

#include "text/utf8.h"

namespace {

bool is_high_surrogate(char32_t code) { return code >= 0xd800 && code <= 0xdbff; }
bool is_low_surrogate(char32_t code) { return code >= 0xdc00 && code <= 0xdfff; }

// `code` (below 0x110000) in UTF-8; a surrogate in the three bytes of its value.
void append_utf8(char32_t code, std::string* utf8) {
  auto byte = [utf8](char32_t value) { utf8->push_back(static_cast<char>(value)); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xc0 | code >> 6);
    byte(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    byte(0xe0 | code >> 12);
    byte(0x80 | (code >> 6 & 0x3f));
    byte(0x80 | (code & 0x3f));
  } else {
    byte(0xf0 | code >> 18);
    byte(0x80 | (code >> 12 & 0x3f));
    byte(0x80 | (code >> 6 & 0x3f));
    byte(0x80 | (code & 0x3f));
  }
}

// `code` in UTF-16.
void append_wide(char32_t code, std::wstring* wide) {
  if (code >= 0x10000) {
    wide->push_back(static_cast<wchar_t>(0xd800 + ((code - 0x10000) >> 10)));
    wide->push_back(static_cast<wchar_t>(0xdc00 + ((code - 0x10000) & 0x3ff)));
  } else {
    wide->push_back(static_cast<wchar_t>(code));
  }
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

std::wstring wide_from_utf8(const std::string& text) {
  std::wstring wide;
  for (size_t at = 0; at < text.size();) {
    char32_t code = 0;
    size_t length = decode_utf8(text, at, &code, Surrogates::kDecoded);
    at += length ? length : 1;  // U+FFFD for a byte that begins no sequence
    append_wide(code, &wide);
  }
  return wide;
}

std::string utf8_from_wide(const std::wstring& text) {
  std::string utf8;
  for (size_t at = 0; at < text.size(); ++at) {
    char32_t code = static_cast<char16_t>(text[at]);
    if (is_high_surrogate(code) && at + 1 < text.size() &&
        is_low_surrogate(static_cast<char16_t>(text[at + 1])))
      code = 0x10000 + ((code - 0xd800) << 10) + (static_cast<char16_t>(text[++at]) - 0xdc00u);
    append_utf8(code, &utf8);
  }
  return utf8;
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
