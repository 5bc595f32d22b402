// Standard output and standard error on a Win32 console: colours through the console API, given back at exit; the progress line blanked over; ANSI, OEM and UTF-8 conversions.
#include "platform/console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/win32/wide.h"

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

// The length of the progress line drawn; 0 when none is.
size_t drawn_length = 0;

bool is_console(DWORD std_handle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(std_handle), &mode) != 0;
}

void write_to_stderr(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stderr);
  fflush(stderr);
}

// `text` in UTF-16; false when it holds a byte the ANSI code page does not map.
bool ansi_to_wide(const std::string& text, std::wstring* wide) {
  const int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0)
    return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide->data(),
                             length) == length;
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

// Out of the C runtime's text mode.
void set_binary_output() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool progress_line_wanted(bool report_silent) {
  return is_console(STD_ERROR_HANDLE) && (report_silent || !is_console(STD_OUTPUT_HANDLE));
}

// A carriage return, and blanks over what the line drawn before left.
void draw_progress_line(std::string_view text) {
  clear_before_messages(erase_progress_line);
  std::string line = "\r" + std::string(text);
  if (text.size() < drawn_length)
    line.append(drawn_length - text.size(), ' ');
  write_to_stderr(line);
  drawn_length = text.size();
}

void erase_progress_line() {
  if (drawn_length == 0)
    return;
  write_to_stderr("\r" + std::string(drawn_length, ' ') + "\r");
  drawn_length = 0;
}

std::string to_oem(const std::string& text) {
  // The conversion maps one byte to one byte, so a buffer of the same size holds it.
  std::string oem(text.size() + 1, '\0');
  CharToOemA(text.c_str(), oem.data());
  oem.resize(text.size());
  return oem;
}

// Through UTF-16: the wide text of a mapped ANSI string holds no unpaired
// surrogate, so utf8_from_wide writes plain UTF-8.
std::string ansi_to_utf8(const std::string& text) {
  std::wstring wide;
  if (text.empty() || !ansi_to_wide(text, &wide))
    return text;
  return utf8_from_wide(wide);
}

ConsoleFacts console_facts() {
  const char* forced = getenv("TEXSIFT_EXPLORER");
  if (forced && std::string_view(forced) == "1")
    return {1, true, true};
  DWORD processes[4];
  return {GetConsoleProcessList(processes, 4), is_console(STD_INPUT_HANDLE),
          is_console(STD_OUTPUT_HANDLE)};
}

void wait_for_enter() {
  if (is_console(STD_INPUT_HANDLE))
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
  for (int c = getchar(); c != EOF && c != '\n';)
    c = getchar();
}

void open_in_browser(const std::string& path) {
  if (const char* log = getenv("TEXSIFT_BROWSER_LOG")) {
    if (FILE* file = fopen(log, "ab")) {
      fprintf(file, "%s\n", path.c_str());
      fclose(file);
    }
    return;
  }
  ShellExecuteW(nullptr, L"open", wide_from_utf8(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string documents_folder() {
  if (const wchar_t* documents = _wgetenv(L"TEXSIFT_DOCUMENTS"))
    return utf8_from_wide(documents);
  PWSTR path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path) == S_OK)
    folder = utf8_from_wide(path);
  CoTaskMemFree(path);
  return folder;
}
