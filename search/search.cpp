// What the two searches share in their report.
#include "search/found.h"

#include "app/report.h"
#include "platform/console.h"

void print_found(const Report& report, const char* what, uint64_t offset) {
  report.console.set_colour(kColourGreen);
  // %llu prints an offset below 4 GiB exactly as %u would.
  print(report.console, "FOUND '%s' @ %llu\n", what, static_cast<unsigned long long>(offset));
}
