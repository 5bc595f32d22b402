// The per-name models of the two scanners, written step by step: the reference of the tables and the fuzz targets.
#include "support/name_models.h"

#include <algorithm>

#include <cstring>

namespace {

constexpr uint32_t kTopBits = 0x80808080;
constexpr uint32_t kTextBits = 0xe0e0e0e0;

// The four bytes at `at` as a little-endian word; bytes at or past `size` are 0.
uint32_t word_at(const unsigned char* data, size_t size, size_t at) {
  uint32_t word = 0;
  for (size_t i = 0; i < 4; ++i)
    if (at + i < size)
      word |= static_cast<uint32_t>(data[at + i]) << (8 * i);
  return word;
}

bool is_terminator(unsigned char byte) {
  return std::memchr("\t\n\r ,.\\]", byte, 8) != nullptr || byte == 0;
}

bool occurs_at(const unsigned char* content, size_t at, std::string_view name) {
  return std::memcmp(content + at, name.data(), name.size()) == 0;
}

// The 1-based position of `ch` among the `count` bytes from `from` after the
// leading skip, or 0.
uint64_t model_scan_for_byte(const unsigned char* content, size_t size, size_t from,
                             unsigned char ch, uint64_t count) {
  uint64_t k = 0;
  while (k < count) {
    uint32_t window = word_at(content, size, from + k);
    if (!(window & kTopBits) && (window & kTextBits))
      break;
    ++k;
  }
  for (; k < count; ++k)
    if (content[from + k] == ch)
      return k + 1;
  return 0;
}

bool is_whole_name_at(const unsigned char* content, size_t size, size_t at,
                      std::string_view name) {
  if (!occurs_at(content, at, name))
    return false;
  return at + name.size() == size || is_terminator(content[at + name.size()]);
}

}  // namespace

std::optional<uint64_t> model_find_name(const unsigned char* content, size_t size,
                                        std::string_view name) {
  if (name.empty() || size < name.size())
    return std::nullopt;
  const size_t last = size - name.size();
  size_t pos = 0;
  while (pos <= last) {
    uint64_t r = model_scan_for_byte(content, size, pos, static_cast<unsigned char>(name[0]),
                                     last - pos + 1);
    if (r == 0)
      return std::nullopt;
    pos += r - 1;
    if (is_whole_name_at(content, size, pos, name))
      return pos;
    ++pos;
  }
  return std::nullopt;
}

std::optional<uint64_t> first_whole_name(const unsigned char* content, size_t size,
                                         std::string_view name) {
  for (size_t at = 0; at + name.size() <= size; ++at)
    if (is_whole_name_at(content, size, at, name))
      return at;
  return std::nullopt;
}

std::optional<uint64_t> model_compact_find_name(const unsigned char* content, size_t size,
                                                std::string_view name) {
  const size_t len = name.size();
  if (len == 0 || len >= size)
    return std::nullopt;
  size_t pos = 0;
  while (pos < size - len) {
    uint32_t low = word_at(content, size, pos);
    uint32_t high = word_at(content, size, pos + 4);
    bool low_control = (low & kTextBits) == 0;
    if (((low | high) & kTopBits) || (low_control && (high & kTextBits) == 0)) {
      pos += 8;
      continue;
    }
    if (low_control) {
      pos += 4;
      continue;
    }
    const void* hit = std::memchr(content + pos, static_cast<unsigned char>(name[0]), len);
    if (!hit) {
      pos += len;
      continue;
    }
    pos = static_cast<size_t>(static_cast<const unsigned char*>(hit) - content);
    if (pos + len <= size && occurs_at(content, pos, name))
      return pos;
    ++pos;
  }
  return std::nullopt;
}

uint64_t find_in_pieces_of(const NameRule& rule, Bytes content, size_t piece, FoundNames* found) {
  size_t at = 0;
  const PieceReader read = [&](unsigned char* into, size_t count) {
    size_t given = std::min(count, content.size() - at);
    std::copy_n(content.data() + at, given, into);
    at += given;
    return given;
  };
  std::vector<unsigned char> buffer;
  return find_in_pieces(rule, read, piece, &buffer, found);
}

std::vector<std::optional<uint64_t>> all_offsets(const FoundNames& found) {
  std::vector<std::optional<uint64_t>> offsets;
  for (uint32_t name = 0; name < found.name_count(); ++name)
    offsets.push_back(found.offset(name));
  return offsets;
}
