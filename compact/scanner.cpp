// The compact scanner: window tests, bounded first-byte search and confirmation.
#include "compact/scanner.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kTopBits = 0x80808080;   // set in a word with a byte of 0x80 or more
constexpr uint32_t kTextBits = 0xe0e0e0e0;  // clear in a word of bytes below 0x20

// The four bytes at `pos` as one little-endian word. Bytes past the end of
// the content count as 0x00 and are not read.
uint32_t load_word(const char* data, size_t size, size_t pos) {
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (pos + 4 <= size)
    memcpy(bytes, data + pos, 4);
  else if (pos < size)
    memcpy(bytes, data + pos, size - pos);
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// How far the window at `pos` is passed over: 8 when its eight bytes hold a
// top-bit byte or are all control bytes, 4 when its first four are all
// control bytes, otherwise 0.
size_t window_jump(const char* data, size_t size, size_t pos) {
  uint32_t low = load_word(data, size, pos);
  uint32_t high = load_word(data, size, pos + 4);
  if (((low | high) & kTopBits) != 0 || ((low | high) & kTextBits) == 0)
    return 8;
  return (low & kTextBits) == 0 ? 4 : 0;
}

}  // namespace

std::optional<size_t> compact_find_byte(const char* data, char ch, size_t count) {
  const void* hit = memchr(data, static_cast<unsigned char>(ch), count);
  if (!hit)
    return std::nullopt;
  return static_cast<size_t>(static_cast<const char*>(hit) - data);
}

std::optional<size_t> compact_next_candidate(const char* data, size_t size,
                                             size_t len, char first, size_t pos) {
  if (len == 0 || len >= size)
    return std::nullopt;
  while (pos < size - len) {
    size_t jump = window_jump(data, size, pos);
    if (jump != 0) {
      pos += jump;
      continue;
    }
    std::optional<size_t> index = compact_find_byte(data + pos, first, len);
    if (index)
      return pos + *index;
    pos += len;
  }
  return std::nullopt;
}

std::optional<size_t> compact_find_name(const char* data, size_t size,
                                        std::string_view name) {
  if (name.empty())
    return std::nullopt;
  size_t pos = 0;
  while (std::optional<size_t> candidate =
             compact_next_candidate(data, size, name.size(), name[0], pos)) {
    if (*candidate + name.size() <= size &&
        memcmp(data + *candidate, name.data(), name.size()) == 0)
      return candidate;
    pos = *candidate + 1;
  }
  return std::nullopt;
}
