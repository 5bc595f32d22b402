// Standard output and standard error: the console the report goes to, the progress line, the code pages text is shown and written in, and the window a program started from Explorer has.
#pragma once

#include <string>
#include <string_view>

#include "text/console.h"

// The console on standard output. A failed write ends the process with
// status 1. On Windows colours go through the console API and the console's
// attributes from the start of the run are restored at exit and on Ctrl+C;
// elsewhere it is an AnsiConsole with the settings of terminal_settings(),
// and colours are reset at exit and on SIGINT, SIGTERM and SIGPIPE, which
// also erase the progress line.
Console& standard_console();

// Makes standard output write every byte as it is given, for the
// machine-readable reports: on Windows a line feed is then no longer written
// as CR LF. Elsewhere output is already so.
void set_binary_output();

// True when a progress line is to be drawn: standard error is a terminal (on
// POSIX one whose TERM is not "dumb") and nothing else is written to that
// terminal meanwhile, since the report is silent while the line is up
// (`report_silent`) or standard output is not a terminal.
bool progress_line_wanted(bool report_silent);

// Draws `text` on standard error in place of the line drawn before, with a
// carriage return, leaving the cursor after it. Called on one thread. From
// then on warning() and error() erase the line before each message.
void draw_progress_line(std::string_view text);

// Erases the progress line, if one is drawn, leaving the cursor at the start
// of the line. On POSIX it may also be called from a signal handler.
void erase_progress_line();

// `text` converted from the ANSI to the OEM code page, for display on the
// console. Where there is no OEM code page it is returned unchanged.
std::string to_oem(const std::string& text);

// `text`, in the encoding the platform's file functions give names in,
// converted to UTF-8 for the machine-readable reports. On Windows that is the
// ANSI code page; text holding a byte the code page does not map is returned
// unchanged. Elsewhere names are taken as they are and `text` is returned
// unchanged.
std::string ansi_to_utf8(const std::string& text);

// What the console tells of how the process was started.
struct ConsoleFacts {
  unsigned processes = 0;          // the processes attached to the console; 0 with none
  bool input_is_console = false;   // standard input is the console
  bool output_is_console = false;  // standard output is the console
};

// The facts of this process's console. On Windows the environment variable
// TEXSIFT_EXPLORER=1 makes them those of a program started from Explorer
// (one process, both handles the console), for the tests; elsewhere there is
// no such console and every fact is false.
ConsoleFacts console_facts();

// On Windows, reads standard input up to the end of a line or of input,
// after discarding what was typed into the console before. Elsewhere
// nothing waits: it returns at once.
void wait_for_enter();

// Asks the system to open the file `path` (in the form the file functions
// take) in the default browser, and returns at once. On Windows, when the
// environment variable TEXSIFT_BROWSER_LOG names a file, `path` is added to
// it as a line instead, for the tests. Elsewhere nothing is done.
void open_in_browser(const std::string& path);

// The user's Documents folder, in the form the file functions take; empty
// when it cannot be found. On Windows the environment variable
// TEXSIFT_DOCUMENTS takes its place, for the tests. Elsewhere empty.
std::string documents_folder();
