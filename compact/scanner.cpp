// The compact scanner: window tests, bounded first-byte search and confirmation.
#include "compact/scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <new>
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
  // The tests look at each byte alone, so the words' byte order is free.
  uint32_t low;
  uint32_t high;
  if (pos + 8 <= size) {
    memcpy(&low, data + pos, 4);
    memcpy(&high, data + pos + 4, 4);
  } else {
    low = load_word(data, size, pos);
    high = load_word(data, size, pos + 4);
  }
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

constexpr uint32_t kNoName = UINT32_MAX;
constexpr uint32_t kNotFound = UINT32_MAX;

unsigned char byte_at(const char* data, size_t at) {
  return static_cast<unsigned char>(data[at]);
}

// Builds the map of a content. Call an offset passed when its window is
// passed over (offsets at or past the end count as passed), and text
// otherwise; a step from a passed offset is its jump, from a text offset one
// byte. map[p] is the first offset of the other kind that steps from p reach
// (or the first at or past the end): for a passed offset, where a path
// standing there lands; for a text offset, the next passed one.
void build_map(const char* data, size_t size, uint32_t* map) {
  unsigned char jumps[16] = {};  // the jumps of the offsets just after p, by offset % 16
  for (size_t p = size; p-- > 0;) {
    size_t jump = window_jump(data, size, p);
    jumps[p % 16] = static_cast<unsigned char>(jump);
    size_t next = p + (jump != 0 ? jump : 1);
    bool same_kind = next < size && (jumps[next % 16] != 0) == (jump != 0);
    map[p] = same_kind ? map[next] : static_cast<uint32_t>(next);
  }
}

// One past the last `ch` among data[from] to data[to - 1], or `from`.
size_t after_last(const char* data, size_t from, size_t to, char ch) {
  while (to > from && data[to - 1] != ch)
    --to;
  return to;
}

struct MappedContent {
  const char* data;
  size_t size;
  const uint32_t* map;
};

// Takes the path of a group, whose names have `len` bytes and start with
// `first`, forward from *pos to `at`, where a name of the group occurs, and
// tells whether `at` is a candidate of the path. *pos is where the path
// stands: a window start not yet looked at, or one past its last candidate;
// no byte `first` lies between *pos and the next window start it searches.
// Afterwards *pos is past `at`, or the path has ended (*pos + len >= size).
bool path_meets(const MappedContent& content, size_t len, char first, size_t at, uint32_t* pos) {
  const char* data = content.data;
  size_t here = *pos;
  bool met = false;
  while (here <= at && here + len < content.size) {
    if (window_jump(data, content.size, here) != 0) {
      here = content.map[here];
      continue;
    }
    size_t passed = content.map[here];
    if (at < passed) {
      // Every window start from here to `at` is text: the path meets each
      // `first` on the way, `at` last, from the stride that covers it. That
      // stride ends the path when it is `at` itself and the name ends the
      // content.
      met = at + len < content.size || (at - after_last(data, here, at, first)) % len != 0;
      here = at + 1;
      break;
    }
    // Strides of `len` from the last candidate before `passed` reach it at
    // `stride`; the stride before it searches up to there.
    size_t start = after_last(data, here, passed, first);
    size_t stride = start + (passed - start + len - 1) / len * len;
    std::optional<size_t> hit = compact_find_byte(data + passed, first, stride - passed);
    here = hit ? passed + *hit + 1 : stride;
    if (here == at + 1) {
      met = true;
      break;
    }
  }
  *pos = static_cast<uint32_t>(here);
  return met;
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

CompactNameSearch::CompactNameSearch(const std::vector<std::string_view>& names,
                                     size_t largest_mapped)
    : distinct_(names.begin(), names.end()),
      pair_node_(65536),
      largest_mapped_(std::min(largest_mapped, kLargestMapped)) {
  std::sort(distinct_.begin(), distinct_.end(), shorter_or_lower);
  distinct_.erase(std::unique(distinct_.begin(), distinct_.end()), distinct_.end());
  for (std::string_view name : names) {
    auto slot = std::lower_bound(distinct_.begin(), distinct_.end(), name, shorter_or_lower);
    slot_of_.push_back(static_cast<size_t>(slot - distinct_.begin()));
  }
  for (size_t i = 0; i < distinct_.size(); ++i) {
    if (i == 0 || !same_group(distinct_[i - 1], distinct_[i]))
      group_starts_.push_back(i);
    group_of_.push_back(static_cast<uint32_t>(group_starts_.size() - 1));
  }
  group_starts_.push_back(distinct_.size());
  build_trie();
}

void CompactNameSearch::build_trie() {
  // Children by byte, then flattened so that each node's children are a run.
  std::vector<std::map<unsigned char, uint32_t>> children(1);
  std::vector<uint32_t> ends(1, kNoName);
  for (size_t i = 0; i < distinct_.size(); ++i) {
    uint32_t node = 0;
    for (char ch : distinct_[i]) {
      auto added = children[node].try_emplace(static_cast<unsigned char>(ch),
                                              static_cast<uint32_t>(children.size()));
      node = added.first->second;
      if (added.second) {
        children.emplace_back();
        ends.push_back(kNoName);
      }
    }
    ends[node] = static_cast<uint32_t>(i);
  }
  for (size_t node = 0; node < children.size(); ++node) {
    nodes_.push_back({static_cast<uint32_t>(edge_bytes_.size()),
                      static_cast<uint32_t>(children[node].size()), ends[node]});
    for (auto [byte, next] : children[node]) {
      edge_bytes_.push_back(static_cast<char>(byte));
      edge_nodes_.push_back(next);
    }
  }
  for (auto [first, one] : children[0])
    for (auto [second, two] : children[one])
      pair_node_[first | second << 8] = two;
}

uint32_t CompactNameSearch::child(uint32_t node, char byte) const {
  const TrieNode& parent = nodes_[node];
  std::optional<size_t> edge =
      compact_find_byte(edge_bytes_.data() + parent.first_edge, byte, parent.edge_count);
  return edge ? edge_nodes_[parent.first_edge + *edge] : 0;
}

std::vector<std::optional<size_t>> CompactNameSearch::find_all(const char* data,
                                                               size_t size) const {
  std::vector<std::optional<size_t>> offsets;
  find_all(data, size, &offsets);
  return offsets;
}

void CompactNameSearch::find_all(const char* data, size_t size,
                                 std::vector<std::optional<size_t>>* offsets) const {
  offsets->assign(slot_of_.size(), std::nullopt);
  if (size == 0 || distinct_.empty())
    return;
  size_t groups = group_starts_.size() - 1;
  std::unique_ptr<uint32_t[]> work;
  if (size <= largest_mapped_)
    work.reset(new (std::nothrow) uint32_t[size + groups + distinct_.size()]);
  if (work)
    search_mapped(data, size, work.get(), offsets);
  else
    search_by_group(data, size, offsets);
}

// The one pass: at each offset, the trie gives the names that occur there;
// each one not yet found is found there when that offset is a candidate of
// its group's path. Offsets go up, so the first candidate met is the first
// occurrence on the path, as in compact_find_name.
void CompactNameSearch::search_mapped(const char* data, size_t size, uint32_t* work,
                                      std::vector<std::optional<size_t>>* offsets) const {
  uint32_t* map = work;
  uint32_t* paths = map + size;                           // where each group's path stands
  uint32_t* found = paths + (group_starts_.size() - 1);  // each distinct name's offset
  build_map(data, size, map);
  std::fill(paths, found, 0);
  std::fill(found, found + distinct_.size(), kNotFound);
  const MappedContent content{data, size, map};
  size_t unfound = distinct_.size();
  for (size_t at = 0; at < size && unfound != 0; ++at) {
    uint32_t node = nodes_[0].edge_count == 0 ? 0 : child(0, data[at]);
    for (size_t depth = 1; node != 0; ++depth) {
      uint32_t name = nodes_[node].name;
      if (name != kNoName && found[name] == kNotFound &&
          path_meets(content, depth, data[at], at, &paths[group_of_[name]])) {
        found[name] = static_cast<uint32_t>(at);
        --unfound;
      }
      if (at + depth == size)
        break;
      node = depth == 1 ? pair_node_[byte_at(data, at) | byte_at(data, at + 1) << 8]
                        : child(node, data[at + depth]);
    }
  }
  for (size_t i = 0; i < slot_of_.size(); ++i)
    if (found[slot_of_[i]] != kNotFound)
      (*offsets)[i] = found[slot_of_[i]];
}

void CompactNameSearch::search_by_group(const char* data, size_t size,
                                        std::vector<std::optional<size_t>>* offsets) const {
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
  for (size_t i = 0; i < slot_of_.size(); ++i)
    (*offsets)[i] = found[slot_of_[i]];
}

std::vector<std::optional<size_t>> compact_find_names(
    const char* data, size_t size, const std::vector<std::string_view>& names) {
  return CompactNameSearch(names).find_all(data, size);
}
