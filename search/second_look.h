// The second look for unreferenced textures: their names mentioned in the files the search passes over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/game_root.h"
#include "search/walk.h"
#include "match/found_names.h"

// One mention of a name: where in a file it first is, and how it is written.
struct Mention {
  uint32_t file;    // index into Mentions::paths
  uint64_t offset;  // of its first byte
  NameForm form;
};

// What the second look does with a directory entry: it walks the folders the
// search walks, and reads the files the search passes over by name, save
// those that hold no name as text or only describe the textures: images
// (.dds, .tga, .png, .jpg, .jpeg, .bmp), sounds (.ogg, .wav, .mp3), videos
// (.ogm, .avi, .bik, .mp4), archives (.zip, .rar, .7z, .db, .xdb, .gz),
// compiled level geometry (.geom, .cform, .ai, .hom, .graph, .som), the
// texture descriptions (.thm) and textures.ltx. Extensions and textures.ltx
// are matched in any letter case.
EntryAction second_look_action(const DirEntry& entry);

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
