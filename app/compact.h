// The run sequence of Texsift-compact, from the command line to the exit status.
#pragma once

#include <string>
#include <vector>

class Console;

// Runs Texsift-compact with `args` (the program name first: options, then
// exactly one game root) and prints its report, or with --json or --csv its
// records, on `console`. Returns the exit status: 0 for a normal run, the
// usage text and the version, 1 when the game root does not exist or is not
// a directory or when the --html page cannot be written, 2 for wrong options
// or a folder that --html refuses (each with an error on standard error).
int run_compact(const std::vector<std::string>& args, Console& console);
