// The program's command-line arguments, in the form the file functions take.
#pragma once

#include <string>
#include <vector>

// The arguments the program was started with, the program name first. On
// Windows they are read from the wide command line and given in UTF-8 (see
// utf8_from_wide), so that a path in any script reaches the file functions
// whole; `argc` and `argv`, in the ANSI code page there, are not used.
// Elsewhere they are `argv` as it is.
std::vector<std::string> program_arguments(int argc, char** argv);
