// UTF-8 decoded by hand, so that one rule serves the reports, the page and the Windows names.
#include "text/utf8.h"

size_t decode_utf8(std::string_view bytes, size_t at, char32_t* code, Surrogates surrogates) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  unsigned char lead = byte(at);
  size_t length = lead < 0x80 ? 1 : lead < 0xc2 ? 0 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3
                  : lead < 0xf5                                    ? 4
                                                                   : 0;
  char32_t value = length == 1 ? lead : lead & (0x7fu >> length);
  for (size_t i = 1; i < length; ++i) {
    if (at + i >= bytes.size() || (byte(at + i) & 0xc0) != 0x80) {
      length = 0;
      break;
    }
    value = value << 6 | (byte(at + i) & 0x3fu);
  }
  static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  bool surrogate = value >= 0xd800 && value <= 0xdfff && surrogates == Surrogates::kIllFormed;
  if (length == 0 || value < kLeast[length] || value >= 0x110000 || surrogate) {
    *code = 0xfffd;
    return 0;
  }
  *code = value;
  return length;
}

bool is_utf8(std::string_view bytes) {
  char32_t code = 0;
  for (size_t at = 0, length = 0; at < bytes.size(); at += length)
    if ((length = decode_utf8(bytes, at, &code)) == 0)
      return false;
  return true;
}
