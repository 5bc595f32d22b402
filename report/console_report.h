// The console report's context and the lines both searches print: FOUND lines and timing lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "search/game_root.h"

class Console;

// Where a Texsift report goes and how it shows times and paths. Fixed for a
// run once the game root is known.
struct ConsoleReport {
  Console& console;
  int64_t perf_frequency;  // performance-counter counts per second
  GamePaths paths;         // paths are shown from the game root on
};

// The timing line for `elapsed` counts at `perf_frequency` counts per second:
// "\t%2.4f sec " with the seconds in double precision, then "%6.4f ms\n" with
// the milliseconds rounded to single precision.
std::string format_elapsed(int64_t elapsed, int64_t perf_frequency);

// Reads the performance counter and prints the timing line of the time since
// `perf_start`.
void print_elapsed(const ConsoleReport& report, int64_t perf_start);

// Sets the colour for a reference found and prints "FOUND '<what>' @ <offset>"
// with the offset in decimal.
void print_found(const ConsoleReport& report, std::string_view what, uint64_t offset);
