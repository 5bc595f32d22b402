// What a search has done so far, counted file by file and shown on the progress line.
#pragma once

#include <cstdint>
#include <string>

// The progress line's text for `files` files holding `bytes` bytes searched
// in `seconds`: "searched 1,234 files, 56.7 MB, 123.4 MB/s" ("1 file" for
// one), a MB being 1,048,576 bytes, with one decimal, and thousands
// separated by commas. The rate is 0.0 before any time has passed.
std::string progress_text(uint64_t files, uint64_t bytes, double seconds);

// Counts the files a search hands on and, when progress_line_wanted() says
// so, draws the progress line at most ten times a second; the first time a
// tenth of a second after the start, so a quick search draws nothing. Erases
// the line when it goes.
class SearchProgress {
 public:
  // `report_silent`: nothing is written to standard output while it lives.
  explicit SearchProgress(bool report_silent);
  ~SearchProgress();
  SearchProgress(const SearchProgress&) = delete;
  SearchProgress& operator=(const SearchProgress&) = delete;

  // Counts a file of which `bytes` bytes were searched, and redraws when due.
  void add_file(uint64_t bytes);

 private:
  bool wanted_;
  uint64_t files_ = 0;
  uint64_t bytes_ = 0;
  int64_t frequency_;
  int64_t start_;
  int64_t next_draw_;  // the performance counter's value from which the line is due
};
