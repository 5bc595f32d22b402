// Performance counter from the monotonic clock, in nanoseconds.
#include "platform/timer.h"

#include <time.h>

int64_t perf_counter_frequency() { return 1000000000; }

int64_t perf_counter() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}
