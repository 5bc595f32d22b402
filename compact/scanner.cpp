// The compact scanner: the map of skipped window starts, the groups' paths over it, and the one pass with the trie.
#include "compact/scanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>

namespace {

// Orders names by length, then by their bytes, so that a group of names
// sharing length and first byte is one sorted run.
bool shorter_or_lower(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

bool same_group(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || a[0] == b[0]);
}

constexpr uint32_t kNoName = UINT32_MAX;

unsigned char byte_at(const char* data, size_t at) {
  return static_cast<unsigned char>(data[at]);
}

// The index of a pair of bytes in pair_node_.
size_t pair_index(unsigned char first, unsigned char second) {
  return size_t{first} | size_t{second} << 8;
}

// A content's skipped window starts, 64 to a pair of words: the skipped
// ones, then those of them whose jump is 4. Offsets at or past the end count
// as skipped, with a jump of 8.
class SkipMap {
 public:
  // The number of words that the map of `size` offsets takes.
  static size_t words_for(size_t size) { return 2 * (size / 64 + 1); }

  // Maps the `size` offsets of `data` into `words`, finding the kinds of
  // bytes with `test`'s instructions.
  SkipMap(const char* data, size_t size, uint64_t* words, StartTest test);

  bool skipped(size_t at) const { return at >= size_ || bit(0, at); }

  // The first skipped offset from `from` to `limit` - 1, or `limit`; `limit`
  // is at most the content's size.
  size_t next_skipped(size_t from, size_t limit) const;

  // The last skipped offset from `from` to `to` - 1, or none; `to` is at
  // most the content's size.
  std::optional<size_t> last_skipped(size_t from, size_t to) const;

  // Where a path standing on the skipped offset `at` lands.
  size_t landing(size_t at) const;

 private:
  bool bit(size_t kind, size_t at) const { return (words_[2 * (at / 64) + kind] >> (at % 64)) & 1; }
  // Of the 64 offsets of `word`, those that are text or have a jump of 4.
  uint64_t stops(size_t word) const { return ~words_[2 * word] | words_[2 * word + 1]; }
  size_t next_stop(size_t from) const;

  const uint64_t* words_;  // for each 64 offsets: the skipped ones, then those with a jump of 4
  size_t size_;
};

// The kinds of the 64 bytes from `at`, zeros past the end.
ByteKinds kinds_of(const char* data, size_t size, size_t at, StartTest test) {
  if (at + 64 <= size)
    return byte_kinds(reinterpret_cast<const unsigned char*>(data) + at, test);
  unsigned char tail[64] = {};
  if (at < size)
    memcpy(tail, data + at, size - at);
  return byte_kinds(tail, test);
}

// Bits `by` to `by` + 63 of the 128 bits whose low half is `low` (0 < by < 64).
uint64_t bits_from(uint64_t low, uint64_t high, unsigned by) {
  return low >> by | high << (64 - by);
}

// Per offset of a word, from the kinds of its bytes and of the next word's,
// its window start's bits in the map: OR and AND over runs of 2, 4 and 8
// bytes, each run joining two of half its length.
SkipMap::SkipMap(const char* data, size_t size, uint64_t* words, StartTest test)
    : words_(words), size_(size) {
  ByteKinds here = kinds_of(data, size, 0, test);
  for (size_t word = 0; 64 * word <= size; ++word) {
    const ByteKinds next = kinds_of(data, size, 64 * word + 64, test);
    // Of the runs starting in this word, then in the next.
    uint64_t top2 = here.top | bits_from(here.top, next.top, 1);
    uint64_t top2_next = next.top | next.top >> 1;
    uint64_t top4 = top2 | bits_from(top2, top2_next, 2);
    uint64_t top4_next = top2_next | top2_next >> 2;
    uint64_t any_top8 = top4 | bits_from(top4, top4_next, 4);
    uint64_t control2 = here.control & bits_from(here.control, next.control, 1);
    uint64_t control2_next = next.control & next.control >> 1;
    uint64_t control4 = control2 & bits_from(control2, control2_next, 2);
    uint64_t control4_next = control2_next & control2_next >> 2;
    uint64_t control8 = control4 & bits_from(control4, control4_next, 4);
    uint64_t past_end = 64 * word + 64 <= size ? 0 : ~uint64_t{0} << (size - 64 * word);
    words[2 * word] = any_top8 | control4 | past_end;
    words[2 * word + 1] = control4 & ~control8 & ~any_top8 & ~past_end;
    here = next;
  }
}

size_t SkipMap::next_skipped(size_t from, size_t limit) const {
  for (size_t word = from / 64; from < limit; from = 64 * ++word) {
    uint64_t skipped = words_[2 * word] >> (from % 64);
    if (skipped != 0)
      return std::min(limit, from + static_cast<size_t>(std::countr_zero(skipped)));
  }
  return limit;
}

std::optional<size_t> SkipMap::last_skipped(size_t from, size_t to) const {
  while (to > from) {
    size_t word = (to - 1) / 64;
    uint64_t skipped = words_[2 * word] & ~uint64_t{0} >> (63 - (to - 1) % 64);
    if (64 * word < from)
      skipped &= ~uint64_t{0} << (from % 64);
    if (skipped != 0)
      return 64 * word + 63 - static_cast<size_t>(std::countl_zero(skipped));
    to = 64 * word;
  }
  return std::nullopt;
}

constexpr uint64_t kEveryEighth = 0x0101010101010101;

// The first offset of `from`, `from` + 8, `from` + 16... that is text or has
// a jump of 4, or the first of them at or past the end.
size_t SkipMap::next_stop(size_t from) const {
  uint64_t chain = kEveryEighth << (from % 8) & ~uint64_t{0} << (from % 64);
  for (size_t word = from / 64; 64 * word < size_; ++word, chain = kEveryEighth << (from % 8)) {
    uint64_t found = stops(word) & chain;
    if (found != 0)
      return 64 * word + static_cast<size_t>(std::countr_zero(found));
  }
  return from + (size_ - from + 7) / 8 * 8;
}

size_t SkipMap::landing(size_t at) const {
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
  const SkipMap& skips;
};

// Why a funnel (see scanner.h) is met by every path standing at or before
// it: a stride from a text window start meets the first `first` in its
// window, so it never passes the funnel; a chain of jumps of at most 8
// bytes that passes the last skipped offset before it stops on one of the
// seven text offsets before it, from which the path meets every `first` up
// to it. Returns one past the last funnel from `from` up to `at`, or 0 when
// there is none in the text offsets that lead up to `at`.
size_t last_funnel(const MappedContent& content, char first, size_t from, size_t at) {
  std::optional<size_t> skipped = content.skips.last_skipped(from, at);
  if (!skipped || *skipped + 8 >= at)
    return 0;
  size_t after = after_last(content.data, *skipped + 8, at, first);
  return after == *skipped + 8 ? 0 : after;
}

// Takes the path of a group, whose names have `len` bytes and start with
// `first`, forward from *pos to `at`, where a name of the group occurs, and
// tells whether `at` is a candidate of the path. *pos is where the path
// stands: the offset that the scan of one name looks at next, as after a
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
    if (content.skips.skipped(here)) {
      here = content.skips.landing(here);
      continue;
    }
    size_t next_skip = content.skips.next_skipped(here + 1, at + 1);
    if (at < next_skip) {
      // Every window start from here to `at` is text: the path meets each
      // `first` on the way, `at` last, from the stride that covers it. That
      // stride ends the path when it is `at` itself and the name ends the
      // content.
      met = at + len < content.size || (at - after_last(data, here, at, first)) % len != 0;
      here = at + 1;
      break;
    }
    // Strides of `len` from the last candidate before `next_skip` reach it
    // at `stride`; the stride before it searches up to there.
    size_t start = after_last(data, here, next_skip, first);
    size_t stride = start + (next_skip - start + len - 1) / len * len;
    const void* hit = memchr(data + next_skip, static_cast<unsigned char>(first), stride - next_skip);
    here = hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) + 1 : stride;
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

}  // namespace

CompactNameSearch::CompactNameSearch(const std::vector<std::string_view>& names, StartTest test)
    : distinct_(names.begin(), names.end()), first_node_(256), pair_node_(65536) {
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
  // The empty name, first when given, is never found.
  std::vector<std::string_view> findable(distinct_.begin(), distinct_.end());
  if (!findable.empty() && findable.front().empty())
    findable.erase(findable.begin());
  starts_ = name_starts(findable, test);
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
  for (auto [first, one] : children[0]) {
    first_node_[first] = one;
    for (auto [second, two] : children[one])
      pair_node_[pair_index(first, second)] = two;
  }
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
  const char* edges = edge_bytes_.data() + parent.first_edge;
  const void* edge = memchr(edges, static_cast<unsigned char>(byte), parent.edge_count);
  return edge ? edge_nodes_[parent.first_edge +
                            static_cast<size_t>(static_cast<const char*>(edge) - edges)]
              : 0;
}

// The one pass: at each offset where the prefilter lets a name begin, the
// trie gives the names that occur there; each one not yet found is found
// there when the offset is a candidate of its group's path. Offsets go up,
// so the first candidate met is the first occurrence on the path.
void CompactNameSearch::find_all(const char* data, size_t size, FoundNames* found) const {
  found->reset(next_given_.size());
  if (size == 0 || distinct_.empty())
    return;
  std::unique_ptr<uint64_t[]> work(new uint64_t[SkipMap::words_for(size) + group_starts_.size()]);
  const SkipMap skips(data, size, work.get(), starts_.test);
  const MappedContent content{data, size, skips};
  uint64_t* paths = work.get() + SkipMap::words_for(size);  // where each group's path stands
  std::fill(paths, paths + group_starts_.size(), 0);
  Answers answers{*found, first_given_, next_given_};
  size_t unfound = distinct_.size();
  auto decide = [&](size_t at, uint32_t name) {
    const std::string& bytes = distinct_[name];
    if (!answers.found(name) &&
        path_meets(content, bytes.size(), bytes[0], at, &paths[group_of_[name]])) {
      answers.set(name, at);
      --unfound;
    }
  };
  auto visit = [&](size_t at) {
    for_each_name_at(data, size, at, [&](uint32_t name) { decide(at, name); });
  };
  // The prefilter reads a position's next two bytes: the last two positions
  // are visited without it.
  const size_t tested = size < 2 ? 0 : size - 2;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  size_t at = 0;
  while (unfound != 0 && (at = next_start(starts_, bytes, at, tested)) < tested)
    visit(at++);
  for (at = tested; unfound != 0 && at < size; ++at)
    visit(at);
  found->sort();
}
