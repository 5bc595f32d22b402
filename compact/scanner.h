// The compact build's scanner: finds a name in a file's bytes, passing over non-text stretches in blocks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The index of the first byte equal to `ch` among data[0] to data[count - 1],
// or none.
std::optional<size_t> compact_find_byte(const char* data, char ch, size_t count);

// The next candidate for a name of `len` bytes starting with `first`, looking
// from offset `pos` of the `size` bytes at `data`. Each window start below
// size - len is either passed over (8 bytes when its 8-byte window holds a
// byte of 0x80 or more or only bytes below 0x20, 4 bytes when its first four
// bytes are all below 0x20), or searched for `first` over its next `len`
// bytes, jumping `len` bytes on a miss. Returns the offset of the first such
// byte found, or none when the window starts run out. Bytes of a window past
// the end of the content count as 0x00 and are never read. Names that share
// their length and first byte meet the same candidates.
std::optional<size_t> compact_next_candidate(const char* data, size_t size,
                                             size_t len, char first, size_t pos);

// The offset of the first occurrence of `name` that the scan meets in the
// `size` bytes at `data`, or none. A candidate counts when all of its bytes
// lie inside the content and equal the name, whatever byte follows it; after
// a failed candidate the scan goes on one byte after it. An occurrence inside
// a window passed over is not found, and content no longer than the name is
// not searched.
std::optional<size_t> compact_find_name(const char* data, size_t size,
                                        std::string_view name);

// Names prepared for one scan per group over a content: names that share
// their length and first byte meet the same candidates until one of them
// matches, so a group's scan confirms every still-unfound member at each
// candidate and goes on one byte after it for the others. Prepared once, it
// serves any number of contents.
class CompactNameGroups {
 public:
  // Groups `names`; duplicates are searched once.
  explicit CompactNameGroups(const std::vector<std::string_view>& names);

  // For each name given to the constructor, in that order, what
  // compact_find_name(data, size, name) returns.
  std::vector<std::optional<size_t>> find_all(const char* data, size_t size) const;

 private:
  std::vector<std::string> distinct_;  // by length, then by bytes
  std::vector<size_t> slot_of_;        // each given name's index in distinct_
  std::vector<size_t> group_starts_;   // each group's first index, then distinct_.size()
};

// For each of `names`, in order, what compact_find_name(data, size, name)
// returns, with one scan per group of names sharing length and first byte.
std::vector<std::optional<size_t>> compact_find_names(
    const char* data, size_t size, const std::vector<std::string_view>& names);
