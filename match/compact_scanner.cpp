// The compact scanner: the map of skipped window starts, the groups' paths over it, and the one pass with the name automata.
#include "match/compact_scanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>

namespace {

// Orders names by length, then by their bytes, so that a group of names
// sharing length and first byte is one sorted run.
bool shorter_or_lower(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

bool same_group(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || a[0] == b[0]);
}

// The words of a map, kept by a thread from content to content: a large
// content's map is large, and pages taken afresh for each content cost more
// than making the map. Grown in place, so the pages it has are kept.
class MapStorage {
 public:
  MapStorage() = default;
  MapStorage(const MapStorage&) = delete;
  MapStorage& operator=(const MapStorage&) = delete;
  ~MapStorage() { std::free(words_); }

  // Room for `count` words, their values left as they were; throws
  // std::bad_alloc when it cannot be had.
  uint64_t* words(size_t count) {
    if (count > capacity_) {
      void* grown = count <= SIZE_MAX / sizeof(uint64_t)
                        ? std::realloc(words_, count * sizeof(uint64_t))
                        : nullptr;
      if (!grown)
        throw std::bad_alloc();
      words_ = static_cast<uint64_t*>(grown);
      capacity_ = count;
    }
    return words_;
  }

 private:
  uint64_t* words_ = nullptr;
  size_t capacity_ = 0;
};

// A content's skipped window starts, 64 to a pair of words: the skipped
// ones, then those of them whose jump is 4. Offsets at or past the end count
// as skipped, with a jump of 8.
class SkipMap {
 public:
  // Maps the `size` offsets of `data`, finding the kinds of bytes with
  // `test`'s instructions: a quarter of a byte per offset, held in
  // `storage`, which must outlive it.
  SkipMap(const char* data, size_t size, StartTest test, MapStorage* storage);

  bool skipped(size_t at) const { return at >= size_ || bit(0, at); }

  // The jump from the skipped offset `at`: 4 or 8.
  size_t jump(size_t at) const { return at < size_ && bit(1, at) ? 4 : 8; }

  // The first skipped offset from `from` to `limit` - 1, or `limit`; `limit`
  // is at most the content's size.
  size_t next_skipped(size_t from, size_t limit) const;

  // The last skipped offset from `from` to `to` - 1, or none; `to` is at
  // most the content's size.
  std::optional<size_t> last_skipped(size_t from, size_t to) const;

  // Where a path standing on the skipped offset `at` lands.
  size_t landing(size_t at) const;

  // Of the offsets 64 * word to 64 * word + 63, those whose window starts
  // are text; `word` is at most the content's size / 64.
  uint64_t text(size_t word) const { return ~words_[2 * word]; }

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
SkipMap::SkipMap(const char* data, size_t size, StartTest test, MapStorage* storage)
    : size_(size) {
  // Every word is written below: storage kept from an earlier content needs
  // no clearing.
  uint64_t* words = storage->words(2 * (size / 64 + 1));
  words_ = words;
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

// One past the last `ch` among data[from] to data[to - 1], or `from`. Eight
// bytes a step: a word holds `ch` when its bytes XORed with `ch` hold a zero.
size_t after_last(const char* data, size_t from, size_t to, char ch) {
  const uint64_t spread = kEveryEighth * static_cast<unsigned char>(ch);
  while (to - from >= 8) {
    uint64_t word;
    memcpy(&word, data + to - 8, 8);
    word ^= spread;
    if (((word - kEveryEighth) & ~word & (kEveryEighth << 7)) != 0)
      break;
    to -= 8;
  }
  while (to > from && data[to - 1] != ch)
    --to;
  return to;
}

// Whether the window at `at` is skipped, told from the content's bytes
// alone (those past the end count as 0x00): it holds a byte of 0x80 or more,
// or its first four bytes are below 0x20.
bool window_skipped(const char* data, size_t size, size_t at) {
  bool control = true;
  for (size_t i = 0; i < 8; ++i) {
    auto byte = at + i < size ? static_cast<unsigned char>(data[at + i]) : 0;
    if (byte >= 0x80)
      return true;
    if (i < 4)
      control = control && byte < 0x20;
  }
  return control;
}

// True when `at` and the seven window starts before it (those from 0 on)
// are text.
bool text_up_to(const char* data, size_t size, size_t at) {
  if (std::endian::native == std::endian::little && at >= 7 && at + 8 <= size) {
    // Eight bytes a word, byte i in lane i: the bytes from at - 7 to at + 7
    // hold none of 0x80 or more, and no four bytes below 0x20 in a row begin
    // at at - 7 to at.
    constexpr uint64_t kTop = kEveryEighth << 7;
    uint64_t before, from_at;  // the bytes from at - 7, and from at
    memcpy(&before, data + at - 7, 8);
    memcpy(&from_at, data + at, 8);
    if (((before | from_at) & kTop) != 0)
      return false;
    // The top bit of each byte below 0x20: adding 0x60 to a byte under 0x80
    // carries into its top bit when it is 0x20 or more, and never past it.
    const uint64_t control = ~(before + 0x60 * kEveryEighth) & kTop;
    const uint64_t control_on = ~(from_at + 0x60 * kEveryEighth) & kTop;
    // Lane i: bytes at - 7 + i and the one after are below 0x20; then the
    // same from at.
    const uint64_t pairs = control & (control >> 8 | control_on >> 8 << 56);
    const uint64_t pairs_on = control_on & control_on >> 8;
    return (pairs & (pairs >> 16 | pairs_on >> 8 << 48)) == 0;
  }
  for (size_t from = at >= 7 ? at - 7 : 0; from <= at; ++from)
    if (window_skipped(data, size, from))
      return false;
  return true;
}

// A content and its map of skipped window starts, made when first asked
// for: a content whose occurrences are all funnels needs none.
class MappedContent {
 public:
  // The map, once made, is held in `storage`.
  MappedContent(const char* bytes, size_t byte_count, StartTest test, MapStorage* storage)
      : data(bytes), size(byte_count), test_(test), storage_(storage) {}

  const SkipMap& skips() {
    if (!skips_)
      skips_.emplace(data, size, test_, storage_);
    return *skips_;
  }

  const char* const data;
  const size_t size;

 private:
  StartTest test_;
  MapStorage* storage_;
  std::optional<SkipMap> skips_;
};

// Why a funnel (see compact_scanner.h) is met by every path standing at or before
// it: a stride from a text window start meets the first `first` in its
// window, so it never passes the funnel; a chain of jumps of at most 8
// bytes that passes the last skipped offset before it stops on one of the
// seven text offsets before it, from which the path meets every `first` up
// to it. Given `skipped`, the last skipped offset before `at` from where the
// path stands, returns one past the last funnel before `at`, or 0 when there
// is none in the text offsets that lead up to `at`.
size_t last_funnel(const char* data, char first, std::optional<size_t> skipped, size_t at) {
  if (!skipped || *skipped + 8 >= at)
    return 0;
  size_t after = after_last(data, *skipped + 8, at, first);
  return after == *skipped + 8 ? 0 : after;
}

// A group's path: the length and first byte of its names.
struct Group {
  size_t len;
  char first;
};

// The path's next stop from `here`, a position of the path with here <= at
// and here + len < size, where a name of the group occurs at `at`: the
// landing of a skipped offset, or the first position past a run of text
// offsets, or at + 1 when the run holds `at`. Sets *met when the step has
// `at` as a candidate.
size_t step(MappedContent& content, const SkipMap& skips, Group group, size_t at, size_t here,
            bool* met) {
  const char* data = content.data;
  if (skips.skipped(here))
    return skips.landing(here);
  size_t next_skip = skips.next_skipped(here + 1, at + 1);
  if (at < next_skip) {
    // Every window start from here to `at` is text: the path meets each
    // `first` on the way, `at` last, from the stride that covers it. That
    // stride ends the path when it is `at` itself and the name ends the
    // content.
    *met = at + group.len < content.size ||
           (at - after_last(data, here, at, group.first)) % group.len != 0;
    return at + 1;
  }
  // Strides of `len` from the last candidate before `next_skip` reach it
  // at `stride`; the stride before it searches up to there.
  size_t start = after_last(data, here, next_skip, group.first);
  size_t stride = start + (next_skip - start + group.len - 1) / group.len * group.len;
  const void* hit =
      memchr(data + next_skip, static_cast<unsigned char>(group.first), stride - next_skip);
  size_t next = hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) + 1 : stride;
  *met = next == at + 1;
  return next;
}

// Walks the path from `here`, one of its positions, to past `at`; tells
// whether `at` is a candidate, and sets *end to where the path then stands.
bool walk(MappedContent& content, const SkipMap& skips, Group group, size_t at, size_t here,
          size_t* end) {
  bool met = false;
  while (here <= at && here + group.len < content.size && !met)
    here = step(content, skips, group, at, here, &met);
  *end = here;
  return met;
}

// How far before an occurrence a path far behind is first looked for: its
// group's last funnel within that reach, else every position it may stand
// on there (decide_from_all); then four times as far, while that is nearer
// than where the path stands.
constexpr size_t kSyncReach = 16384;

// The decision at `at` from the `count` offsets [x, x + count), every one
// taken as a position of the path: however the path came to x, it first
// stands on one of them, since no step is longer than max(len, 8). Their
// paths are taken forward together, the hindmost first, and those that
// meet on one offset go on as one. When they all come to one decision at
// `at`, that is the path's; *end is where the path then stands, or none
// when the paths past `at` still differ. None when the decisions differ.
std::optional<bool> decide_from_all(MappedContent& content, const SkipMap& skips, Group group,
                                    size_t at, size_t x, size_t count,
                                    std::optional<size_t>* end) {
  std::vector<size_t> held(count);  // ascending; each at or before `at`
  size_t* states = held.data();
  size_t live = 0;
  // An offset whose jump lands on another of them is that one's path.
  for (size_t i = 0; i < count; ++i)
    if (!skips.skipped(x + i) || i + skips.jump(x + i) >= count)
      states[live++] = x + i;
  std::optional<bool> decision;
  std::optional<size_t> last;
  bool ends_agree = true;
  while (live > 0) {
    bool met = false;
    size_t next = states[0];
    if (next + group.len < content.size)
      next = step(content, skips, group, at, next, &met);
    if (next > at || next + group.len >= content.size) {
      // This path is decided.
      if (decision && *decision != met)
        return std::nullopt;
      decision = met;
      ends_agree = ends_agree && (!last || *last == next);
      last = next;
      std::copy(states + 1, states + live, states);
      --live;
      continue;
    }
    // Sorted insertion; an offset already held is one path.
    size_t i = 1;
    while (i < live && states[i] < next)
      ++i;
    if (i < live && states[i] == next) {
      std::copy(states + 1, states + live, states);
      --live;
    } else {
      std::copy(states + 1, states + i, states);
      states[i - 1] = next;
    }
  }
  *end = ends_agree ? last : std::nullopt;
  return decision;
}

// Of the offsets of `word`, those whose window starts and the seven before
// are text, given the words before it: runs of 2, 4 and 8.
uint64_t text_runs_of_eight(const SkipMap& skips, size_t word) {
  uint64_t here = skips.text(word);
  uint64_t before = word > 0 ? skips.text(word - 1) : 0;
  uint64_t before2 = word > 1 ? skips.text(word - 2) : 0;
  uint64_t here2 = here & (here << 1 | before >> 63);
  uint64_t before_2 = before & (before << 1 | before2 >> 63);
  uint64_t here4 = here2 & (here2 << 2 | before_2 >> 62);
  uint64_t before_4 = before_2 & before_2 << 2;  // bits 60 to 63 are all it gives
  return here4 & (here4 << 4 | before_4 >> 60);
}

// One past the last funnel of the group of `first` from `from` to `at` - 1,
// or `from` when there is none: from the last offset back, the runs of
// offsets whose windows and the seven before are text, each searched for
// `first`.
size_t last_funnel_from(const char* data, const SkipMap& skips, char first, size_t from,
                        size_t at) {
  for (size_t word = (at - 1) / 64 + 1; word-- > 0 && 64 * word + 63 >= from;) {
    uint64_t funnels = text_runs_of_eight(skips, word);
    if (64 * word + 64 > at)
      funnels &= ~uint64_t{0} >> (64 * word + 64 - at);
    if (64 * word < from)
      funnels &= ~uint64_t{0} << (from - 64 * word);
    while (funnels != 0) {
      const unsigned top = 63 - static_cast<unsigned>(std::countl_zero(funnels));
      const uint64_t below = ~funnels & (top == 0 ? 0 : ~uint64_t{0} >> (64 - top));
      const unsigned bottom = below == 0 ? 0 : 64 - static_cast<unsigned>(std::countl_zero(below));
      const size_t start = 64 * word + bottom;
      const size_t after = after_last(data, start, 64 * word + top + 1, first);
      if (after != start)
        return after;
      funnels &= bottom == 0 ? 0 : ~uint64_t{0} >> (64 - bottom);
    }
  }
  return from;
}

// Takes the path of a group, whose names have `len` bytes and start with
// `first`, forward from *pos to `at`, where a name of the group occurs, and
// tells whether `at` is a candidate of the path. *pos is where the path
// stands: the offset that the scan of one name looks at next, as after a
// jump, a stride or a failed candidate. The path only moves forward and is
// the same whichever of its occurrences were looked at, so it may lag; but
// every occurrence before `at` of a name of the group still to be found must
// have been decided. Afterwards *pos is still a position of the path, past
// `at` or the path's end when it is known.
bool path_meets(MappedContent& content, size_t len, char first, size_t at, uint64_t* pos) {
  const char* data = content.data;
  if (*pos > at)
    return false;
  // An occurrence that is a funnel itself is met wherever the path stands,
  // however far back: the common case of a name after a text prefix, in
  // text and in binary data alike.
  if (at + len < content.size && text_up_to(data, content.size, at)) {
    *pos = at + 1;
    return true;
  }
  const SkipMap& skips = content.skips();
  // The same when the skipped offsets next to it lie behind the path.
  const std::optional<size_t> skipped = skips.last_skipped(*pos, at);
  if (at + len < content.size && !skips.skipped(at) && (!skipped || *skipped + 8 <= at)) {
    *pos = at + 1;
    return true;
  }
  const Group group{len, first};
  size_t here = std::max<size_t>(*pos, last_funnel(data, first, skipped, at));
  const size_t longest_step = std::max<size_t>(len, 8);
  // A funnel not far before it is the nearest place where the path is known.
  if (at - here > kSyncReach) {
    const size_t from = at - kSyncReach;
    const size_t funnel = last_funnel_from(data, skips, first, from, at);
    here = funnel != from ? funnel : here;
  }
  for (size_t reach = kSyncReach; at - here > reach + longest_step; reach *= 4) {
    std::optional<size_t> end;
    std::optional<bool> met =
        decide_from_all(content, skips, group, at, at - reach, longest_step, &end);
    if (met) {
      if (end)
        *pos = *end;
      return *met;
    }
  }
  size_t end = 0;
  bool met = walk(content, skips, group, at, here, &end);
  *pos = end;
  return met;
}

// The answers of a call, recorded for each name given.
struct Answers {
  FoundNames& given;
  const std::vector<size_t>& first_given;  // each distinct name's first index among those given
  const std::vector<size_t>& next_given;   // each given name's next index with the same bytes

  void set(size_t name, size_t at) {
    for (size_t i = first_given[name]; i < given.name_count(); i = next_given[i])
      given.record(static_cast<uint32_t>(i), at);
  }
};

// Finds a name of one or two bytes, which no automaton holds, by taking its
// path to each of its occurrences in turn.
std::optional<size_t> find_short_name(MappedContent& content, std::string_view name) {
  const char* data = content.data;
  const size_t len = name.size();
  uint64_t pos = 0;
  for (size_t at = 0; at + len <= content.size && pos + len < content.size; ++at) {
    const void* hit =
        memchr(data + at, static_cast<unsigned char>(name[0]), content.size - at - (len - 1));
    if (!hit)
      break;
    at = static_cast<size_t>(static_cast<const char*>(hit) - data);
    if (len == 2 && data[at + 1] != name[1])
      continue;
    if (path_meets(content, len, name[0], at, &pos))
      return at;
  }
  return std::nullopt;
}

}  // namespace

CompactNameSearch::CompactNameSearch(const std::vector<std::string_view>& names, StartTest test,
                                     size_t largest_table)
    : distinct_(names.begin(), names.end()), test_(test) {
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
    shapes_.push_back({static_cast<uint32_t>(group_starts_.size() - 1),
                       distinct_[i].empty() ? '\0' : distinct_[i][0], distinct_[i].size()});
  }
  group_starts_.push_back(distinct_.size());
  // The names of three bytes or more go into the automata; an empty name is
  // never found.
  std::vector<std::string_view> long_names;
  std::vector<uint32_t> ids;
  for (size_t i = 0; i < distinct_.size(); ++i) {
    if (distinct_[i].size() >= 3) {
      long_names.push_back(distinct_[i]);
      ids.push_back(static_cast<uint32_t>(i));
    } else if (!distinct_[i].empty()) {
      short_names_.push_back(i);
    }
  }
  automata_ = build_automata(long_names, ids, test, largest_table);
}

// Each automaton reports the occurrences of its names in the order of their
// ends, which within a group is the order of their starts: each one not yet
// found is found there when it is a candidate of its group's path, so the
// first candidate met is the first occurrence on the path.
void CompactNameSearch::find_all(Bytes content_bytes, FoundNames* found) const {
  const char* data = reinterpret_cast<const char*>(content_bytes.data());
  const size_t size = content_bytes.size();
  found->reset(next_given_.size());
  if (size == 0 || distinct_.empty())
    return;
  const size_t groups = group_starts_.size();
  thread_local MapStorage map_storage;
  MappedContent content(data, size, test_, &map_storage);
  std::unique_ptr<uint64_t[]> paths(new uint64_t[groups]);  // where each group's path stands
  Answers answers{*found, first_given_, next_given_};
  // The distinct names found, a bit each: asked at every occurrence, so
  // kept where a lookup stays in the processor's nearest cache.
  std::vector<uint64_t> found_bits(distinct_.size() / 64 + 1);
  for (const NameAutomaton& automaton : automata_) {
    // A path is the same whichever of its occurrences it was taken to, so
    // each automaton takes the paths afresh from the start.
    std::fill(paths.get(), paths.get() + groups, 0);
    size_t remaining = automaton.name_count();
    automaton.scan(content_bytes.data(), size, [&](uint32_t name, size_t start, size_t) {
      uint64_t& bits = found_bits[name / 64];
      const uint64_t bit = uint64_t{1} << (name % 64);
      const NameShape& shape = shapes_[name];
      if ((bits & bit) == 0 &&
          path_meets(content, shape.len, shape.first, start, &paths[shape.group])) {
        bits |= bit;
        answers.set(name, start);
        --remaining;
      }
      return remaining == 0;
    });
  }
  for (size_t name : short_names_)
    if (std::optional<size_t> at = find_short_name(content, distinct_[name]))
      answers.set(name, *at);
  found->sort();
}
