// One pass over a file's content that finds every catalogue name at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/found_names.h"
#include "search/matcher.h"

class NameAutomaton;

// The catalogue's names, prepared once per run so that each file's content is
// searched for all of them in one pass, whatever their number.
//
// A name of three bytes or more, all of them between 0x20 and 0x7F, cannot be
// hidden by find_name's leading skip: the four-byte window at its first byte
// always looks like text. Its answer is therefore its first occurrence that a
// terminator byte or the end of the content follows, which an Aho-Corasick
// automaton finds for all such names together. A vectorised search for the
// names' first two bytes passes the bytes where none of them can begin, and
// the automaton runs only from there until no partial name longer than one
// byte is pending. Other names are rare; they are searched one by one with
// find_name.
class NameSearch {
 public:
  // How find_all reaches the places where names may begin.
  enum class Scan {
    kPrefiltered,    // the search for first bytes, then the automaton
    kAutomatonOnly,  // the automaton alone, through every byte: slower, kept
                     // as the reference the fuzz target checks the other by
  };

  // Prepares `names`, which may repeat, in any order. Their bytes must stay
  // valid for the object's life.
  explicit NameSearch(const std::vector<std::string_view>& names,
                      Scan scan = Scan::kPrefiltered);
  ~NameSearch();
  NameSearch(const NameSearch&) = delete;
  NameSearch& operator=(const NameSearch&) = delete;

  // For each name given to the constructor, in that order, exactly what
  // find_name(content, name) returns. Both forms of find_all keep no state in
  // the object: they are safe to call from several threads at once on it.
  std::vector<std::optional<uint64_t>> find_all(Bytes content) const;

  // The same answers, recorded in `found` (reset first, names numbered as
  // given, sorted at the end). Reused from file to file, it costs time in
  // proportion to the names found, not to the names sought.
  void find_all(Bytes content, FoundNames* found) const;

 private:
  std::vector<std::string_view> names_;  // as given
  // (name, its first occurrence in names_) for each name given again
  std::vector<std::pair<uint32_t, uint32_t>> repeats_;
  std::vector<uint32_t> searched_one_by_one_;  // indexes into names_
  std::vector<NameAutomaton> automata_;
  Scan scan_;
};
