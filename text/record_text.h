// The strings of the machine-readable reports: JSON text objects, CSV fields and CSV rows.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// True when `bytes` are well-formed UTF-8 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
bool is_utf8(std::string_view bytes);

// `bytes` in standard base64 (RFC 4648, "+/" and "=" padding).
std::string base64(std::string_view bytes);

// `utf8` as a JSON string: in double quotes, with the quote and the backslash
// escaped by a backslash and each control character (below 0x20) written
// \u00XX; every other byte as it is.
std::string json_string(std::string_view utf8);

// `bytes` as a JSON object that carries them exactly: {"text":"..."} when
// they are UTF-8, otherwise {"bytes":"<base64>"}.
std::string json_text(std::string_view bytes);

// `bytes` as a CSV field (RFC 4180): as they are, or in double quotes with
// each quote doubled when they hold a comma, a double quote, a CR or an LF.
std::string csv_field(std::string_view bytes);

// One CSV row: `fields` (already CSV fields) joined by commas, ending in LF.
std::string csv_row(std::initializer_list<std::string> fields);
