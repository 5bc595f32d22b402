// The compact scanner: window tests, bounded first-byte search and confirmation.
#include "compact/scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

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

// Orders names by length, then by their bytes, so that a group of names
// sharing length and first byte is one sorted run.
bool shorter_or_lower(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

bool same_group(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || a[0] == b[0]);
}

// Scans `data` once for `names`, distinct, sorted and sharing their length
// and first byte, and records in `found` where each is found. Names of equal
// length that differ cannot both match at one candidate, so the members that
// match there are the one whose bytes equal the candidate's, if any.
void scan_group(const char* data, size_t size, std::span<const std::string> names,
                std::span<std::optional<size_t>> found) {
  const size_t len = names.front().size();
  size_t pending = names.size();
  size_t pos = 0;
  while (pending != 0) {
    std::optional<size_t> candidate =
        compact_next_candidate(data, size, len, names.front()[0], pos);
    if (!candidate)
      return;
    if (*candidate + len <= size) {
      std::string_view bytes(data + *candidate, len);
      auto member = std::lower_bound(names.begin(), names.end(), bytes);
      size_t index = static_cast<size_t>(member - names.begin());
      if (member != names.end() && *member == bytes && !found[index]) {
        found[index] = candidate;
        --pending;
      }
    }
    pos = *candidate + 1;
  }
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

CompactNameGroups::CompactNameGroups(const std::vector<std::string_view>& names)
    : distinct_(names.begin(), names.end()) {
  std::sort(distinct_.begin(), distinct_.end(), shorter_or_lower);
  distinct_.erase(std::unique(distinct_.begin(), distinct_.end()), distinct_.end());
  for (std::string_view name : names) {
    auto slot = std::lower_bound(distinct_.begin(), distinct_.end(), name, shorter_or_lower);
    slot_of_.push_back(static_cast<size_t>(slot - distinct_.begin()));
  }
  for (size_t i = 0; i < distinct_.size(); ++i)
    if (i == 0 || !same_group(distinct_[i - 1], distinct_[i]))
      group_starts_.push_back(i);
  group_starts_.push_back(distinct_.size());
}

std::vector<std::optional<size_t>> CompactNameGroups::find_all(const char* data,
                                                               size_t size) const {
  std::vector<std::optional<size_t>> found(distinct_.size());
  std::span<const std::string> names(distinct_);
  for (size_t group = 0; group + 1 < group_starts_.size(); ++group) {
    size_t begin = group_starts_[group];
    size_t count = group_starts_[group + 1] - begin;
    // Groups come by length: the rest are no shorter than the content.
    if (names[begin].size() >= size)
      break;
    scan_group(data, size, names.subspan(begin, count),
               std::span(found).subspan(begin, count));
  }
  std::vector<std::optional<size_t>> offsets;
  offsets.reserve(slot_of_.size());
  for (size_t slot : slot_of_)
    offsets.push_back(found[slot]);
  return offsets;
}

std::vector<std::optional<size_t>> compact_find_names(
    const char* data, size_t size, const std::vector<std::string_view>& names) {
  return CompactNameGroups(names).find_all(data, size);
}
