// An Aho-Corasick automaton over byte classes, run only where a vectorised search finds a name's first two bytes.
#include "search/name_search.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <numeric>

#include "common/names.h"
#include "common/prefilter.h"

namespace {

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

// The automaton of a group of distinct plain-text names. Its transition table
// is complete: one entry per state and byte class, holding the next state's
// first entry index, with the top bit set when names end in that state. The
// states are numbered by depth, so the root and the states one byte deep
// have the lowest entry indexes.
class NameAutomaton {
 public:
  // Builds the automaton of `names`; `ids` are their indexes in the results.
  NameAutomaton(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids,
                StartTest test);

  // Records in `offsets` (indexed by id, empty for its names on entry) the
  // first whole-name occurrence of each of its names, running the automaton
  // only from the places where the pairs of first bytes are.
  void scan(Bytes content, FoundNames* offsets) const;

 private:
  void build_classes(const std::vector<std::string_view>& names);
  void build_trie(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids);
  uint32_t add_child(uint32_t state, char byte);
  void build_links();
  uint64_t run_from(Bytes content, uint64_t start, FoundNames* offsets, size_t* remaining) const;
  bool ends_name(Bytes content, uint64_t i) const;
  bool report(uint32_t state, uint64_t end, FoundNames* offsets, size_t* remaining) const;

  uint8_t class_of_[256] = {};
  bool terminator_[256] = {};
  NameStarts starts_;
  uint32_t classes_ = 1;              // class 0 is every byte no name holds
  uint32_t deep_ = 0;                 // entries below this: the root and states one byte deep
  std::vector<uint32_t> table_;       // states * classes_
  std::vector<int32_t> name_at_;      // per state: the id of the name ending there
  std::vector<uint32_t> depth_;       // per state: the bytes that lead to it
  std::vector<int32_t> output_link_;  // per state: next state on the suffix chain with a name
  size_t name_count_ = 0;
};

NameAutomaton::NameAutomaton(const std::vector<std::string_view>& names,
                             const std::vector<uint32_t>& ids, StartTest test)
    : starts_(name_starts(names, test)), name_count_(names.size()) {
  for (int byte = 0; byte < 256; ++byte)
    terminator_[byte] = is_name_terminator(static_cast<unsigned char>(byte));
  build_classes(names);
  build_trie(names, ids);
  build_links();
}

void NameAutomaton::build_classes(const std::vector<std::string_view>& names) {
  for (std::string_view name : names)
    for (char c : name) {
      auto byte = static_cast<unsigned char>(c);
      if (class_of_[byte] == 0)
        class_of_[byte] = static_cast<uint8_t>(classes_++);
    }
}

// Level by level, the longest names first, so that states are numbered by
// depth: the root, the states one byte deep, then two bytes deep...
void NameAutomaton::build_trie(const std::vector<std::string_view>& names,
                               const std::vector<uint32_t>& ids) {
  std::vector<uint32_t> order(names.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return names[a].size() > names[b].size(); });
  std::vector<uint32_t> state_of(names.size(), 0);  // per name: where its bytes so far lead
  // During the build, entry 0 means "no child yet": the root is never a child.
  table_.assign(classes_, 0);
  name_at_.assign(1, kNone);
  depth_.assign(1, 0);
  size_t longer = order.size();  // order[0, longer): the names longer than depth
  for (size_t depth = 0; longer > 0; ++depth) {
    for (size_t k = 0; k < longer; ++k) {
      uint32_t n = order[k];
      state_of[n] = add_child(state_of[n], names[n][depth]);
      if (names[n].size() == depth + 1)
        name_at_[state_of[n]] = static_cast<int32_t>(ids[n]);
    }
    if (depth == 0)
      deep_ = static_cast<uint32_t>(name_at_.size()) * classes_;
    while (longer > 0 && names[order[longer - 1]].size() <= depth + 1)
      --longer;
  }
}

// The child of `state` by `byte`, added when missing.
uint32_t NameAutomaton::add_child(uint32_t state, char byte) {
  size_t edge = state * classes_ + class_of_[static_cast<unsigned char>(byte)];
  if (table_[edge] == 0) {
    table_[edge] = static_cast<uint32_t>(name_at_.size());
    name_at_.push_back(kNone);
    depth_.push_back(depth_[state] + 1);
    table_.resize(table_.size() + classes_, 0);
  }
  return table_[edge];
}

// In state order, which is by depth: a state's failure state is shallower,
// so its row is already complete when the state's missing transitions are
// copied from it.
void NameAutomaton::build_links() {
  const size_t states = name_at_.size();
  std::vector<uint32_t> failure(states, 0);
  output_link_.assign(states, kNone);
  for (uint32_t state = 0; state < states; ++state) {
    uint32_t fail = failure[state];
    if (state != 0)
      output_link_[state] =
          name_at_[fail] != kNone ? static_cast<int32_t>(fail) : output_link_[fail];
    for (uint32_t c = 0; c < classes_; ++c) {
      uint32_t& child = table_[state * classes_ + c];
      uint32_t fallback = state == 0 ? 0 : table_[fail * classes_ + c];
      if (child == 0)
        child = fallback;
      else
        failure[child] = fallback;
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

// A name counts only where a terminator byte or the end of the content follows it.
bool NameAutomaton::ends_name(Bytes content, uint64_t i) const {
  return i + 1 == content.size() || terminator_[content[i + 1]];
}

// Records the names ending in `state` and down its output links at `end`;
// true when that leaves no name of the automaton to find.
bool NameAutomaton::report(uint32_t state, uint64_t end, FoundNames* offsets,
                           size_t* remaining) const {
  int32_t at = name_at_[state] != kNone ? static_cast<int32_t>(state) : output_link_[state];
  for (; at != kNone; at = output_link_[static_cast<size_t>(at)]) {
    auto name = static_cast<uint32_t>(name_at_[static_cast<size_t>(at)]);
    if (offsets->record(name, end - depth_[static_cast<size_t>(at)]))
      --*remaining;
  }
  return *remaining == 0;
}

void NameAutomaton::scan(Bytes content, FoundNames* offsets) const {
  if (content.size() < 3)
    return;
  // Every name has three bytes or more: the last two bytes begin none.
  const uint64_t end = content.size() - 2;
  size_t remaining = name_count_;
  uint64_t i = 0;
  while ((i = next_start(starts_, content.data(), i, end)) < end)
    i = run_from(content, i, offsets, &remaining);
}

// Runs the automaton from the root at `start`, where a pair of first bytes
// is, until its state is the root or one byte deep again: a name that is
// not yet found then begins at the returned position or later, where
// next_start finds it. Returns the content's size when no name is left.
uint64_t NameAutomaton::run_from(Bytes content, uint64_t start, FoundNames* offsets,
                                 size_t* remaining) const {
  const unsigned char* data = content.data();
  // Two steps lead to a state two bytes deep, where no name of three bytes
  // or more ends.
  uint32_t entry = table_[table_[class_of_[data[start]]] + class_of_[data[start + 1]]];
  for (uint64_t i = start + 2; i < content.size(); ++i) {
    entry = table_[entry + class_of_[data[i]]];
    if (entry < deep_)
      return entry == 0 ? i + 1 : i;
    if (!(entry & kMatchBit))
      continue;
    entry &= ~kMatchBit;
    if (ends_name(content, i) && report(entry / classes_, i + 1, offsets, remaining))
      return content.size();
  }
  return content.size();
}

namespace {

// The number of byte classes of an automaton of all of `names`.
size_t byte_classes(const std::vector<std::string_view>& names) {
  bool held[256] = {};
  for (std::string_view name : names)
    for (char c : name)
      held[static_cast<unsigned char>(c)] = true;
  return 1 + static_cast<size_t>(std::count(std::begin(held), std::end(held), true));
}

// The automata of `names` (distinct plain-text names; `ids` are their
// indexes in the results): one, unless `largest_table` needs more.
std::vector<NameAutomaton> build_automata(const std::vector<std::string_view>& names,
                                          const std::vector<uint32_t>& ids, StartTest test,
                                          size_t largest_table) {
  // A trie has at most one state per name byte, and the root.
  const size_t bytes_per_automaton = largest_table / byte_classes(names) - 1;
  std::vector<NameAutomaton> automata;
  std::vector<std::string_view> group;
  std::vector<uint32_t> group_ids;
  size_t group_bytes = 0;
  for (size_t n = 0; n < names.size(); ++n) {
    if (group_bytes + names[n].size() > bytes_per_automaton && !group.empty()) {
      automata.emplace_back(group, group_ids, test);
      group.clear();
      group_ids.clear();
      group_bytes = 0;
    }
    group.push_back(names[n]);
    group_ids.push_back(ids[n]);
    group_bytes += names[n].size();
  }
  if (!group.empty())
    automata.emplace_back(group, group_ids, test);
  return automata;
}

}  // namespace

NameSearch::NameSearch(const std::vector<std::string_view>& names, StartTest test,
                       size_t largest_table)
    : names_(names) {
  const std::vector<uint32_t> first_of = first_occurrences(names);
  std::vector<std::string_view> plain;
  std::vector<uint32_t> plain_ids;
  for (uint32_t n = 0; n < names.size(); ++n) {
    if (first_of[n] != n) {
      repeats_.emplace_back(n, first_of[n]);
    } else if (is_plain_text_name(names[n])) {
      plain.push_back(names[n]);
      plain_ids.push_back(n);
    } else {
      searched_one_by_one_.push_back(n);
    }
  }
  automata_ = build_automata(plain, plain_ids, test, largest_table);
}

NameSearch::~NameSearch() = default;

void NameSearch::find_all(Bytes content, FoundNames* found) const {
  found->reset(names_.size());
  for (const NameAutomaton& automaton : automata_)
    automaton.scan(content, found);
  for (uint32_t n : searched_one_by_one_)
    if (std::optional<uint64_t> offset = find_name(content, names_[n]))
      found->record(n, *offset);
  for (auto [n, first] : repeats_)
    if (const std::optional<uint64_t>& offset = found->offset(first))
      found->record(n, *offset);
  found->sort();
}
