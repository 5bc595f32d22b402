// The progress line's text and the pace at which it is redrawn.
#include "search/search_progress.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/process.h"

namespace {

constexpr double kBytesPerMb = 1024.0 * 1024.0;

// `value` in decimal with a comma between each group of three digits.
std::string with_thousands(uint64_t value) {
  std::string digits = std::to_string(value);
  for (size_t at = digits.size(); at > 3; at -= 3)
    digits.insert(at - 3, ",");
  return digits;
}

// `value`, not negative, with one decimal and thousands separated.
std::string with_one_decimal(double value) {
  auto tenths = static_cast<uint64_t>(value * 10.0 + 0.5);
  return with_thousands(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::string progress_text(uint64_t files, uint64_t bytes, double seconds) {
  double megabytes = static_cast<double>(bytes) / kBytesPerMb;
  double rate = seconds > 0 ? megabytes / seconds : 0.0;
  return "searched " + with_thousands(files) + (files == 1 ? " file, " : " files, ") +
         with_one_decimal(megabytes) + " MB, " + with_one_decimal(rate) + " MB/s";
}

SearchProgress::SearchProgress(bool report_silent)
    : wanted_(progress_line_wanted(report_silent)),
      frequency_(perf_counter_frequency()),
      start_(perf_counter()),
      next_draw_(start_ + frequency_ / 10) {}

SearchProgress::~SearchProgress() {
  if (wanted_)
    erase_progress_line();
}

void SearchProgress::add_file(uint64_t bytes) {
  ++files_;
  bytes_ += bytes;
  if (!wanted_)
    return;
  int64_t now = perf_counter();
  if (now < next_draw_)
    return;
  next_draw_ = now + frequency_ / 10;
  double seconds = static_cast<double>(now - start_) / static_cast<double>(frequency_);
  draw_progress_line(progress_text(files_, bytes_, seconds));
}
