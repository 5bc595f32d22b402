// The compact build's texture catalogue: which files of the texture tree are textures.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/texture_walk.h"

class Console;

// True when a file whose path from the game root is `path` is a texture to
// collect: it holds none of "$", "#" and "_bump", and it holds ".dds" or
// ".tga". The tests are case-sensitive substring tests; there is no "ui\" test.
bool compact_is_texture_path(std::string_view path);

// Walks `texture_root` (the game root followed by "gamedata\textures\")
// depth-first, printing its "collecting" line for each directory, and returns
// the catalogue of every file that opens for reading and that
// compact_is_texture_path accepts. Every file is opened, whatever its name.
Catalogue compact_collect_textures(const std::string& texture_root, const GamePaths& paths,
                                   Console& console);
