// Performance counter through QueryPerformanceCounter.
#include "platform/timer.h"

#include <windows.h>

int64_t perf_counter_frequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

int64_t perf_counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}
