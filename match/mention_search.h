// The second look's mention rule: a name written in any letter case and with any separator, as a word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "match/found_names.h"
#include "match/name_search.h"

// The form of the mention of `name` whose bytes are `found`: `name` with
// each backslash written as "\", "\\" or "/", in any letter case.
NameForm describe_mention(std::string_view name, Bytes found);

// The names of some textures, prepared once to find, in one pass over a
// file's content, where each is mentioned: written in any letter case, with
// "\", "\\" or "/" for each backslash of the name, and followed by a byte
// that is no ASCII letter, digit or "_", or by the end of the content.
// Searched with NameSearch over case-folded forms of the names and a folded
// copy of the content, in which every byte that no name holds and that
// cannot continue a name reads as a space: a name followed by a byte that
// the names hold and that is neither a letter, a digit, "_" nor one of the
// matcher's terminators (a "-" when some name holds one) is missed.
class MentionSearch : public NameRule {
 public:
  // Prepares `names`, which must stay valid for the object's life.
  explicit MentionSearch(const std::vector<std::string_view>& names);

  // The first mention of each name in `content` (by offset, then form), with
  // its form. Safe to call from several threads.
  void find_all(Bytes content, FoundNames* found) const override;

  // As its NameSearch over the folded forms: a window decides the mentions
  // that begin at least the longest form's length before its end.
  std::optional<size_t> window_overlap() const override { return search_.window_overlap(); }

  // See NameRule::find_in_window; find_all is the one window of the whole
  // content. Each mention's form is read from the window that finds it.
  uint64_t find_in_window(Bytes window, uint64_t window_start, uint64_t from, bool last,
                          FoundNames* found) const override;

  // The name numbered `name`, as given.
  std::string_view name(uint32_t name) const { return names_[name]; }

  // A folded form of a name, as searched.
  struct Pattern {
    std::string text;
    uint32_t name;  // index into the names given
  };

 private:
  std::vector<std::string_view> names_;
  std::vector<Pattern> patterns_;    // by name, ascending
  std::vector<unsigned char> fold_;  // the folded value of each byte
  NameSearch search_;
};
