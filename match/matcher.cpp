// The name matcher: a leading skip over non-text bytes, a first-byte scan and a whole-name test.
#include "match/matcher.h"

#include <algorithm>
#include <cstring>

namespace {

// How many bytes the leading skip passes at `k`, judging the four-byte window
// data[k..k+3]; 0 when the window looks like text and the skip ends. A window
// with a byte of 0x80 or more is passed together with every later window that
// still holds that byte, which is the same as passing them one at a time.
uint64_t bytes_to_pass(Bytes data, uint64_t k) {
  uint64_t in_buffer = std::min<uint64_t>(4, data.size() - k);
  uint64_t past_top_byte = 0;
  bool text = false;
  for (uint64_t i = 0; i < in_buffer; ++i) {
    unsigned char byte = data[k + i];
    if (byte >= 0x80)
      past_top_byte = i + 1;
    else if (byte >= 0x20)
      text = true;
  }
  // Bytes past the end of the buffer count as 0x00: neither top-bit nor text.
  if (past_top_byte != 0)
    return past_top_byte;
  return text ? 0 : 1;
}

}  // namespace

bool is_name_terminator(unsigned char byte) {
  switch (byte) {
    case 0x00: case '\t': case '\n': case '\r': case ' ':
    case ',': case '.': case '\\': case ']':
      return true;
    default:
      return false;
  }
}

uint64_t scan_for_byte(Bytes data, unsigned char ch, uint64_t count) {
  uint64_t k = 0;
  while (k < count) {
    uint64_t pass = bytes_to_pass(data, k);
    if (pass == 0)
      break;
    k += pass;
  }
  if (k >= count)
    return 0;
  const void* hit = memchr(data.data() + k, ch, count - k);
  if (!hit)
    return 0;
  return static_cast<uint64_t>(static_cast<const unsigned char*>(hit) - data.data()) + 1;
}

bool match_name(Bytes data, std::string_view name) {
  if (memcmp(data.data(), name.data(), name.size()) != 0)
    return false;
  // The end of the content ends a name as a terminator byte does.
  return data.size() == name.size() || is_name_terminator(data[name.size()]);
}

std::optional<uint64_t> find_name(Bytes content, std::string_view name) {
  if (name.empty() || content.size() < name.size())
    return std::nullopt;
  const uint64_t last = content.size() - name.size();  // the last candidate
  const auto first = static_cast<unsigned char>(name[0]);
  uint64_t pos = 0;
  while (pos <= last) {
    uint64_t r = scan_for_byte(content.subspan(pos), first, last - pos + 1);
    if (r == 0)
      return std::nullopt;
    pos += r - 1;
    if (match_name(content.subspan(pos), name))
      return pos;
    ++pos;
  }
  return std::nullopt;
}
