// An Aho-Corasick automaton over byte classes, run only where the prefilter finds a name's first two bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "match/prefilter.h"

// The automaton of a set of distinct names, each three bytes or more. Its
// transition table is complete: one entry per state and byte class, holding
// the next state's first entry index, with the top bit set when names end in
// that state. The states are numbered by depth, so the root and the states
// one byte deep have the lowest entry indexes. It keeps no state of a scan:
// several threads may scan at once.
class NameAutomaton {
 public:
  // Builds the automaton of `names`, none shorter than three bytes, none
  // repeated; a scan reports names[i] as ids[i].
  NameAutomaton(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids,
                StartTest test);

  // The number of names it finds.
  size_t name_count() const { return name_count_; }

  // Calls occurs(id, start, end) for each occurrence of its names in the
  // `size` bytes at `data`, the name's bytes being data[start] to
  // data[end - 1]: in ascending order of `end`, and at one `end` the longer
  // names first. Stops as soon as occurs returns true.
  template <typename Occurs>
  void scan(const unsigned char* data, size_t size, const Occurs& occurs) const;

 private:
  void build_classes(const std::vector<std::string_view>& names);
  void build_trie(const std::vector<std::string_view>& names, const std::vector<uint32_t>& ids);
  uint32_t add_child(uint32_t state, char byte);
  void build_links();
  template <typename Occurs>
  size_t run_from(const unsigned char* data, size_t size, size_t start, const Occurs& occurs) const;
  template <typename Occurs>
  bool report(uint32_t state, size_t end, const Occurs& occurs) const;

  static constexpr uint32_t kMatchBit = 0x80000000u;
  static constexpr int32_t kNone = -1;

  uint8_t class_of_[256] = {};
  NameStarts starts_;
  uint32_t classes_ = 1;              // class 0 is every byte no name holds
  uint32_t deep_ = 0;                 // entries below this: the root and states one byte deep
  std::vector<uint32_t> table_;       // states * classes_
  std::vector<int32_t> name_at_;      // per state: the id of the name ending there
  std::vector<uint32_t> depth_;       // per state: the bytes that lead to it
  std::vector<int32_t> output_link_;  // per state: next state on the suffix chain with a name
  size_t name_count_ = 0;
};

// The automata of `names` (distinct, three bytes or more; `ids` are what
// scans report them as): one, unless one automaton's table (four bytes an
// entry, states times byte classes) could pass `largest_table` entries,
// which must stay within 31 bits; then as many as that limit needs.
std::vector<NameAutomaton> build_automata(const std::vector<std::string_view>& names,
                                          const std::vector<uint32_t>& ids, StartTest test,
                                          size_t largest_table);

template <typename Occurs>
void NameAutomaton::scan(const unsigned char* data, size_t size, const Occurs& occurs) const {
  if (size < 3)
    return;
  // Every name has three bytes or more: the last two bytes begin none.
  const size_t end = size - 2;
  size_t i = 0;
  while ((i = next_start(starts_, data, i, end)) < end)
    i = run_from(data, size, i, occurs);
}

// Runs the automaton from the root at `start`, where a pair of first bytes
// is, until its state is the root or one byte deep again: a name still to
// come then begins at the returned position or later, where next_start
// finds it. Returns `size` when occurs asks to stop.
template <typename Occurs>
size_t NameAutomaton::run_from(const unsigned char* data, size_t size, size_t start,
                               const Occurs& occurs) const {
  // Two steps lead to a state two bytes deep, where no name of three bytes
  // or more ends.
  uint32_t entry = table_[table_[class_of_[data[start]]] + class_of_[data[start + 1]]];
  for (size_t i = start + 2; i < size; ++i) {
    entry = table_[entry + class_of_[data[i]]];
    if (entry < deep_)
      return entry == 0 ? i + 1 : i;
    if (!(entry & kMatchBit))
      continue;
    entry &= ~kMatchBit;
    if (report(entry / classes_, i + 1, occurs))
      return size;
  }
  return size;
}

// Reports the names ending in `state` and down its output links at `end`;
// true when occurs asks to stop.
template <typename Occurs>
bool NameAutomaton::report(uint32_t state, size_t end, const Occurs& occurs) const {
  int32_t at = name_at_[state] != kNone ? static_cast<int32_t>(state) : output_link_[state];
  for (; at != kNone; at = output_link_[static_cast<size_t>(at)]) {
    auto slot = static_cast<size_t>(at);
    if (occurs(static_cast<uint32_t>(name_at_[slot]), end - depth_[slot], end))
      return true;
  }
  return false;
}
