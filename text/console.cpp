// Formatted printing onto any Console, the ANSI sequences of a terminal console, and messages on standard error.
#include "text/console.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* program_name = "Texsift";
std::atomic<void (*)()> clear_first = nullptr;

__attribute__((format(TEXSIFT_PRINTF_FORMAT, 2, 0)))
void vmessage(const char* kind, const char* format, va_list args) {
  if (void (*clear)() = clear_first.load())
    clear();
  fprintf(stderr, "%s: %s: ", program_name, kind);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  fflush(stderr);
}

}  // namespace

void print(Console& console, const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(copy);
    return;
  }
  if (static_cast<size_t>(length) < sizeof small) {
    va_end(copy);
    console.write(std::string_view(small, static_cast<size_t>(length)));
    return;
  }
  std::string large(static_cast<size_t>(length) + 1, '\0');
  vsnprintf(large.data(), large.size(), format, copy);
  va_end(copy);
  large.pop_back();
  console.write(large);
}

TerminalSettings terminal_settings(bool is_terminal, const char* no_color, const char* term) {
  TerminalSettings settings;
  settings.clears_lines = is_terminal && !(term && std::string_view(term) == "dumb");
  settings.colour = settings.clears_lines && !no_color;
  return settings;
}

std::string ansi_colour_sequence(int attribute) {
  int red = (attribute >> 2) & 1;
  int green = (attribute >> 1) & 1;
  int blue = attribute & 1;
  int colour = red | (green << 1) | (blue << 2);
  int base = (attribute & 8) ? 90 : 30;
  return "\x1b[0;" + std::to_string(base + colour) + "m";
}

void AnsiConsole::set_colour(int attribute) {
  if (!settings_.colour || attribute == attribute_)
    return;
  attribute_ = attribute;
  out_.write(ansi_colour_sequence(attribute));
  out_.flush();
}

void AnsiConsole::clear_to_end_of_line() {
  if (settings_.clears_lines)
    out_.write("\x1b[K");
}

void AnsiConsole::reset_colour() {
  if (colour_sent()) {
    attribute_ = -1;
    out_.write("\x1b[0m");
  }
  out_.flush();
}

void set_program_name(const char* name) { program_name = name; }

void clear_before_messages(void (*clear)()) { clear_first = clear; }

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
