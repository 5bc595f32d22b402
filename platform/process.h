// The process: its command-line arguments, its scheduling priority, and a high-resolution clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The arguments the program was started with, the program name first, in the
// form the file functions take (see platform/fs.h). On Windows they are read
// from the wide command line and given in UTF-8, so that a path in any script
// reaches the file functions whole; `argc` and `argv`, in the ANSI code page
// there, are not used. Elsewhere they are `argv` as it is.
std::vector<std::string> program_arguments(int argc, char** argv);

// Raises the process to high priority. A failure is ignored.
void raise_priority();

// Counts of the performance counter per second.
int64_t perf_counter_frequency();

// The performance counter's current value.
int64_t perf_counter();
