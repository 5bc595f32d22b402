// Wide-character conversions: UTF-8 by hand, so that unpaired surrogates survive; ANSI through the Win32 functions.
#include "platform/win32/wide.h"

#include <windows.h>

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

// The length of the sequence that `lead` begins; 0 when it begins none.
size_t sequence_length(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead < 0xc2)
    return 0;
  if (lead < 0xe0)
    return 2;
  if (lead < 0xf0)
    return 3;
  return lead < 0xf5 ? 4 : 0;
}

// Decodes the sequence at `text[at]` into `*code` and returns its length.
// Surrogates decode like any other value; an overlong, cut or stray sequence
// gives U+FFFD for its first byte.
size_t decode_one(const std::string& text, size_t at, char32_t* code) {
  auto lead = static_cast<unsigned char>(text[at]);
  size_t length = sequence_length(lead);
  char32_t value = length == 1 ? lead : lead & (0x7fu >> length);
  for (size_t i = 1; i < length; ++i) {
    if (at + i >= text.size() || (static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) {
      length = 0;
      break;
    }
    value = value << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3fu);
  }
  static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (length == 0 || value < kLeast[length] || value >= 0x110000) {
    *code = 0xfffd;
    return 1;
  }
  *code = value;
  return length;
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
    at += decode_one(text, at, &code);
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
