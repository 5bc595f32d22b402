// An Aho-Corasick automaton over byte classes, with whole-name checks at each match.
#include "search/name_search.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace {

// Names whose bytes add up to more than this go into further automata, which
// bounds each transition table and keeps its entries within 31 bits.
constexpr size_t kAutomatonNameBytes = 512 * 1024;

constexpr uint32_t kMatchBit = 0x80000000u;
constexpr int32_t kNone = -1;

// True when find_name's leading skip can never pass over an occurrence of
// `name`, so that its first whole-name occurrence is the answer.
bool is_plain_text_name(std::string_view name) {
  if (name.size() < 3)
    return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80;
  });
}

}  // namespace

// The automaton of a group of plain-text names. Its transition table is
// complete: one entry per state and byte class, holding the next state's first
// entry index, with the top bit set when names end in that state.
class NameAutomaton {
 public:
  // Builds the automaton of `names`; `ids` are their indexes in the results.
  NameAutomaton(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids);

  // Records in `offsets` (indexed by id) the first whole-name occurrence of
  // each of its names that `offsets` does not hold yet.
  void scan(Bytes content, std::vector<std::optional<uint64_t>>* offsets) const;

 private:
  void build_classes(const std::vector<std::string_view>& names);
  void build_trie(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids);
  void build_links();
  void report(uint32_t state, uint64_t end,
              std::vector<std::optional<uint64_t>>* offsets, size_t* remaining) const;

  // Advances `i` past the bytes at which no name can begin, judged by their
  // first two bytes; returns the position of the next possible beginning.
  uint64_t skip_to_possible_start(const unsigned char* data, uint64_t size, uint64_t i) const;

  uint8_t class_of_[256] = {};
  bool terminator_[256] = {};
  std::vector<uint8_t> starts_pair_;    // per two bytes: 1 when some name begins with them
  uint32_t classes_ = 1;                // class 0 is every byte no name holds
  std::vector<uint32_t> table_;         // states * classes_
  std::vector<int32_t> name_at_;        // per state: the id of the name ending there
  std::vector<int32_t> output_link_;    // per state: next state on the suffix chain with a name
  std::vector<uint32_t> length_of_;     // per id: the name's length
  size_t name_count_ = 0;
};

NameAutomaton::NameAutomaton(const std::vector<std::string_view>& names,
                             const std::vector<uint32_t>& ids)
    : name_count_(names.size()) {
  for (int byte = 0; byte < 256; ++byte)
    terminator_[byte] = is_name_terminator(static_cast<unsigned char>(byte));
  build_classes(names);
  build_trie(names, ids);
  build_links();
}

void NameAutomaton::build_classes(const std::vector<std::string_view>& names) {
  starts_pair_.assign(65536, 0);
  for (std::string_view name : names)
    starts_pair_[static_cast<unsigned char>(name[0]) * 256u + static_cast<unsigned char>(name[1])] = 1;
  for (std::string_view name : names)
    for (char c : name) {
      auto byte = static_cast<unsigned char>(c);
      if (class_of_[byte] == 0)
        class_of_[byte] = static_cast<uint8_t>(classes_++);
    }
}

void NameAutomaton::build_trie(const std::vector<std::string_view>& names,
                               const std::vector<uint32_t>& ids) {
  // During the build, entry 0 means "no child yet": the root is never a child.
  table_.assign(classes_, 0);
  name_at_.assign(1, kNone);
  for (size_t n = 0; n < names.size(); ++n) {
    uint32_t state = 0;
    for (char c : names[n]) {
      size_t edge = state * classes_ + class_of_[static_cast<unsigned char>(c)];
      if (table_[edge] == 0) {
        table_[edge] = static_cast<uint32_t>(name_at_.size());
        name_at_.push_back(kNone);
        table_.resize(table_.size() + classes_, 0);
      }
      state = table_[edge];
    }
    name_at_[state] = static_cast<int32_t>(ids[n]);
    if (length_of_.size() <= ids[n])
      length_of_.resize(ids[n] + 1, 0);
    length_of_[ids[n]] = static_cast<uint32_t>(names[n].size());
  }
}

// Breadth first: each state's failure state is known before its children's,
// so missing transitions are copied from it and the table becomes complete.
void NameAutomaton::build_links() {
  const size_t states = name_at_.size();
  std::vector<uint32_t> failure(states, 0);
  output_link_.assign(states, kNone);
  std::deque<uint32_t> queue;
  for (uint32_t c = 0; c < classes_; ++c)
    if (table_[c] != 0)
      queue.push_back(table_[c]);
  while (!queue.empty()) {
    uint32_t state = queue.front();
    queue.pop_front();
    uint32_t fail = failure[state];
    output_link_[state] = name_at_[fail] != kNone ? static_cast<int32_t>(fail) : output_link_[fail];
    for (uint32_t c = 0; c < classes_; ++c) {
      uint32_t& child = table_[state * classes_ + c];
      uint32_t fallback = table_[fail * classes_ + c];
      if (child == 0) {
        child = fallback;
        continue;
      }
      failure[child] = fallback;
      queue.push_back(child);
    }
  }
  // Store each target as its first table index, marked when names end there.
  for (uint32_t& entry : table_) {
    uint32_t target = entry;
    entry = target * classes_;
    if (name_at_[target] != kNone || output_link_[target] != kNone)
      entry |= kMatchBit;
  }
}

void NameAutomaton::report(uint32_t state, uint64_t end,
                           std::vector<std::optional<uint64_t>>* offsets,
                           size_t* remaining) const {
  int32_t at = static_cast<int32_t>(state);
  if (name_at_[state] == kNone)
    at = output_link_[state];
  for (; at != kNone; at = output_link_[static_cast<size_t>(at)]) {
    auto id = static_cast<size_t>(name_at_[static_cast<size_t>(at)]);
    std::optional<uint64_t>& offset = (*offsets)[id];
    if (!offset) {
      offset = end - length_of_[id];
      --*remaining;
    }
  }
}

void NameAutomaton::scan(Bytes content, std::vector<std::optional<uint64_t>>* offsets) const {
  size_t remaining = name_count_;
  const unsigned char* data = content.data();
  const uint64_t size = content.size();
  uint32_t entry = 0;
  for (uint64_t i = 0; i < size; ++i) {
    // From the root, no partial name is pending, so the bytes at which no
    // name begins can be passed without the automaton.
    if (entry == 0) {
      i = skip_to_possible_start(data, size, i);
      if (i >= size)
        return;
    }
    entry = table_[entry + class_of_[data[i]]];
    if (!(entry & kMatchBit))
      continue;
    entry &= ~kMatchBit;
    // A name counts only where a terminator byte or the end of the content follows it.
    if (i + 1 < size && !terminator_[data[i + 1]])
      continue;
    report(entry / classes_, i + 1, offsets, &remaining);
    if (remaining == 0)
      return;
  }
}

uint64_t NameAutomaton::skip_to_possible_start(const unsigned char* data, uint64_t size,
                                               uint64_t i) const {
  // Every name here has three bytes or more, so a beginning needs two bytes
  // after it; the last two bytes of the content begin nothing.
  const uint8_t* starts = starts_pair_.data();
  while (i + 2 < size && !starts[data[i] * 256u + data[i + 1]])
    ++i;
  return i + 2 < size ? i : size;
}

NameSearch::NameSearch(const std::vector<std::string_view>& names) {
  std::unordered_map<std::string_view, uint32_t> index;
  for (std::string_view name : names) {
    auto [it, added] = index.emplace(name, static_cast<uint32_t>(distinct_.size()));
    if (added)
      distinct_.push_back(name);
    distinct_of_name_.push_back(it->second);
  }
  std::vector<std::string_view> group;
  std::vector<uint32_t> ids;
  size_t group_bytes = 0;
  for (uint32_t id = 0; id < distinct_.size(); ++id) {
    std::string_view name = distinct_[id];
    if (!is_plain_text_name(name)) {
      searched_one_by_one_.push_back(id);
      continue;
    }
    if (group_bytes + name.size() > kAutomatonNameBytes && !group.empty()) {
      automata_.emplace_back(group, ids);
      group.clear();
      ids.clear();
      group_bytes = 0;
    }
    group.push_back(name);
    ids.push_back(id);
    group_bytes += name.size();
  }
  if (!group.empty())
    automata_.emplace_back(group, ids);
}

NameSearch::~NameSearch() = default;

std::vector<std::optional<uint64_t>> NameSearch::find_all(Bytes content) const {
  std::vector<std::optional<uint64_t>> found(distinct_.size());
  for (const NameAutomaton& automaton : automata_)
    automaton.scan(content, &found);
  for (uint32_t id : searched_one_by_one_)
    found[id] = find_name(content, distinct_[id]);
  std::vector<std::optional<uint64_t>> offsets;
  offsets.reserve(distinct_of_name_.size());
  for (uint32_t id : distinct_of_name_)
    offsets.push_back(found[id]);
  return offsets;
}
