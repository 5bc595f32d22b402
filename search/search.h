// The reference searches of Texsift: algorithm #1 (per texture) and algorithm #2 (per file).
#pragma once

#include <string>

struct Catalogue;
struct Report;

// Algorithm #1: for each name of the catalogue, in order, prints its
// "searching" line, walks `game_root` for the files that refer to it, prints
// a FOUND line for each, "NOT FOUND REFERENCED" when there is none, and the
// time the name took. Cuts up the catalogue's text.
void search_textures(const std::string& game_root, Catalogue* catalogue,
                     const Report& report);

// Algorithm #2: walks `game_root` once; for each searchable file prints its
// "searching in" line, a FOUND line for each catalogue name it holds, and the
// time its names took.
void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const Report& report);
