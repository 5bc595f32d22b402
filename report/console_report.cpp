// Timing lines and FOUND lines of the console report.
#include "report/console_report.h"

#include <cstdio>

#include "text/console.h"
#include "platform/process.h"

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

void print_elapsed(const ConsoleReport& report, int64_t perf_start) {
  int64_t perf_end = perf_counter();
  report.console.write(format_elapsed(perf_end - perf_start, report.perf_frequency));
}

void print_found(const ConsoleReport& report, std::string_view what, uint64_t offset) {
  report.console.set_colour(kColourGreen);
  // %llu prints an offset below 4 GiB exactly as %u would.
  print(report.console, "FOUND '%.*s' @ %llu\n", static_cast<int>(what.size()), what.data(),
        static_cast<unsigned long long>(offset));
}
