// High-resolution performance counter.
#pragma once

#include <cstdint>

// Counts of the performance counter per second.
int64_t perf_counter_frequency();

// The performance counter's current value.
int64_t perf_counter();
