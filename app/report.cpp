// Timing lines and paths relative to the game root.
#include "app/report.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/timer.h"

const char* Report::relative(const std::string& path) const {
  return path.c_str() + (texture_root_len - 18);
}

std::string format_elapsed(int64_t elapsed, int64_t perf_frequency) {
  double seconds = static_cast<double>(elapsed) / static_cast<double>(perf_frequency);
  // The milliseconds are shown with the digits of their single-precision value.
  float milliseconds = static_cast<float>(static_cast<double>(elapsed) * 1000.0 /
                                          static_cast<double>(perf_frequency));
  char line[128];
  snprintf(line, sizeof line, "\t%2.4f sec %6.4f ms\n", seconds,
           static_cast<double>(milliseconds));
  return line;
}

void print_elapsed(const Report& report, int64_t perf_start) {
  int64_t perf_end = perf_counter();
  report.console.write(format_elapsed(perf_end - perf_start, report.perf_frequency));
}
