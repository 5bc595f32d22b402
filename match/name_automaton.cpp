// Building the name automaton: byte classes, the trie by depth, failure and output links, and the split into automata of bounded size.
#include "match/name_automaton.h"

#include <algorithm>
#include <iterator>
#include <numeric>

NameAutomaton::NameAutomaton(const std::vector<std::string_view>& names,
                             const std::vector<uint32_t>& ids, StartTest test)
    : starts_(name_starts(names, test)), name_count_(names.size()) {
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

namespace {

// The number of byte classes of an automaton of all of `names`.
size_t byte_classes(const std::vector<std::string_view>& names) {
  bool held[256] = {};
  for (std::string_view name : names)
    for (char c : name)
      held[static_cast<unsigned char>(c)] = true;
  return 1 + static_cast<size_t>(std::count(std::begin(held), std::end(held), true));
}

}  // namespace

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
