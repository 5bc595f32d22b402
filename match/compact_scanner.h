// Texsift-compact's scanner: finds every catalogue name in a file's bytes in one pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "match/found_names.h"
#include "match/name_automaton.h"
#include "match/prefilter.h"

// Names prepared for a search of each content in one pass, whatever their
// number. Each name's answer is where the compact scan of that name alone
// finds it. The terms:
//
// - The *window* at an offset is the 8 bytes from it (bytes past the end
//   count as 0x00). A window start is *skipped* with a jump of 8 when its
//   window holds a byte of 0x80 or more or only bytes below 0x20, and with a
//   jump of 4 when only its first four bytes are below 0x20; otherwise it is
//   a *text* offset.
// - The *path* of a name of `len` bytes starting with `first` is the offsets
//   its scan stands on: from 0, while an offset leaves more than `len` bytes
//   after it, a skipped one jumps; from a text one, the scan looks for
//   `first` in its next `len` bytes and stands next one byte past the
//   `first` found (a *candidate*), or `len` bytes on (a *stride*) when none
//   is. The first candidate where the name's bytes are is the answer. An
//   occurrence inside a skipped window is never met.
// - The path depends only on `len` and `first`: the names sharing both are
//   a *group*, and share one path.
// - A path standing on a skipped offset follows its chain of jumps to its
//   *landing*: the first text offset of the chain, or the first at or past
//   the end.
// - A *funnel* of a group is a byte `first` at a text offset q, with
//   q + len < size, whose seven window starts before it are text: every path
//   of the group standing at or before q meets q, so a path may skip ahead
//   to the last funnel before an occurrence, and an occurrence that is a
//   funnel is met without walking the path to it.
//
// An example: the group of "sea", "sky" and "sun" (3 bytes, 's') over
//
//   sea ## sky. a sun sky.      (# is a byte 0xFF)
//   0         10        20
//
// The window at 0 holds 0xFF: the path jumps to 8 and misses "sea" and the
// "sky" at 7. From 8, no 's' in "ky." nor in " a ": strides to 11, then 14,
// where 's' is a candidate. "sun" is found there; the path goes on at 15,
// strides to 18 and finds "sky" there. 14 is also a funnel: the windows at
// 7 to 13 are text.
//
// The pass: name automata report, in order, the occurrences of the names of
// three bytes or more, and for each one not yet found its group's path is
// taken forward to that offset to tell whether it is a candidate. Names of
// one or two bytes take their own path to each of their occurrences. A map of
// the skipped window starts, built for a content only when an occurrence is
// not a funnel, lets a path cross a skipped stretch in one step. The path
// is never walked from further back than a fixed reach before the
// occurrence (16 KiB): from the last funnel of its group within that
// reach when there is one; else from every offset where the path may first
// stand at or past the reach's start (the path's steps are at most
// max(len, 8) bytes), all walked together, those that meet going on as one.
// When they all come to the same decision at the occurrence, that is the
// path's; only when they do not is the reach made four times longer, and
// at last the path walked from where it stands. In binary data the
// offsets of one remainder modulo 8 are passed together, so there are few
// paths to walk, and they meet within a few kilobytes. Prepared once, the
// search serves any number of contents, from several threads at once.
class CompactNameSearch : public NameRule {
 public:
  // Prepares `names`, which may repeat, in any order; an empty name is never
  // found. `test` finds the places where names may begin. Names go into
  // further automata when one automaton's table could pass `largest_table`
  // entries (see build_automata).
  explicit CompactNameSearch(const std::vector<std::string_view>& names,
                             StartTest test = fastest_start_test(),
                             size_t largest_table = size_t{1} << 26);

  // For each name given to the constructor, the offset of the first
  // candidate of its path where its bytes are, recorded in `found` (reset
  // first, names numbered as given, sorted at the end): forgetting the last
  // content's answers costs what was found in it, not the number of names.
  // Each call allocates 8 bytes per group for the paths and a bit per
  // distinct name; a path taken from afar holds a word for each offset it
  // starts from. When some occurrence needs it, the content is mapped, a
  // quarter of a byte per content byte, in words the calling thread keeps
  // for its next calls: its map grows to the largest content mapped.
  void find_all(Bytes content, FoundNames* found) const override;

 private:
  std::vector<std::string> distinct_;   // by length, then by bytes
  std::vector<size_t> first_given_;     // each distinct name's first index among those given
  std::vector<size_t> next_given_;      // each given name's next index with the same bytes, or none
  std::vector<size_t> group_starts_;    // each group's first index, then distinct_.size()
  // What the pass looks up for a distinct name at each of its occurrences,
  // kept together.
  struct NameShape {
    uint32_t group;
    char first;
    size_t len;
  };
  std::vector<NameShape> shapes_;       // each distinct name's group, first byte and length
  std::vector<NameAutomaton> automata_; // of the distinct names of three bytes or more
  std::vector<size_t> short_names_;     // the distinct names of one or two bytes
  StartTest test_;                      // also finds the kinds of bytes for the map
};
