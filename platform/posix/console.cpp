// Standard output and standard error on POSIX: ANSI sequences on a terminal, plain text elsewhere, the terminal put back; the progress line straight to the descriptor; no code page to convert between.
#include "platform/console.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kReset[] = "\x1b[0m";

// Set once a colour has gone out, for the signal handler and the write
// failure, which may not go through the console itself.
volatile sig_atomic_t colour_sent = 0;

// Set while a progress line is drawn; read by the signal handler that erases it.
volatile sig_atomic_t line_drawn = 0;

// Standard output through the C library. Colours are the ANSI layer's work.
class StandardOutput : public Console {
 public:
  explicit StandardOutput(bool terminal) : terminal_(terminal) {}

  void write(std::string_view text) override {
    if (fwrite(text.data(), 1, text.size(), stdout) != text.size())
      fail();
    // A terminal shows progress lines as they come.
    if (terminal_)
      flush();
  }

  void set_colour(int) override {}

  void flush() override {
    if (fflush(stdout) != 0)
      fail();
  }

 private:
  // Exits at once, with the colours reset, if any were sent, by a last
  // attempt past the C library's stream.
  [[noreturn]] static void fail() {
    if (colour_sent)
      (void)!::write(STDOUT_FILENO, kReset, sizeof kReset - 1);
    error("cannot write to standard output");
    _exit(1);
  }

  bool terminal_;
};

class StandardConsole : public Console {
 public:
  StandardConsole()
      : output_(isatty(STDOUT_FILENO) != 0),
        ansi_(output_, terminal_settings(isatty(STDOUT_FILENO) != 0, getenv("NO_COLOR"),
                                         getenv("TERM"))) {}

  void write(std::string_view text) override { ansi_.write(text); }

  void set_colour(int attribute) override {
    ansi_.set_colour(attribute);
    colour_sent = ansi_.colour_sent();
  }

  void flush() override { ansi_.flush(); }
  void clear_to_end_of_line() override { ansi_.clear_to_end_of_line(); }

  void reset_colour() {
    ansi_.reset_colour();
    colour_sent = 0;
  }

 private:
  StandardOutput output_;
  AnsiConsole ansi_;
};

StandardConsole* the_console = nullptr;

// Resets the colours, when any were sent; otherwise exit is left as it was.
void restore_at_exit() {
  if (colour_sent)
    the_console->reset_colour();
}

// Resets the colours and erases the progress line with async-signal-safe
// writes, then lets the signal end the process as it would have.
void restore_on_signal(int signal_number) {
  if (colour_sent)
    (void)!::write(STDOUT_FILENO, kReset, sizeof kReset - 1);
  erase_progress_line();
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

// Handles `signal_number` with restore_on_signal, unless it is ignored (as
// SIGINT is for a background job) or already handled.
void restore_on(int signal_number) {
  struct sigaction action = {};
  if (sigaction(signal_number, nullptr, &action) != 0 || action.sa_handler != SIG_DFL)
    return;
  action.sa_handler = restore_on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(signal_number, &action, nullptr);
}

// Puts the terminals back at exit and on the signals that end a run early,
// when either standard output or standard error is a terminal.
void restore_terminals() {
  if (!isatty(STDOUT_FILENO) && !isatty(STDERR_FILENO))
    return;
  atexit(restore_at_exit);
  for (int signal_number : {SIGINT, SIGTERM, SIGPIPE})
    restore_on(signal_number);
}

// Writes all of `text` to standard error, giving up on an error: the
// progress line is an aid, and a message that fails to show it is not worth one.
void write_to_stderr(std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written <= 0)
      return;
    text.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

Console& standard_console() {
  // The exit handler is registered once the console is made, so it runs
  // before the console is destroyed.
  static StandardConsole* console = [] {
    static StandardConsole made;
    the_console = &made;
    restore_terminals();
    return &made;
  }();
  return *console;
}

void set_binary_output() {}

bool progress_line_wanted(bool report_silent) {
  const char* term = getenv("TERM");
  if (!isatty(STDERR_FILENO) || (term && std::string_view(term) == "dumb"))
    return false;
  return report_silent || !isatty(STDOUT_FILENO);
}

// A carriage return and "\x1b[K" put the text over the line drawn before.
void draw_progress_line(std::string_view text) {
  clear_before_messages(erase_progress_line);
  write_to_stderr("\r" + std::string(text) + "\x1b[K");
  line_drawn = 1;
}

void erase_progress_line() {
  if (!line_drawn)
    return;
  line_drawn = 0;
  write_to_stderr("\r\x1b[K");
}

std::string to_oem(const std::string& text) { return text; }

std::string ansi_to_utf8(const std::string& text) { return text; }

ConsoleFacts console_facts() { return {}; }

void wait_for_enter() {}

void open_in_browser(const std::string&) {}

std::string documents_folder() { return ""; }
