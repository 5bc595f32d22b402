// Running a program with CreateProcessW, its arguments given in UTF-8, and redirected output.
#include "support/process.h"

#include <windows.h>

namespace {

// RAII over a kernel handle.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr)
      CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE open_inheritable(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &security, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// One argument quoted as the C runtime splits a command line.
std::string quote(const std::string& arg) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

// `text`, in UTF-8, as wide characters.
std::wstring wide(const std::string& text) {
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      length);
  return result;
}

}  // namespace

int run_program(const std::vector<std::string>& args, const std::string& stdout_path,
                const std::string& stderr_path) {
  Handle input(open_inheritable("NUL", GENERIC_READ, OPEN_EXISTING));
  Handle output(open_inheritable(stdout_path, GENERIC_WRITE, CREATE_ALWAYS));
  Handle errors(open_inheritable(stderr_path, GENERIC_WRITE, CREATE_ALWAYS));
  std::string command_line;
  for (const std::string& arg : args) {
    if (!command_line.empty())
      command_line += ' ';
    command_line += quote(arg);
  }
  std::wstring wide_command_line = wide(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = output.get();
  startup.hStdError = errors.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide_command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process))
    return -1;
  Handle process_handle(process.hProcess);
  Handle thread_handle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}

const char* program_line_end() { return "\r\n"; }

void set_environment(const char* name, const char* value) {
  SetEnvironmentVariableA(name, value);
}
