// Texsift's texture catalogue: every texture's name, as the game's files refer to it.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/texture_walk.h"

class Console;

// True when a file whose path from the game root is `path` is a texture to
// collect: it holds none of "ui\", "$", "#" and "_bump", and it holds ".dds"
// or ".tga". The tests are case-sensitive substring tests.
bool is_texture_path(std::string_view path);

// Walks `texture_root` (the game root followed by "gamedata\textures\")
// depth-first, printing its "collecting" line for each directory, and returns
// the catalogue of every file is_texture_path accepts. No file is opened.
Catalogue collect_textures(const std::string& texture_root, const GamePaths& paths,
                           Console& console);
