// The compact scanner: window tests, first-byte search and confirmation, name by name or in one pass.
#include "compact/scanner.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
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

constexpr uint32_t kNoName = UINT32_MAX;

unsigned char byte_at(const char* data, size_t at) {
  return static_cast<unsigned char>(data[at]);
}

// The index of a pair of bytes in pair_node_.
size_t pair_index(unsigned char first, unsigned char second) {
  return size_t{first} | size_t{second} << 8;
}

// The kinds of a content's window starts, 64 to a pair of words. An offset
// is passed when its window is passed over, and text otherwise; offsets at
// or past the end count as passed, with a jump of 8. Of the passed offsets,
// those whose jump is 4 are marked again. A path standing on a passed offset
// follows a chain of jumps to where it lands: the first text offset of the
// chain, or the first at or past the end.
class Windows {
 public:
  // The number of words that the kinds of `size` offsets take.
  static size_t words_for(size_t size) { return 2 * (size / 64 + 1); }

  // Marks the kinds of the `size` offsets of `data` in `words`.
  Windows(const char* data, size_t size, uint64_t* words);

  bool passed(size_t at) const { return at >= size_ || bit(0, at); }

  // The first passed offset from `from` to `limit` - 1, or `limit`; `limit`
  // is at most the content's size.
  size_t next_passed(size_t from, size_t limit) const;

  // The last passed offset from `from` to `to` - 1, or none; `to` is at
  // most the content's size.
  std::optional<size_t> last_passed(size_t from, size_t to) const;

  // Where a path standing on the passed offset `at` lands.
  size_t landing(size_t at) const;

 private:
  bool bit(size_t kind, size_t at) const { return (words_[2 * (at / 64) + kind] >> (at % 64)) & 1; }
  // Of the 64 offsets of `word`, those that are text or have a jump of 4.
  uint64_t stops(size_t word) const { return ~words_[2 * word] | words_[2 * word + 1]; }
  size_t next_stop(size_t from) const;

  const uint64_t* words_;  // for each 64 offsets: the passed ones, then those with a jump of 4
  size_t size_;
};

// Bit i of the result is set when byte i of `bytes` has its top bit set, and
// bit 16 + i when it is below 0x20.
uint32_t byte_classes(const unsigned char* bytes) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  __m128i control = _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xe0))),
                                   _mm_setzero_si128());
  return static_cast<uint32_t>(_mm_movemask_epi8(v)) |
         static_cast<uint32_t>(_mm_movemask_epi8(control)) << 16;
}

// Bits `from` to `from` + 63 of the 80-bit set whose low 64 bits are `low`
// and high 16 bits are `high`.
uint64_t bits_from(uint64_t low, uint64_t high, unsigned from) {
  return from == 0 ? low : low >> from | high << (64 - from);
}

Windows::Windows(const char* data, size_t size, uint64_t* words) : words_(words), size_(size) {
  for (size_t word = 0; 64 * word <= size; ++word) {
    // Eighty bytes from the word's first offset, zeros past the end.
    unsigned char tail[80] = {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(data) + 64 * word;
    if (64 * word + 80 > size) {
      memcpy(tail, bytes, size - 64 * word);
      bytes = tail;
    }
    uint64_t top[2] = {0, 0};
    uint64_t control[2] = {0, 0};
    for (unsigned part = 0; part < 5; ++part) {
      uint32_t classes = byte_classes(bytes + 16 * part);
      top[part / 4] |= static_cast<uint64_t>(classes & 0xffff) << (16 * (part % 4));
      control[part / 4] |= static_cast<uint64_t>(classes >> 16) << (16 * (part % 4));
    }
    uint64_t any_top8 = 0;
    uint64_t control4 = ~uint64_t{0};
    for (unsigned i = 0; i < 8; ++i) {
      any_top8 |= bits_from(top[0], top[1], i);
      if (i < 4)
        control4 &= bits_from(control[0], control[1], i);
    }
    uint64_t control8 = control4 & bits_from(control[0], control[1], 4) &
                        bits_from(control[0], control[1], 5) &
                        bits_from(control[0], control[1], 6) &
                        bits_from(control[0], control[1], 7);
    uint64_t past_end = 64 * word + 64 <= size ? 0 : ~uint64_t{0} << (size - 64 * word);
    words[2 * word] = any_top8 | control4 | past_end;
    words[2 * word + 1] = control4 & ~control8 & ~any_top8 & ~past_end;
  }
}

size_t Windows::next_passed(size_t from, size_t limit) const {
  for (size_t word = from / 64; from < limit; from = 64 * ++word) {
    uint64_t passed = words_[2 * word] >> (from % 64);
    if (passed != 0)
      return std::min(limit, from + static_cast<size_t>(std::countr_zero(passed)));
  }
  return limit;
}

std::optional<size_t> Windows::last_passed(size_t from, size_t to) const {
  while (to > from) {
    size_t word = (to - 1) / 64;
    uint64_t passed = words_[2 * word] & ~uint64_t{0} >> (63 - (to - 1) % 64);
    if (64 * word < from)
      passed &= ~uint64_t{0} << (from % 64);
    if (passed != 0)
      return 64 * word + 63 - static_cast<size_t>(std::countl_zero(passed));
    to = 64 * word;
  }
  return std::nullopt;
}

constexpr uint64_t kEveryEighth = 0x0101010101010101;

// The first offset of `from`, `from` + 8, `from` + 16... that is text or has
// a jump of 4, or the first of them at or past the end.
size_t Windows::next_stop(size_t from) const {
  uint64_t chain = kEveryEighth << (from % 8) & ~uint64_t{0} << (from % 64);
  for (size_t word = from / 64; 64 * word < size_; ++word, chain = kEveryEighth << (from % 8)) {
    uint64_t found = stops(word) & chain;
    if (found != 0)
      return 64 * word + static_cast<size_t>(std::countr_zero(found));
  }
  return from + (size_ - from + 7) / 8 * 8;
}

size_t Windows::landing(size_t at) const {
  size_t next = at + (bit(1, at) ? 4 : 8);
  while (next < size_) {
    size_t stop = next_stop(next);
    if (stop >= size_ || !bit(0, stop))
      return stop;
    next = stop + 4;
  }
  return next;
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
  const Windows& windows;
};

// A funnel of a group is a byte `first` at q, with q + len < size, whose
// seven window starts before it are text: every path of the group standing
// at or before q meets q. A stride from a text window start meets the first
// `first` in its window, so it never passes q; a chain of jumps of at most 8
// bytes that passes the last passed window start before q stops on one of
// those seven, from which the path meets every `first` up to q. Returns one
// past the last funnel from `from` up to `at`, or 0 when there is none in
// the text window starts that lead up to `at`.
size_t last_funnel(const MappedContent& content, char first, size_t from, size_t at) {
  std::optional<size_t> passed = content.windows.last_passed(from, at);
  if (!passed || *passed + 8 >= at)
    return 0;
  size_t after = after_last(content.data, *passed + 8, at, first);
  return after == *passed + 8 ? 0 : after;
}

// Takes the path of a group, whose names have `len` bytes and start with
// `first`, forward from *pos to `at`, where a name of the group occurs, and
// tells whether `at` is a candidate of the path. *pos is where the path
// stands: the offset that compact_find_name's scan looks at next, as after a
// jump, a stride or a failed candidate. The path only moves forward and is
// the same whichever of its occurrences were looked at, so it may lag; but
// every occurrence before `at` of a name of the group still to be found must
// have been decided. Afterwards *pos is past `at`, or the path has ended
// (*pos + len >= size).
bool path_meets(const MappedContent& content, size_t len, char first, size_t at,
                uint64_t* pos) {
  const char* data = content.data;
  size_t here = std::max<size_t>(*pos, last_funnel(content, first, *pos, at));
  bool met = false;
  while (here <= at && here + len < content.size) {
    if (content.windows.passed(here)) {
      here = content.windows.landing(here);
      continue;
    }
    size_t passed = content.windows.next_passed(here + 1, at + 1);
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
  *pos = here;
  return met;
}

// The answers of a call, recorded for each name given.
struct Answers {
  FoundNames& given;
  const std::vector<size_t>& first_given;  // each distinct name's first index among those given
  const std::vector<size_t>& next_given;   // each given name's next index with the same bytes

  bool found(size_t name) const {
    return given.offset(static_cast<uint32_t>(first_given[name])).has_value();
  }

  void set(size_t name, size_t at) {
    for (size_t i = first_given[name]; i < given.name_count(); i = next_given[i])
      given.record(static_cast<uint32_t>(i), at);
  }
};

// Widens `range` (its lowest and highest byte) to take in `byte`.
void update_range(unsigned char* range, char byte) {
  range[0] = std::min(range[0], static_cast<unsigned char>(byte));
  range[1] = std::max(range[1], static_cast<unsigned char>(byte));
}

// Bit i set when `bytes`[i] lies from `range`[0] to `range`[1].
unsigned in_range(__m128i bytes, const unsigned char* range) {
  __m128i low = _mm_set1_epi8(static_cast<char>(range[0]));
  __m128i high = _mm_set1_epi8(static_cast<char>(range[1]));
  __m128i above = _mm_cmpeq_epi8(_mm_max_epu8(bytes, low), bytes);
  __m128i below = _mm_cmpeq_epi8(_mm_min_epu8(bytes, high), bytes);
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(above, below)));
}

#define TEXSIFT_AVX2 __attribute__((target("avx2")))

// Per byte of `bytes`, the groups of names that may hold it at one place, by
// the tables of its low and high halves.
TEXSIFT_AVX2 __m128i groups_of(const uint8_t (&low)[16], const uint8_t (&high)[16],
                               __m128i bytes) {
  const __m128i nibble = _mm_set1_epi8(0x0f);
  __m128i low_groups = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low)),
                                        _mm_and_si128(bytes, nibble));
  __m128i high_groups =
      _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high)),
                       _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble));
  return _mm_and_si128(low_groups, high_groups);
}

// Bit i set when some group of names may begin at `bytes` + i by its first
// three bytes (a shorter name takes any byte past its end). Reads 18 bytes.
TEXSIFT_AVX2 unsigned starts_by_halves(const uint8_t (&low)[3][16], const uint8_t (&high)[3][16],
                                       const char* bytes) {
  __m128i groups = _mm_set1_epi8(-1);
  for (size_t k = 0; k < 3; ++k) {
    __m128i at_k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + k));
    groups = _mm_and_si128(groups, groups_of(low[k], high[k], at_k));
  }
  __m128i none = _mm_cmpeq_epi8(groups, _mm_setzero_si128());
  return ~static_cast<unsigned>(_mm_movemask_epi8(none)) & 0xffffu;
}

bool has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
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
      first_node_(256),
      pair_node_(65536),
      largest_mapped_(largest_mapped) {
  std::sort(distinct_.begin(), distinct_.end(), shorter_or_lower);
  distinct_.erase(std::unique(distinct_.begin(), distinct_.end()), distinct_.end());
  first_given_.assign(distinct_.size(), names.size());
  next_given_.assign(names.size(), names.size());
  std::vector<size_t> last_given(distinct_.size());
  for (size_t i = 0; i < names.size(); ++i) {
    auto slot = std::lower_bound(distinct_.begin(), distinct_.end(), names[i], shorter_or_lower);
    auto name = static_cast<size_t>(slot - distinct_.begin());
    if (first_given_[name] == names.size())
      first_given_[name] = i;
    else
      next_given_[last_given[name]] = i;
    last_given[name] = i;
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
  for (const std::string& name : distinct_) {
    if (name.empty())
      continue;  // never found
    update_range(first_range_, name[0]);
    update_range(second_range_, name.size() == 1 ? '\0' : name[1]);
    if (name.size() == 1)
      update_range(second_range_, '\xff');
  }
  add_halves();
  for (auto [first, one] : children[0]) {
    first_node_[first] = one;
    for (auto [second, two] : children[one])
      pair_node_[pair_index(first, second)] = two;
  }
}

// Names go into eight groups by their first byte; each group's first three
// bytes are told apart by the halves of each byte, sixteen positions at once.
void CompactNameSearch::add_halves() {
  int group_of_first[256];
  std::fill(std::begin(group_of_first), std::end(group_of_first), -1);
  int groups = 0;
  for (const std::string& name : distinct_) {
    if (name.empty())
      continue;
    auto first = static_cast<unsigned char>(name[0]);
    if (group_of_first[first] < 0)
      group_of_first[first] = groups++ % 8;
    auto bit = static_cast<uint8_t>(1u << group_of_first[first]);
    for (size_t k = 0; k < 3; ++k)
      for (unsigned half = 0; half < 16; ++half) {
        auto byte = static_cast<unsigned char>(k < name.size() ? name[k] : 0);
        // Past a short name's end, any byte will do.
        if (k >= name.size() || (byte & 0x0fu) == half)
          low_half_[k][half] |= bit;
        if (k >= name.size() || (byte >> 4) == half)
          high_half_[k][half] |= bit;
      }
  }
  by_halves_ = has_avx2();
}

unsigned CompactNameSearch::possible_starts(const char* data, size_t size, size_t from) const {
  if (from + 18 > size)
    return (1u << std::min<size_t>(16, size - from)) - 1;
  const char* bytes = data + from;
  if (by_halves_)
    return starts_by_halves(low_half_, high_half_, bytes);
  return in_range(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), first_range_) &
         in_range(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1)), second_range_);
}

template <typename Visit>
void CompactNameSearch::for_each_name_at(const char* data, size_t size, size_t at,
                                         const Visit& visit) const {
  uint32_t node = first_node_[byte_at(data, at)];
  for (size_t depth = 1; node != 0; ++depth) {
    if (nodes_[node].name != kNoName)
      visit(nodes_[node].name);
    if (at + depth == size)
      return;
    node = depth == 1 ? pair_node_[pair_index(byte_at(data, at), byte_at(data, at + 1))]
                      : child(node, data[at + depth]);
  }
}

uint32_t CompactNameSearch::child(uint32_t node, char byte) const {
  const TrieNode& parent = nodes_[node];
  std::optional<size_t> edge =
      compact_find_byte(edge_bytes_.data() + parent.first_edge, byte, parent.edge_count);
  return edge ? edge_nodes_[parent.first_edge + *edge] : 0;
}

std::vector<std::optional<size_t>> CompactNameSearch::find_all(const char* data,
                                                               size_t size) const {
  FoundNames found;
  find_all(data, size, &found);
  std::vector<std::optional<size_t>> offsets;
  for (uint32_t name = 0; name < next_given_.size(); ++name)
    offsets.push_back(found.offset(name));
  return offsets;
}

void CompactNameSearch::find_all(const char* data, size_t size, FoundNames* found) const {
  found->reset(next_given_.size());
  if (size == 0 || distinct_.empty())
    return;
  std::unique_ptr<uint64_t[]> work;
  if (size <= largest_mapped_)
    work.reset(new (std::nothrow) uint64_t[Windows::words_for(size) + group_starts_.size()]);
  if (work)
    search_mapped(data, size, work.get(), found);
  else
    search_by_group(data, size, found);
  found->sort();
}

// The one pass: at each offset, the trie gives the names that occur there;
// each one not yet found is found there when the offset is a candidate of
// its group's path. Offsets go up, so the first candidate met is the first
// occurrence on the path, as in compact_find_name.
void CompactNameSearch::search_mapped(const char* data, size_t size, uint64_t* work,
                                      FoundNames* given) const {
  const Windows windows(data, size, work);
  const MappedContent content{data, size, windows};
  uint64_t* paths = work + Windows::words_for(size);  // where each group's path stands
  std::fill(paths, paths + group_starts_.size(), 0);
  Answers answers{*given, first_given_, next_given_};
  size_t unfound = distinct_.size();
  auto decide = [&](size_t at, uint32_t name) {
    const std::string& bytes = distinct_[name];
    if (!answers.found(name) &&
        path_meets(content, bytes.size(), bytes[0], at, &paths[group_of_[name]])) {
      answers.set(name, at);
      --unfound;
    }
  };
  for (size_t block = 0; block < size && unfound != 0; block += 16) {
    for (unsigned starts = possible_starts(data, size, block); starts != 0; starts &= starts - 1) {
      size_t at = block + static_cast<size_t>(std::countr_zero(starts));
      for_each_name_at(data, size, at, [&](uint32_t name) { decide(at, name); });
    }
  }
}

void CompactNameSearch::search_by_group(const char* data, size_t size,
                                        FoundNames* given) const {
  Answers answers{*given, first_given_, next_given_};
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
  for (size_t name = 0; name < distinct_.size(); ++name)
    if (found[name])
      answers.set(name, *found[name]);
}
