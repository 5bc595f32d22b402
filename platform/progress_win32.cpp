// The progress line on a Win32 console: carriage return, and blanks over what the last line left.
#include "platform/progress.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The length of the line drawn; 0 when none is.
size_t drawn_length = 0;

bool is_console(DWORD std_handle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(std_handle), &mode) != 0;
}

void write_to_stderr(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stderr);
  fflush(stderr);
}

}  // namespace

bool progress_line_wanted(bool report_silent) {
  return is_console(STD_ERROR_HANDLE) && (report_silent || !is_console(STD_OUTPUT_HANDLE));
}

void draw_progress_line(std::string_view text) {
  std::string line = "\r" + std::string(text);
  if (text.size() < drawn_length)
    line.append(drawn_length - text.size(), ' ');
  write_to_stderr(line);
  drawn_length = text.size();
}

void erase_progress_line() {
  if (drawn_length == 0)
    return;
  write_to_stderr("\r" + std::string(drawn_length, ' ') + "\r");
  drawn_length = 0;
}
