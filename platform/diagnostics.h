// Messages on standard error: warnings, errors and fatal errors.
// Each first erases the progress line, if one is drawn.
#pragma once

// Sets the program name that prefixes every message ("Texsift: warning: ...").
void set_program_name(const char* name);

// Prints "NAME: warning: " and the formatted text, and a line feed.
void warning(const char* format, ...) __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));

// Prints "NAME: error: " and the formatted text, and a line feed.
void error(const char* format, ...) __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));

// Prints as error() does, flushes standard output, and exits with status 1.
[[noreturn]] void fatal(const char* format, ...)
    __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));
