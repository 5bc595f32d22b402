// What the parts of a Texsift run share for printing: the console, the timer and the root length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Console;

// Fixed for a run once the texture root is known.
struct Report {
  Console& console;
  int64_t perf_frequency;   // performance-counter counts per second
  size_t texture_root_len;  // length of the texture root; minus 18, the game root's

  // `path` from the game root on, as the report prints it.
  const char* relative(const std::string& path) const;
};

// The timing line for `elapsed` counts at `perf_frequency` counts per second:
// "\t%2.4f sec " with the seconds in double precision, then "%6.4f ms\n" with
// the milliseconds rounded to single precision.
std::string format_elapsed(int64_t elapsed, int64_t perf_frequency);

// Reads the performance counter and prints the timing line of the time since
// `perf_start`.
void print_elapsed(const Report& report, int64_t perf_start);
