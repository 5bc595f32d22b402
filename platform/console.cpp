// Formatted printing onto any Console.
#include "platform/console.h"

#include <cstdarg>
#include <cstdio>
#include <string>

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
