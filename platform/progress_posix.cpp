// The progress line on a POSIX terminal: a carriage return and "\x1b[K", straight to the descriptor.
#include "platform/progress.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// Set while a line is drawn; read by the signal handler that erases it.
volatile sig_atomic_t line_drawn = 0;

// Writes all of `text` to standard error, giving up on an error: the line is
// an aid, and a message that fails to show it is not worth one.
void write_to_stderr(std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written <= 0)
      return;
    text.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

bool progress_line_wanted(bool report_silent) {
  const char* term = getenv("TERM");
  if (!isatty(STDERR_FILENO) || (term && std::string_view(term) == "dumb"))
    return false;
  return report_silent || !isatty(STDOUT_FILENO);
}

void draw_progress_line(std::string_view text) {
  write_to_stderr("\r" + std::string(text) + "\x1b[K");
  line_drawn = 1;
}

void erase_progress_line() {
  if (!line_drawn)
    return;
  line_drawn = 0;
  write_to_stderr("\r\x1b[K");
}
