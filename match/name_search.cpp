// The one-pass search of Texsift: the name automata for plain-text names, find_name for the rest.
#include "match/name_search.h"

#include <algorithm>
#include <unordered_map>

#include "match/name_automaton.h"

namespace {

// For each of `names`, the index of its first occurrence in the list: its own
// index, unless it repeats an earlier name.
std::vector<uint32_t> first_occurrences(const std::vector<std::string_view>& names) {
  std::vector<uint32_t> first;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (std::string_view name : names)
    first.push_back(seen.emplace(name, static_cast<uint32_t>(first.size())).first->second);
  return first;
}


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
  for (const NameAutomaton& automaton : automata_) {
    size_t remaining = automaton.name_count();
    // A name counts only where a terminator byte or the end of the content
    // follows it.
    automaton.scan(content.data(), content.size(), [&](uint32_t name, size_t start, size_t end) {
      if ((end == content.size() || is_name_terminator(content[end])) && found->record(name, start))
        --remaining;
      return remaining == 0;
    });
  }
  for (uint32_t n : searched_one_by_one_)
    if (std::optional<uint64_t> offset = find_name(content, names_[n]))
      found->record(n, *offset);
  for (auto [n, first] : repeats_)
    if (const std::optional<uint64_t>& offset = found->offset(first))
      found->record(n, *offset);
  found->sort();
}
