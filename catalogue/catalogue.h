// The catalogue of textures: which files of the texture tree are textures, the walk that collects them, and their names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/game_root.h"

class Console;

// One collected texture file.
struct CatalogueTexture {
  std::string path;         // the file's path from the game root, as names are shown
  std::string open_path;    // the whole path as the file functions take it
  uint32_t first_name = 0;  // the index of its first name in Catalogue::names
  uint32_t name_count = 0;  // how many names its entry gives: one, unless it holds a further "."
};

// A file that travels with its texture: in the same folder, with the same
// stem (any letter case), its description NAME.thm, or a bump file
// NAME_bump or NAME_bump# with a texture extension (.dds, .tga).
struct Companion {
  std::string path;       // from the game root, as names are shown
  std::string open_path;  // as the file functions take it
  std::string name;       // from the texture root, without its extension: "act\foo_bump#"
  uint32_t texture = 0;   // its texture's index in Catalogue::textures
  bool bump = false;      // a bump file, not the .thm
};

// The collected textures and the names the searches look for. The names are
// exactly those that cutting the catalogue text (each texture's entry, ending
// in ".", one after another) at every "." gives, in that order: act\act_head.dds
// gives act\act_head, and wpn.ak74.dds gives wpn and ak74.
struct Catalogue {
  std::vector<CatalogueTexture> textures;  // in the order the walk met them
  std::vector<std::string> names;          // every search name, in catalogue order
  std::vector<Companion> companions;       // by texture, then in walk order

  // The names as views, in order, valid while the catalogue lives.
  std::vector<std::string_view> name_views() const;
};

// What makes a file of the texture tree a texture, for one program. The
// default is Texsift's rule; Texsift-compact's counts `ui\` textures and
// collects only the textures that open.
struct TextureRules {
  bool ui_textures_count = false;  // a path holding "ui\" may be a texture
  bool must_open = false;          // a texture counts only if it opens for reading
};

// Texsift-compact's rules.
inline constexpr TextureRules kCompactTextureRules{true, true};

// True when a file whose path from the game root is `path` is a texture by
// `rules`: it holds none of "$", "#" and "_bump" (nor "ui\" unless `rules`
// count those), and it holds ".dds" or ".tga". The tests are case-sensitive
// substring tests; whether the file opens is left to collect_textures.
bool is_texture_path(std::string_view path, const TextureRules& rules);

// Walks `texture_root` (the game root followed by "gamedata\textures\")
// depth-first. Prints "collecting = '%s'\t\t\r" with each directory's pattern
// from the game root on, the console clearing the rest of the line before
// the tabs, and collects every file that `rules` take for a texture, and
// the companions of those textures. When
// the rules say a texture must open, every file is opened, whatever its name;
// otherwise none is.
Catalogue collect_textures(const std::string& texture_root, const GamePaths& paths,
                           Console& console, const TextureRules& rules = {});

// When `catalogue` is empty, warns on standard error that no textures were
// found under the texture root of `game_root`, and names the folder that
// suggested_game_root gives, when it gives one.
void warn_if_no_textures(const Catalogue& catalogue, const std::string& game_root);

// The catalogue text for a texture file's path below the texture root: the
// three extension letters cut off, the "." before them kept. A name that the
// cut leaves without a final "." (x.ddsx gives x.d) gets one, and a name of
// fewer than three characters is kept whole and given one, so that no name
// runs into the next.
std::string catalogue_entry(std::string_view path);

// Appends to `names` the names of a catalogue text, cut at every "." as
// strtok cuts them: empty names are skipped, the others come in order.
void cut_names(std::string_view text, std::vector<std::string>* names);
