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
      longest_ = std::max(longest_, names[n].size());
    } else {
      searched_one_by_one_.push_back(n);
    }
  }
  automata_ = build_automata(plain, plain_ids, test, largest_table);
}

NameSearch::~NameSearch() = default;

std::optional<size_t> NameSearch::window_overlap() const {
  if (!searched_one_by_one_.empty())
    return std::nullopt;
  return longest_;
}

void NameSearch::find_all(Bytes content, FoundNames* found) const {
  find_in_window(content, 0, 0, true, found);
}

uint64_t NameSearch::find_in_window(Bytes window, uint64_t window_start, uint64_t from, bool last,
                                    FoundNames* found) const {
  if (window_start == 0 && from == 0)
    found->reset(names_.size());
  const uint64_t end = window_start + window.size();
  // An occurrence is decided once the byte after it is in the window: for
  // every name, when it begins `longest_` bytes or more before the end.
  const uint64_t decided = last ? end : std::max(from, end > longest_ ? end - longest_ : 0);
  const Bytes rest = window.subspan(from - window_start);
  for (const NameAutomaton& automaton : automata_) {
    // With one automaton every name found so far is one of its own.
    size_t remaining = automaton.name_count() - (automata_.size() == 1 ? found->names().size() : 0);
    if (remaining == 0)
      continue;
    // A name counts only where a terminator byte or the end of the content
    // follows it; one that ends the window is decided only by the last.
    automaton.scan(rest.data(), rest.size(), [&](uint32_t name, size_t start, size_t stop) {
      if (from + start < decided && (stop == rest.size() || is_name_terminator(rest[stop])) &&
          found->record(name, from + start))
        --remaining;
      return remaining == 0;
    });
  }
  if (!last)
    return decided;
  // Only a window that is the whole content gets here with such names.
  for (uint32_t n : searched_one_by_one_)
    if (std::optional<uint64_t> offset = find_name(window, names_[n]))
      found->record(n, *offset);
  for (auto [n, first] : repeats_)
    if (const std::optional<uint64_t>& offset = found->offset(first))
      found->record(n, *offset);
  found->sort();
  return decided;
}
