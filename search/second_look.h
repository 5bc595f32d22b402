// The second look for unreferenced textures: their names mentioned in the files the search passes over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/game_root.h"
#include "match/found_names.h"

// One mention of a name: where in a file it first is, and how it is written.
struct Mention {
  uint32_t file;    // index into Mentions::paths
  uint64_t offset;  // of its first byte
  NameForm form;
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
