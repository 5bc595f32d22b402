// One pass over a file's content that finds every catalogue name at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "match/found_names.h"
#include "match/prefilter.h"
#include "match/matcher.h"

class NameAutomaton;

// The catalogue's names, prepared once per run so that each file's content is
// searched for all of them in one pass, whatever their number.
//
// A name of three bytes or more, all of them between 0x20 and 0x7F, cannot be
// hidden by find_name's leading skip: the four-byte window at its first byte
// always looks like text. Its answer is therefore its first occurrence that a
// terminator byte or the end of the content follows, which an Aho-Corasick
// automaton finds for all such names together. The prefilter passes the
// bytes where none of the names' first two bytes begin, and the automaton
// runs only from there until no partial name longer than one byte is
// pending. Other names are rare; they are searched one by one with
// find_name.
class NameSearch : public NameRule {
 public:
  // Prepares `names`, which may repeat, in any order. Their bytes must stay
  // valid for the object's life. `test` finds the places where names may
  // begin. Names go into further automata when one automaton's table (four
  // bytes an entry, states times byte classes) could pass `largest_table`
  // entries, which must stay within 31 bits.
  explicit NameSearch(const std::vector<std::string_view>& names,
                      StartTest test = fastest_start_test(),
                      size_t largest_table = size_t{1} << 26);
  ~NameSearch() override;
  NameSearch(const NameSearch&) = delete;
  NameSearch& operator=(const NameSearch&) = delete;

  // For each name given to the constructor, exactly what find_name(content,
  // name) returns, recorded in `found` (reset first, names numbered as
  // given, sorted at the end). Reused from file to file, it costs time in
  // proportion to the names found, not to the names sought. It keeps no
  // state in the object: several threads may call it at once.
  void find_all(Bytes content, FoundNames* found) const override;

  // The longest name's length, when every name is one the automata find: a
  // name's answer is then decided by its own bytes and the one after, and
  // any window of the content decides the names that begin at least that
  // many bytes before its end. None when a name is searched one by one,
  // whose leading skip looks back to the start of the content.
  std::optional<size_t> window_overlap() const override;

  // See NameRule::find_in_window; find_all is the one window of the whole content.
  uint64_t find_in_window(Bytes window, uint64_t window_start, uint64_t from, bool last,
                          FoundNames* found) const override;

 private:
  std::vector<std::string_view> names_;  // as given
  // (name, its first occurrence in names_) for each name given again
  std::vector<std::pair<uint32_t, uint32_t>> repeats_;
  std::vector<uint32_t> searched_one_by_one_;  // indexes into names_
  std::vector<NameAutomaton> automata_;
  size_t longest_ = 0;  // of the names the automata find
};
