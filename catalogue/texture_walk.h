// The catalogue of textures and the walk over the texture directory that fills it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/game_root.h"

class Console;

// One collected texture file.
struct CatalogueTexture {
  std::string path;         // the file's path from the game root
  uint32_t first_name = 0;  // the index of its first name in Catalogue::names
  uint32_t name_count = 0;  // how many names its entry gives: one, unless it holds a further "."
};

// The collected textures and the names the searches look for. The names are
// exactly those that cutting the catalogue text (each texture's entry, ending
// in ".", one after another) at every "." gives, in that order: act\act_head.dds
// gives act\act_head, and wpn.ak74.dds gives wpn and ak74.
struct Catalogue {
  std::vector<CatalogueTexture> textures;  // in the order the walk met them
  std::vector<std::string> names;          // every search name, in catalogue order
  uint32_t catalogue_count = 0;            // textures added

  // The names as views, in order, valid while the catalogue lives.
  std::vector<std::string_view> name_views() const;
};

// What makes a file of the texture tree a texture, for one program.
struct TextureRules {
  // True when the file whose path from the game root is `path` is a texture.
  bool (*is_texture_path)(std::string_view path);
  // True when a texture is collected only if it opens for reading; every
  // file is then opened, whatever its name.
  bool must_open;
};

// Walks `texture_root` (the game root followed by "gamedata\textures\")
// depth-first. Prints "collecting = '%s'\t\t\r" with each directory's pattern
// from the game root on, the console clearing the rest of the line before
// the tabs, and collects every file that `rules` take for a texture.
Catalogue walk_textures(const std::string& texture_root, const GamePaths& paths,
                        const TextureRules& rules, Console& console);

// When `catalogue` is empty, warns on standard error that no textures were
// found under the texture root of `game_root`, and names the folder that
// suggested_game_root gives, when it gives one.
void warn_if_no_textures(const Catalogue& catalogue, const std::string& game_root);
