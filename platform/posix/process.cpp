// The process on POSIX: arguments as main receives them, a lower nice value, the monotonic clock.
#include "platform/process.h"

#include <sys/resource.h>
#include <time.h>

std::vector<std::string> program_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

// Unprivileged users are refused a lower nice value, which is ignored.
void raise_priority() {
  int current = getpriority(PRIO_PROCESS, 0);
  (void)setpriority(PRIO_PROCESS, 0, current - 5);
}

// The counter counts nanoseconds.
int64_t perf_counter_frequency() { return 1000000000; }

int64_t perf_counter() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}
