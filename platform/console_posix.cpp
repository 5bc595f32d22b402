// Standard output as a console: ANSI colours on a terminal, plain text elsewhere.
#include "platform/console.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/diagnostics.h"

namespace {

// The ANSI sequence for a console attribute's foreground: bit 0 blue, bit 1
// green, bit 2 red, bit 3 intensity.
std::string ansi_sequence(int attribute) {
  int red = (attribute >> 2) & 1;
  int green = (attribute >> 1) & 1;
  int blue = attribute & 1;
  int colour = red | (green << 1) | (blue << 2);
  int base = (attribute & 8) ? 90 : 30;
  return "\x1b[0;" + std::to_string(base + colour) + "m";
}

class StandardConsole : public Console {
 public:
  StandardConsole()
      : interactive_(isatty(STDOUT_FILENO) != 0),
        colour_(interactive_ && getenv("NO_COLOR") == nullptr) {}

  void write(std::string_view text) override {
    if (fwrite(text.data(), 1, text.size(), stdout) != text.size())
      fail();
    // A terminal shows progress lines as they come.
    if (interactive_)
      flush();
  }

  // A change to the colour already in force is not sent: the per-file search
  // sets grey once for every name it tries.
  void set_colour(int attribute) override {
    if (!colour_ || attribute == attribute_)
      return;
    attribute_ = attribute;
    flush();
    std::string sequence = ansi_sequence(attribute);
    write(sequence);
    flush();
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
  bool colour_;
  int attribute_ = -1;  // the colour in force; none sent yet
};

}  // namespace

Console& standard_console() {
  static StandardConsole console;
  return console;
}
