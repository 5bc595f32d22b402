// The run sequence of Texsift-compact, from the command line to the exit status.
#pragma once

#include <string>
#include <vector>

class Console;

// Runs Texsift-compact with `args` (the program name first) and prints its
// report on `console`. Returns the exit status: 0 for a normal run and the
// usage text, 1 when the game root is not a directory.
int run_compact(const std::vector<std::string>& args, Console& console);
