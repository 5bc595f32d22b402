// The second look for unreferenced textures: their names mentioned in the files the search passes over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "search/game_root.h"
#include "search/walk.h"
#include "match/matcher.h"
#include "match/name_search.h"

// How the letters of a mention compare with the name's.
enum class MentionCase {
  kSame,   // as in the name
  kLower,  // otherwise, every letter in lower case
  kUpper,  // otherwise, every letter in upper case
  kMixed,  // anything else
};

// What stands between the parts of a mention where the name holds a backslash.
enum class MentionSeparator {
  kNone,             // the name has one part
  kBackslash,        // one backslash each time, as in the name
  kDoubleBackslash,  // two backslashes each time, as a script string writes one
  kSlash,            // one slash each time
  kMixed,            // anything else: some of each, or two slashes
};

// The words the reports give a mention's form by: "same", "lower", "upper",
// "mixed"; "none", "backslash", "double_backslash", "slash", "mixed".
const char* case_word(MentionCase letter_case);
const char* separator_word(MentionSeparator separator);

// One mention of a name: where in a file it first is, and how it is written.
struct Mention {
  uint32_t file;    // index into Mentions::paths
  uint64_t offset;  // of its first byte
  MentionCase letter_case;
  MentionSeparator separator;
};

// The form of the mention of `name` whose bytes are `found`: `name` with
// each backslash written as "\", "\\" or "/", in any letter case.
Mention describe_mention(std::string_view name, Bytes found);

// What the second look does with a directory entry: it walks the folders the
// search walks, and reads the files the search passes over by name, save
// those that hold no name as text or only describe the textures: images
// (.dds, .tga, .png, .jpg, .jpeg, .bmp), sounds (.ogg, .wav, .mp3), videos
// (.ogm, .avi, .bik, .mp4), archives (.zip, .rar, .7z, .db, .xdb, .gz),
// compiled level geometry (.geom, .cform, .ai, .hom, .graph, .som), the
// texture descriptions (.thm) and textures.ltx. Extensions and textures.ltx
// are matched in any letter case.
EntryAction second_look_action(const DirEntry& entry);

// The names of some textures, prepared once to find, in one pass over a
// file's content, where each is mentioned: written in any letter case, with
// "\", "\\" or "/" for each backslash of the name, and followed by a byte
// that is no ASCII letter, digit or "_", or by the end of the content.
// Searched with NameSearch over case-folded forms of the names and a folded
// copy of the content, in which every byte that no name holds and that
// cannot continue a name reads as a space: a name followed by a byte that
// the names hold and that is neither a letter, a digit, "_" nor one of the
// matcher's terminators (a "-" when some name holds one) is missed.
class MentionSearch {
 public:
  // Prepares `names`, which must stay valid for the object's life.
  explicit MentionSearch(const std::vector<std::string_view>& names);

  // The first mention of each name in `content` (by offset, then form), in
  // the order of the names; `file` is 0. Safe to call from several threads.
  std::vector<std::pair<uint32_t, Mention>> find_all(Bytes content) const;

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

// Every mention the second look finds, per name looked for.
struct Mentions {
  std::vector<std::string> paths;          // files holding a mention, from the game root, as the file functions name them
  std::vector<std::vector<Mention>> hits;  // per name of the catalogue: its mentions, in walk order
};

// Walks `game_root` once with second_look_action, reading the files on the
// search's worker threads, and finds the mentions of the names `looked_for`
// (indexes into `names`). `hits` has an entry for each of `names`; those not
// looked for stay empty. Nothing is printed but the progress line.
Mentions find_mentions(const std::string& game_root, const std::vector<std::string_view>& names,
                       const std::vector<uint32_t>& looked_for, const GamePaths& paths);
