// Standard output as a Win32 console: colours through the console API.
#include "platform/console.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/diagnostics.h"

namespace {

class StandardConsole : public Console {
 public:
  StandardConsole() : interactive_(_isatty(_fileno(stdout)) != 0) {}

  void write(std::string_view text) override {
    if (fwrite(text.data(), 1, text.size(), stdout) != text.size())
      fail();
    if (interactive_)
      flush();
  }

  // The text before the change must reach the console first, or it would be
  // shown in the new colour. A change to the colour already in force is not
  // made: the per-file search sets grey once for every name it tries.
  void set_colour(int attribute) override {
    if (attribute == attribute_)
      return;
    attribute_ = attribute;
    flush();
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE),
                            static_cast<WORD>(attribute));
  }

  void flush() override {
    if (fflush(stdout) != 0)
      fail();
  }

 private:
  [[noreturn]] static void fail() {
    error("cannot write to standard output");
    _exit(1);
  }

  bool interactive_;
  int attribute_ = -1;  // the colour in force; none set yet
};

}  // namespace

Console& standard_console() {
  static StandardConsole console;
  return console;
}
