// JSON strings, base64, CSV fields and rows, with UTF-8 checked byte by byte.
#include "text/record_text.h"

#include <cstdint>

namespace {

// The length of the UTF-8 sequence that `lead` begins, and the range its
// second byte must lie in (which rules out overlong forms, surrogates and
// values past U+10FFFF); 0 for a byte that begins none.
struct Sequence {
  size_t length;
  unsigned char low;
  unsigned char high;
};

Sequence sequence_of(unsigned char lead) {
  if (lead < 0x80)
    return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF)
    return {2, 0x80, 0xBF};
  if (lead == 0xE0)
    return {3, 0xA0, 0xBF};
  if (lead == 0xED)
    return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF)
    return {3, 0x80, 0xBF};
  if (lead == 0xF0)
    return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3)
    return {4, 0x80, 0xBF};
  if (lead == 0xF4)
    return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

bool is_continuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

// True when a whole sequence of `sequence` begins at `bytes[at]`.
bool sequence_at(std::string_view bytes, size_t at, const Sequence& sequence) {
  if (sequence.length == 0 || bytes.size() - at < sequence.length)
    return false;
  if (sequence.length == 1)
    return true;
  auto second = static_cast<unsigned char>(bytes[at + 1]);
  if (second < sequence.low || second > sequence.high)
    return false;
  for (size_t i = 2; i < sequence.length; ++i)
    if (!is_continuation(static_cast<unsigned char>(bytes[at + i])))
      return false;
  return true;
}

}  // namespace

bool is_utf8(std::string_view bytes) {
  for (size_t at = 0; at < bytes.size();) {
    Sequence sequence = sequence_of(static_cast<unsigned char>(bytes[at]));
    if (!sequence_at(bytes, at, sequence))
      return false;
    at += sequence.length;
  }
  return true;
}

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

std::string json_string(std::string_view utf8) {
  static const char kHex[] = "0123456789abcdef";
  std::string text = "\"";
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (byte < 0x20) {
      text += "\\u00";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
    } else {
      text += c;
    }
  }
  return text + "\"";
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
