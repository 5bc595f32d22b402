// Messages on standard error, prefixed with the program's name.
#include "platform/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/progress.h"

namespace {

const char* program_name = "Texsift";

__attribute__((format(TEXSIFT_PRINTF_FORMAT, 2, 0)))
void vmessage(const char* kind, const char* format, va_list args) {
  erase_progress_line();
  fprintf(stderr, "%s: %s: ", program_name, kind);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  fflush(stderr);
}

}  // namespace

void set_program_name(const char* name) { program_name = name; }

void warning(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vmessage("warning", format, args);
  va_end(args);
}

void error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vmessage("error", format, args);
  va_end(args);
}

void fatal(const char* format, ...) {
  fflush(stdout);
  va_list args;
  va_start(args, format);
  vmessage("error", format, args);
  va_end(args);
  exit(1);
}
