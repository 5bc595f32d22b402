// Conversions between the wide names of the Win32 W functions and the programs' narrow strings.
#pragma once

#include <string>

// `text`, in UTF-8, as wide characters.
std::wstring wide_from_utf8(const std::string& text);

// `text` in UTF-8.
std::string utf8_from_wide(const std::wstring& text);

// `text` in the ANSI code page, with '?' for each character the code page
// lacks (no best-fit look-alikes). Sets `*in_part` when there was one.
std::string ansi_from_wide(const std::wstring& text, bool* in_part);

// `text`, in the ANSI code page, as wide characters.
std::wstring wide_from_ansi(const std::string& text);
