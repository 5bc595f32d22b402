// The runs of the two programs, from the command line to the exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Console;

// Runs Texsift (`args`: the program name, options, the game root, the
// algorithm flag) or Texsift-compact (the program name, options, exactly one
// game root) and prints its report, or with --json or --csv its records, on
// `console`. Returns the exit status: 0 for a normal run, the usage text and
// the version, 1 when the game root does not exist or is not a directory or
// when the --html page cannot be written, 2 for wrong options or a folder
// that --html refuses (each with an error on standard error).
int run_texsift(const std::vector<std::string>& args, Console& console);
int run_compact(const std::vector<std::string>& args, Console& console);

// The algorithm flag as the C library's atoi reads `text` (leading white
// space, a sign, digits; a value past the int range held at its end), cut to
// its low 8 bits.
uint8_t parse_algorithm_flag(const std::string& text);
