// ASCII case and the substring test, on bytes of any encoding: bytes past 0x7F are left as they are.
#pragma once

#include <string>
#include <string_view>

// `c` with an ASCII capital letter made small; any other byte as it is.
constexpr char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `c` with an ASCII small letter made capital; any other byte as it is.
constexpr char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// `text` with each byte through lower_ascii.
inline std::string lower_ascii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = lower_ascii(c);
  return lower;
}

// `text` with each byte through upper_ascii.
inline std::string upper_ascii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    c = upper_ascii(c);
  return upper;
}

// True when `part` occurs in `text`.
inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}
