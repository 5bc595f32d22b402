// The texture catalogue: every texture's name, as the game's files refer to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Console;

// The names of the collected textures. `catalogue` is their concatenation,
// each name ending in the "." that preceded its extension, for example
// "act\act_head.sky." for act\act_head.dds and sky.tga.
struct Catalogue {
  std::string catalogue;
  uint32_t catalogue_count = 0;  // names added
};

// Walks `directory` (the texture root, ending in a separator) depth-first.
// Prints "collecting = '%s'\t\t\r" with each directory's pattern relative to
// the game root, whose length is `texture_root_len` - 18, and appends to
// `catalogue` the name of every texture file it meets.
void collect_textures(const std::string& directory, size_t texture_root_len,
                      Catalogue* catalogue, Console& console);

// True when a file whose path below the game root is `path` is a texture to
// collect: it holds none of "ui\", "$", "#" and "_bump", and it holds ".dds"
// or ".tga". The tests are case-sensitive substring tests.
bool is_texture_path(std::string_view path);

// The catalogue text for a texture file's path below the texture root: the
// three extension letters cut off, the "." before them kept. A name that the
// cut leaves without a final "." (x.ddsx gives x.d) gets one, and a name of
// fewer than three characters is kept whole and given one, so that no name
// runs into the next.
std::string catalogue_entry(std::string_view path);

// The names of a catalogue text, cut at every "." as strtok cuts them: empty
// names are skipped, the others come in order.
std::vector<std::string_view> catalogue_names(std::string_view text);
