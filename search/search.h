// The reference searches of Texsift: algorithm #1 (per texture) and algorithm #2 (per file).
#pragma once

#include <cstdint>
#include <string>

struct Catalogue;
struct References;
struct Report;

// Algorithm #1: for each name of the catalogue, in order, prints its
// "searching" line, a FOUND line for each file of `game_root` that refers to
// it, "NOT FOUND REFERENCED" when there is none, and the time the name took.
// The report is the one a walk of the tree per name would give, but the tree
// is walked, and each file read and searched, once: by the first name, for
// all names.
void search_textures(const std::string& game_root, const Catalogue& catalogue,
                     const Report& report);

// Prints a FOUND line, with the file's path from the game root and the
// offset of the first occurrence, for each file in `references` that holds
// the name numbered `name`. True when any FOUND line was printed.
bool search_texture(const References& references, uint32_t name, const Report& report);

// Algorithm #2: walks `game_root` once; for each searchable file prints its
// "searching in" line, a FOUND line for each catalogue name it holds, and the
// time its names took.
void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const Report& report);
