// Conversions between the wide names of the Win32 W functions and the programs' narrow strings, for platform/win32/ and its tests.
#pragma once

#include <string>

// `text`, UTF-8 as utf8_from_wide writes it, as wide characters: three bytes
// that encode a surrogate give that surrogate back. A byte that begins no
// sequence gives U+FFFD.
std::wstring wide_from_utf8(const std::string& text);

// `text` in UTF-8, with a surrogate that has no partner written as the three
// bytes of its own value (as in WTF-8), so that every name NTFS holds
// converts there and back. Such bytes are not well-formed UTF-8.
std::string utf8_from_wide(const std::wstring& text);

// `text` in the ANSI code page, with '?' for each character the code page
// lacks (no best-fit look-alikes). Sets `*in_part` when there was one.
std::string ansi_from_wide(const std::wstring& text, bool* in_part);
