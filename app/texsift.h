// The run sequence of Texsift, from the command line to the exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Console;

// Runs Texsift with `args` (the program name first) and prints its report on
// `console`. Returns the exit status: 0 for a normal run and the usage text,
// 1 when the game root is not a directory.
int run_texsift(const std::vector<std::string>& args, Console& console);

// The algorithm flag as the C library's atoi reads `text` (leading white
// space, a sign, digits; a value past the int range held at its end), cut to
// its low 8 bits.
uint8_t parse_algorithm_flag(const std::string& text);

// True for the arguments that ask for the usage text: -h, --help and /?.
bool is_help_argument(const std::string& arg);
