// The compact build's scanner: finds names in a file's bytes, passing over non-text stretches in blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/found_names.h"

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

// Names prepared for a search of each content in one pass, whatever their
// number; each name's answer is what compact_find_name gives. That scan
// depends only on a name's length and first byte, so the names sharing both
// (a group) share one path of candidates. The pass finds with a trie where
// names occur; at each occurrence of a name not yet found, its group's path
// is taken forward to that offset, to tell whether it is a candidate. Bitmaps
// of the windows passed over, built once per content, let a path cross a
// passed stretch in one step, and a path skips ahead to the last offset
// before the occurrence that every path of its group meets. Prepared once,
// it serves any number of contents, from several threads at once.
class CompactNameSearch {
 public:
  // Prepares `names`, which may repeat, in any order. Contents of more than
  // `largest_mapped` bytes are searched one group at a time, without a map.
  explicit CompactNameSearch(const std::vector<std::string_view>& names,
                             size_t largest_mapped = SIZE_MAX);

  // For each name given to the constructor, in that order, what
  // compact_find_name(data, size, name) returns.
  std::vector<std::optional<size_t>> find_all(const char* data, size_t size) const;

  // The same answers, recorded in `found` (reset first, names numbered as
  // given, sorted at the end): forgetting the last content's answers costs
  // what was found in it, not the number of names. Each call makes one
  // allocation, its map: a quarter of a byte per content byte, plus 8 bytes
  // per group. When that allocation fails, the content is searched one group
  // at a time (the same answers, slower).
  void find_all(const char* data, size_t size, FoundNames* found) const;

 private:
  struct TrieNode {
    uint32_t first_edge = 0;  // its children's index in edge_bytes_
    uint32_t edge_count = 0;
    uint32_t name = 0;        // the distinct name ending here, or none (UINT32_MAX)
  };

  void build_trie();
  void add_halves();
  void search_mapped(const char* data, size_t size, uint64_t* work, FoundNames* given) const;
  void search_by_group(const char* data, size_t size, FoundNames* given) const;
  uint32_t child(uint32_t node, char byte) const;
  // Bit i set when offset `from` + i may start a name, judged by the first
  // three bytes' halves (with AVX2) or by the ranges of first and second
  // bytes; all of the offsets among the last 18.
  unsigned possible_starts(const char* data, size_t size, size_t from) const;
  // Calls visit(name) for each distinct name that occurs at `at`, shortest first.
  template <typename Visit>
  void for_each_name_at(const char* data, size_t size, size_t at, const Visit& visit) const;

  std::vector<std::string> distinct_;   // by length, then by bytes
  std::vector<size_t> first_given_;     // each distinct name's first index among those given
  std::vector<size_t> next_given_;      // each given name's next index with the same bytes, or none
  std::vector<size_t> group_starts_;    // each group's first index, then distinct_.size()
  std::vector<uint32_t> group_of_;      // each distinct name's group
  // A trie of the distinct names; node 0 is the root.
  std::vector<TrieNode> nodes_;
  std::vector<char> edge_bytes_;        // each node's children's bytes, in a run
  std::vector<uint32_t> edge_nodes_;    // the children, parallel to edge_bytes_
  std::vector<uint32_t> first_node_;    // the node one byte deep, by that byte; 0 for none
  std::vector<uint32_t> pair_node_;     // the node two bytes deep, by those bytes; 0 for none
  // Per place among a name's first three bytes, per low or high half of a
  // byte: the groups of names (one bit each, by first byte) that may hold it.
  uint8_t low_half_[3][16] = {};
  uint8_t high_half_[3][16] = {};
  bool by_halves_ = false;  // possible_starts tests the halves (the processor has AVX2)
  unsigned char first_range_[2] = {0xff, 0};   // the lowest and highest first byte
  unsigned char second_range_[2] = {0xff, 0};  // the same for second bytes, all for a one-byte name
  size_t largest_mapped_;
};
