// One pass over a file's content that finds every catalogue name at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "search/matcher.h"

class NameAutomaton;

// The catalogue's names, prepared once per run so that each file's content is
// searched for all of them in one pass, whatever their number.
//
// A name of three bytes or more, all of them between 0x20 and 0x7F, cannot be
// hidden by find_name's leading skip: the four-byte window at its first byte
// always looks like text. Its answer is therefore its first occurrence that a
// terminator byte or the end of the content follows, which an Aho-Corasick
// automaton finds for all such names together. Other names are rare; they are
// searched one by one with find_name.
class NameSearch {
 public:
  // Prepares `names`, which may repeat, in any order. Their bytes must stay
  // valid for the object's life.
  explicit NameSearch(const std::vector<std::string_view>& names);
  ~NameSearch();
  NameSearch(const NameSearch&) = delete;
  NameSearch& operator=(const NameSearch&) = delete;

  // For each name given to the constructor, in that order, exactly what
  // find_name(content, name) returns.
  std::vector<std::optional<uint64_t>> find_all(Bytes content) const;

 private:
  std::vector<std::string_view> distinct_;   // each name once
  std::vector<uint32_t> distinct_of_name_;   // names given -> distinct_
  std::vector<uint32_t> searched_one_by_one_;  // indexes into distinct_
  std::vector<NameAutomaton> automata_;
};
