// The reference searches of Texsift: algorithm #1 (per texture) and algorithm #2 (per file).
#pragma once

#include <string>
#include <string_view>

struct Catalogue;
struct Report;

// Algorithm #1: for each name of the catalogue, in order, prints its
// "searching" line, walks `game_root` for the files that refer to it, prints
// a FOUND line for each, "NOT FOUND REFERENCED" when there is none, and the
// time the name took. The catalogue is left as it is.
void search_textures(const std::string& game_root, Catalogue* catalogue,
                     const Report& report);

// Walks `directory` (ending in a separator) for the searchable files that
// hold `name` as a whole name, and prints a FOUND line with the file's path
// from the game root and the offset of the first occurrence for each. True
// when any FOUND line was printed.
bool search_texture(const std::string& directory, std::string_view name,
                    const Report& report);

// Algorithm #2: walks `game_root` once; for each searchable file prints its
// "searching in" line, a FOUND line for each catalogue name it holds, and the
// time its names took.
void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const Report& report);
