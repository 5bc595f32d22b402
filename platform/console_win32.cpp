// Standard output as a Win32 console: colours through the console API, given back at exit.
#include "platform/console.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/diagnostics.h"
#include "platform/progress.h"

namespace {

class StandardConsole : public Console {
 public:
  StandardConsole()
      : interactive_(_isatty(_fileno(stdout)) != 0), handle_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    is_console_ = GetConsoleScreenBufferInfo(handle_, &info) != 0;
    original_attributes_ = is_console_ ? info.wAttributes : 0;
  }

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
    SetConsoleTextAttribute(handle_, static_cast<WORD>(attribute));
  }

  void flush() override {
    if (fflush(stdout) != 0)
      fail();
  }

  // Fills the rest of the line with blanks in the current colour; the cursor
  // stays where it is.
  void clear_to_end_of_line() override {
    if (!is_console_)
      return;
    flush();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(handle_, &info) || info.dwCursorPosition.X >= info.dwSize.X)
      return;
    auto count = static_cast<DWORD>(info.dwSize.X - info.dwCursorPosition.X);
    DWORD written = 0;
    FillConsoleOutputCharacterA(handle_, ' ', count, info.dwCursorPosition, &written);
    FillConsoleOutputAttribute(handle_, info.wAttributes, count, info.dwCursorPosition, &written);
  }

  // Gives the console back the attributes it had at the start of the run,
  // when a colour has been set since.
  void restore() {
    if (is_console_ && attribute_ != -1)
      SetConsoleTextAttribute(handle_, original_attributes_);
  }

 private:
  [[noreturn]] static void fail() {
    error("cannot write to standard output");
    _exit(1);
  }

  bool interactive_;
  HANDLE handle_;
  bool is_console_ = false;
  WORD original_attributes_ = 0;
  int attribute_ = -1;  // the colour in force; none set yet
};

StandardConsole* the_console = nullptr;

void restore_at_exit() { the_console->restore(); }

// Ctrl+C and Ctrl+Break end the process on this handler's return; the
// console is put back first.
BOOL WINAPI restore_on_break(DWORD) {
  the_console->restore();
  erase_progress_line();
  return FALSE;
}

}  // namespace

Console& standard_console() {
  // The exit handler is registered once the console is made, so it runs
  // before the console is destroyed.
  static StandardConsole* console = [] {
    static StandardConsole made;
    the_console = &made;
    atexit(restore_at_exit);
    SetConsoleCtrlHandler(restore_on_break, TRUE);
    return &made;
  }();
  return *console;
}
