// base64, JSON strings and CSV fields, each written once for the reports and the page.
#include "text/encode.h"

#include <cstdint>

#include "text/utf8.h"

std::string base64(std::string_view bytes) {
  static const char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t at = 0; at < bytes.size(); at += 3) {
    size_t count = bytes.size() - at < 3 ? bytes.size() - at : 3;
    uint32_t group = 0;
    for (size_t i = 0; i < 3; ++i)
      group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
    for (size_t i = 0; i < 4; ++i)
      text += i <= count ? kDigits[(group >> (18 - 6 * i)) & 0x3F] : '=';
  }
  return text;
}

std::string json_string(std::string_view text, JsonUse use) {
  static const char kHex[] = "0123456789abcdef";
  const bool script = use == JsonUse::kScript;
  std::string out = "\"";
  auto escape = [&](char32_t code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
      out += kHex[(code >> shift) & 15];
  };
  for (size_t at = 0, length = 1; at < text.size(); at += length ? length : 1) {
    auto byte = static_cast<unsigned char>(text[at]);
    char32_t code = byte;
    length = script ? decode_utf8(text, at, &code) : 1;
    if (length == 0) {
      escape(0xdc00u + byte);
    } else if (byte == '"' || byte == '\\') {
      out += '\\';
      out += text[at];
    } else if (byte < 0x20 ||
               (script && (byte == '<' || byte == '>' || byte == '&' || byte == 0x7f))) {
      escape(byte);
    } else if (script && (code == 0x2028 || code == 0x2029)) {
      escape(code);
    } else {
      out.append(text.data() + at, length);
    }
  }
  return out + "\"";
}

std::string json_text(std::string_view bytes) {
  if (is_utf8(bytes))
    return "{\"text\":" + json_string(bytes) + "}";
  return "{\"bytes\":\"" + base64(bytes) + "\"}";
}

std::string csv_field(std::string_view bytes) {
  if (bytes.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(bytes);
  std::string field = "\"";
  for (char c : bytes) {
    if (c == '"')
      field += '"';
    field += c;
  }
  return field + "\"";
}

std::string csv_row(std::initializer_list<std::string> fields) {
  std::string row;
  const char* separator = "";
  for (const std::string& field : fields) {
    row += separator;
    row += field;
    separator = ",";
  }
  return row + "\n";
}
