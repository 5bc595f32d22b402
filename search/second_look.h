// The second look for unreferenced textures: their names mentioned in the files the search passes over, and used through the texture descriptions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/game_root.h"
#include "search/pool_file.h"
#include "match/found_names.h"

// One mention of a name: where in a file it first is, and how it is written.
// A use through a texture description also says which texture it describes.
struct Mention {
  uint32_t file;    // index into Mentions::paths
  uint64_t offset;  // of its first byte
  NameForm form;
  std::optional<std::string> describes;  // a use: the .thm's texture, or the textures.ltx line's key
};

// Every mention the second look finds, per name looked for.
struct Mentions {
  std::vector<std::string> paths;          // files holding a mention, from the game root, as the file functions name them
  std::vector<std::vector<Mention>> hits;  // per name of the catalogue: its mentions, in walk order
  std::vector<std::vector<Mention>> bump_uses;  // per bump name looked for: its uses, in walk order
};

// Reads `files`, the files that second_look_action reads and the search
// passed over (see PassedOver), in their order on the search's worker
// threads, and finds the mentions of the names `looked_for` (indexes into
// `names`). The texture descriptions below the texture root
// ("gamedata\textures\", any case: each .thm, and textures.ltx in the
// texture root itself) are read with description_uses, for the names looked
// for and the `bumps` (names of bump files, "DIR\NAME_bump"): their uses are
// mentions with what they describe. A .thm or textures.ltx elsewhere is
// passed over. `hits` has an entry for each of `names`, those not looked for
// staying empty, and `bump_uses` one for each of `bumps`. Nothing is printed
// but the progress line.
Mentions find_mentions(const std::vector<PoolFile>& files, const std::vector<std::string_view>& names,
                       const std::vector<uint32_t>& looked_for, const GamePaths& paths,
                       const std::vector<std::string_view>& bumps = {});
