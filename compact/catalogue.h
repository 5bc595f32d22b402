// The compact build's texture catalogue: the run's shared state, the collection walk and the name rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Console;

// What the walks of one run share.
struct CompactState {
  explicit CompactState(Console& report_console) : console(report_console) {}

  Console& console;
  // Length of the texture root (the game root followed by
  // "gamedata\textures\"); minus 18, the length of the game root.
  size_t texture_root_len = 0;
  // The collected names, each ending in the "." that preceded its extension,
  // for example "act\act_head.sky." for act\act_head.dds and sky.tga.
  std::string catalogue;
  uint32_t catalogue_count = 0;  // names added
  // The catalogue as one file's search cuts it into names.
  std::string catalogue_copy;

  // `path` from the game root on, as the report prints it.
  const char* relative(const std::string& path) const;
};

// Walks `directory` (the texture root, ending in a separator) depth-first.
// Prints "collecting = '%s'\t\t\r" with each directory's pattern relative to
// the game root, and appends to the catalogue the name of every texture file
// that opens for reading.
void compact_collect_textures(const std::string& directory, CompactState* state);

// True when a file whose path below the game root is `path` is a texture to
// collect: it holds none of "$", "#" and "_bump", and it holds ".dds" or
// ".tga". The tests are case-sensitive substring tests; there is no "ui\" test.
bool compact_is_texture_path(std::string_view path);

// The catalogue text for a texture file's path below the texture root: the
// three extension letters cut off, the "." before them kept. A name that the
// cut leaves without a final "." (x.ddsx gives x.d) gets one, and a name of
// fewer than three characters is kept whole and given one, so that no name
// runs into the next.
std::string compact_catalogue_entry(std::string_view path);

// Cuts `text` into names as strtok cuts it on ".": every "." becomes a zero
// byte, empty names are skipped, and the names come in order, each followed
// in `text` by its zero byte.
std::vector<std::string_view> compact_cut_names(std::string* text);
