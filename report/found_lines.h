// The FOUND lines of one file in the console reports, with the colours that trying every name in turn sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class Console;

// Prints the FOUND lines of one file with `print_line` (which sets green
// itself), one for each name in `found` (ascending), with the colours that
// trying `name_count` names in turn sets: grey before each name tried. A
// change to the colour already in force is left out, as a console shows none:
// grey once before the first name, and again after each FOUND line unless its
// name was the last, so the work follows the names found, not those sought.
void print_found_in_turn(Console& console, size_t name_count, const std::vector<uint32_t>& found,
                         const std::function<void(uint32_t name)>& print_line);
