// Algorithm #1: the per-texture report.
#pragma once

#include <cstdint>
#include <string>

#include "report/console_report.h"
#include "search/references.h"

struct Catalogue;
struct References;

// For each name of the catalogue, in order, prints its "searching" line, a
// FOUND line for each file of `game_root` that refers to it, "NOT FOUND
// REFERENCED" when there is none, and the time the name took. The report is
// the one a walk of the tree per name would give, but the tree is walked, and
// each file read and searched, once: inside the first name's timed unit, for
// all names. Returns the references found.
References search_textures(const std::string& game_root, const Catalogue& catalogue,
                     const ConsoleReport& report);

// Prints a FOUND line, with the file's path from the game root and the offset
// of the first occurrence, for each file in `references` that holds the name
// numbered `name`. True when any FOUND line was printed.
bool search_texture(const References& references, uint32_t name, const ConsoleReport& report);
