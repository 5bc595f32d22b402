// Console output and messages: the report's text and its colour changes through one interface, the ANSI sequences of a terminal, warnings and errors.
#pragma once

#include <string>
#include <string_view>

// Console attributes the report uses: foreground on a black background.
constexpr int kColourGrey = 7;
constexpr int kColourGreen = 10;
constexpr int kColourRed = 12;
constexpr int kColourWhite = 15;

// Where a report goes. Text and colour changes reach the console in the order
// they are made: text written before a colour change is shown in the old colour.
class Console {
 public:
  virtual ~Console() = default;
  // Writes `text` as it stands.
  virtual void write(std::string_view text) = 0;
  // Sets the console attribute for the text that follows.
  virtual void set_colour(int attribute) = 0;
  // Delivers all text written so far.
  virtual void flush() {}
  // Blanks the current line from the cursor to its end, on a terminal that
  // can; elsewhere does nothing, so a file or pipe gets no byte from it.
  virtual void clear_to_end_of_line() {}
};

// A console that drops all it is given: where the progress lines go when a
// machine-readable report is written.
class QuietConsole : public Console {
 public:
  void write(std::string_view) override {}
  void set_colour(int) override {}
};

// Formats with printf rules and writes the result to `console`.
void print(Console& console, const char* format, ...)
    __attribute__((format(TEXSIFT_PRINTF_FORMAT, 2, 3)));

// What an ANSI terminal on standard output is sent besides the text.
struct TerminalSettings {
  bool clears_lines = false;  // "\x1b[K" for clear_to_end_of_line()
  bool colour = false;        // colour sequences for set_colour()
};

// The settings for standard output, from whether it is a terminal
// (`is_terminal`) and the values of NO_COLOR and TERM (null when unset): no
// sequence at all unless it is a terminal whose TERM is not "dumb", and no
// colour when NO_COLOR is set, whatever its value.
TerminalSettings terminal_settings(bool is_terminal, const char* no_color, const char* term);

// A console that passes its text on to `out` with the ANSI sequences that
// `settings` allow: colours as foreground sequences ("\x1b[0;37m" for grey),
// a change to the colour already in force not sent again; "\x1b[K" to clear.
class AnsiConsole : public Console {
 public:
  AnsiConsole(Console& out, TerminalSettings settings) : out_(out), settings_(settings) {}

  void write(std::string_view text) override { out_.write(text); }
  void set_colour(int attribute) override;
  void flush() override { out_.flush(); }
  void clear_to_end_of_line() override;

  // True when a colour has been sent since the start or the last reset.
  bool colour_sent() const { return attribute_ != -1; }
  // Sends "\x1b[0m", which gives the terminal back its own colours, when a
  // colour has been sent; then flushes.
  void reset_colour();

 private:
  Console& out_;
  TerminalSettings settings_;
  int attribute_ = -1;  // the colour in force; none sent yet
};

// The ANSI sequence that sets the foreground of console attribute `attribute`
// (bit 0 blue, bit 1 green, bit 2 red, bit 3 intensity).
std::string ansi_colour_sequence(int attribute);

// Sets the program name that prefixes every message ("Texsift: warning: ...").
void set_program_name(const char* name);

// Has `clear` called, from any thread, before each message below is written
// from now on. The progress line (platform/console.h) hands in its eraser
// when it is first drawn, so that no message lands inside the line.
void clear_before_messages(void (*clear)());

// Prints "NAME: warning: " and the formatted text, and a line feed, on
// standard error.
void warning(const char* format, ...) __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));

// Prints "NAME: error: " and the formatted text, and a line feed, on
// standard error.
void error(const char* format, ...) __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));

// Prints as error() does, flushes standard output, and exits with status 1.
[[noreturn]] void fatal(const char* format, ...)
    __attribute__((format(TEXSIFT_PRINTF_FORMAT, 1, 2)));
