// Console output: the report's text and its colour changes, through one interface.
#pragma once

#include <string_view>

// Console attributes the report uses: foreground on a black background.
constexpr int kColourGrey = 7;
constexpr int kColourGreen = 10;
constexpr int kColourRed = 12;
constexpr int kColourWhite = 15;

// Where a report goes. Text and colour changes reach the console in the order
// they are made: text written before a colour change is shown in the old colour.
class Console {
 public:
  virtual ~Console() = default;
  // Writes `text` as it stands.
  virtual void write(std::string_view text) = 0;
  // Sets the console attribute for the text that follows.
  virtual void set_colour(int attribute) = 0;
  // Delivers all text written so far.
  virtual void flush() {}
};

// Formats with printf rules and writes the result to `console`.
void print(Console& console, const char* format, ...)
    __attribute__((format(TEXSIFT_PRINTF_FORMAT, 2, 3)));

// The console on standard output. On Windows colours go through the console
// API; elsewhere they are ANSI sequences, sent only when standard output is a
// terminal and NO_COLOR is unset. A failed write ends the process with status 1.
Console& standard_console();
