// Tests of the timing line.
#include "report/console_report.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatElapsed, SecondsAndSinglePrecisionMilliseconds) {
  struct Row {
    int64_t elapsed;
    int64_t frequency;
    const char* line;
  } rows[] = {
      {0, 1000000000, "\t0.0000 sec 0.0000 ms\n"},
      {1500000000, 1000000000, "\t1.5000 sec 1500.0000 ms\n"},
      // 12345.6789 ms has no single-precision value; its neighbour prints.
      {12345678900, 1000000000, "\t12.3457 sec 12345.6787 ms\n"},
      {3, 10000000, "\t0.0000 sec 0.0003 ms\n"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(format_elapsed(row.elapsed, row.frequency), row.line) << row.elapsed;
}

}  // namespace
