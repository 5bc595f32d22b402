// The progress line: one line on standard error, drawn over itself while a search runs.
#pragma once

#include <string_view>

// True when a progress line is to be drawn: standard error is a terminal (on
// POSIX one whose TERM is not "dumb") and nothing else is written to that
// terminal meanwhile, since the report is silent while the line is up
// (`report_silent`) or standard output is not a terminal.
bool progress_line_wanted(bool report_silent);

// Draws `text` on standard error in place of the line drawn before, with a
// carriage return, leaving the cursor after it. Called on one thread.
void draw_progress_line(std::string_view text);

// Erases the progress line, if one is drawn, leaving the cursor at the start
// of the line. Diagnostics call it before each message. On POSIX it may also
// be called from a signal handler.
void erase_progress_line();
