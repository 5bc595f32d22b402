// Tests of the progress line's text.
#include <gtest/gtest.h>

#include "common/search_progress.h"

namespace {

TEST(ProgressText, CountsSizesAndRates) {
  constexpr uint64_t kMb = 1024 * 1024;
  struct Row {
    uint64_t files;
    uint64_t bytes;
    double seconds;
    const char* text;
  } rows[] = {
      {0, 0, 0.0, "searched 0 files, 0.0 MB, 0.0 MB/s"},
      {1, kMb, 0.0, "searched 1 file, 1.0 MB, 0.0 MB/s"},
      {2, kMb / 2, 0.25, "searched 2 files, 0.5 MB, 2.0 MB/s"},
      {1234, 59454259, 0.5, "searched 1,234 files, 56.7 MB, 113.4 MB/s"},
      {999, kMb * 999, 1.0, "searched 999 files, 999.0 MB, 999.0 MB/s"},
      {1000, kMb / 10, 3.0, "searched 1,000 files, 0.1 MB, 0.0 MB/s"},
      {1234567, kMb * 20480, 100.0, "searched 1,234,567 files, 20,480.0 MB, 204.8 MB/s"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(progress_text(row.files, row.bytes, row.seconds), row.text) << row.text;
}

}  // namespace
