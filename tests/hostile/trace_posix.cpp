// A small ptrace loop that stops a program at each openat and at the first read of each file it opened.
#include "hostile/trace_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>

namespace {

// Replaces the forked child with the program, traced and with its output redirected.
[[noreturn]] void exec_traced(const std::vector<char*>& argv, const std::vector<char*>& envp,
                              const std::string& stdout_path, const std::string& stderr_path) {
  int in = open("/dev/null", O_RDONLY);
  int out = open(stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = open(stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
    _exit(126);
  if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
    _exit(125);
  raise(SIGSTOP);  // lets the tracer set its options before the exec
  execve(argv[0], argv.data(), envp.data());
  _exit(127);
}

// The environment for the traced program: the sanitizer's leak check needs
// ptrace itself, which a traced process cannot have, so it is turned off.
std::vector<std::string> traced_environment() {
  std::vector<std::string> env;
  for (char** each = environ; *each; ++each)
    if (std::string(*each).rfind("ASAN_OPTIONS=", 0) != 0)
      env.push_back(*each);
  const char* asan = getenv("ASAN_OPTIONS");
  env.push_back(std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":detect_leaks=0");
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (std::string& each : strings)
    result.push_back(each.data());
  result.push_back(nullptr);
  return result;
}

// The zero-terminated string at `address` in the memory of `pid`.
std::string read_string(pid_t pid, uint64_t address) {
  std::string text;
  int mem = open(("/proc/" + std::to_string(pid) + "/mem").c_str(), O_RDONLY);
  if (mem < 0)
    return text;
  char chunk[64];
  for (;;) {
    ssize_t got = pread(mem, chunk, sizeof chunk, static_cast<off_t>(address + text.size()));
    if (got <= 0)
      break;
    std::string_view part(chunk, static_cast<size_t>(got));
    size_t end = part.find('\0');
    text += part.substr(0, end);
    if (end != std::string_view::npos)
      break;
  }
  close(mem);
  return text;
}

// The state of the traced program's files: which descriptors name which
// path, and which have been read.
class Tracee {
 public:
  Tracee(pid_t pid, const FileHook& hook) : pid_(pid), hook_(hook) {}

  void on_stop() {
    __ptrace_syscall_info info{};
    if (ptrace(PTRACE_GET_SYSCALL_INFO, pid_, reinterpret_cast<void*>(sizeof info), &info) <= 0)
      return;
    if (info.op == PTRACE_SYSCALL_INFO_ENTRY)
      on_entry(info.entry.nr, info.entry.args);
    else if (info.op == PTRACE_SYSCALL_INFO_EXIT)
      on_exit(info.exit.rval);
  }

 private:
  void on_entry(uint64_t nr, const uint64_t* args) {
    entered_ = nr;
    if (nr == SYS_openat) {
      opening_ = read_string(pid_, args[1]);
      hook_(FileEvent::kOpen, opening_);
    } else if (nr == SYS_read && paths_.count(static_cast<int>(args[0])) &&
               read_.insert(static_cast<int>(args[0])).second) {
      hook_(FileEvent::kFirstRead, paths_[static_cast<int>(args[0])]);
    } else if (nr == SYS_close) {
      paths_.erase(static_cast<int>(args[0]));
      read_.erase(static_cast<int>(args[0]));
    }
  }

  void on_exit(int64_t result) {
    if (entered_ == SYS_openat && result >= 0)
      paths_[static_cast<int>(result)] = opening_;
  }

  pid_t pid_;
  const FileHook& hook_;
  uint64_t entered_ = 0;
  std::string opening_;
  std::map<int, std::string> paths_;
  std::set<int> read_;
};

// Resumes `pid` to its next system call, passing on `signal`; waits for the
// next stop and returns the wait status.
int resume(pid_t pid, int signal) {
  ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(signal)));
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

int trace(pid_t pid, const FileHook& hook) {
  int status = 0;
  waitpid(pid, &status, 0);  // the child's own SIGSTOP
  if (!WIFSTOPPED(status) ||
      ptrace(PTRACE_SETOPTIONS, pid, nullptr,
             reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL |
                                     PTRACE_O_TRACEEXEC)) != 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  Tracee tracee(pid, hook);
  int signal = 0;
  for (;;) {
    status = resume(pid, signal);
    signal = 0;
    if (WIFEXITED(status))
      return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
      return 128 + WTERMSIG(status);
    if (WSTOPSIG(status) == (SIGTRAP | 0x80))
      tracee.on_stop();
    else if (WSTOPSIG(status) != SIGTRAP)
      signal = WSTOPSIG(status);  // a real signal, delivered as it came
  }
}

}  // namespace

int run_traced(const std::vector<std::string>& args, const std::string& stdout_path,
               const std::string& stderr_path, const FileHook& hook) {
  std::vector<std::string> arg_strings = args;
  std::vector<std::string> env_strings = traced_environment();
  std::vector<char*> argv = pointers(arg_strings);
  std::vector<char*> envp = pointers(env_strings);
  pid_t pid = fork();
  if (pid < 0)
    return -1;
  if (pid == 0)
    exec_traced(argv, envp, stdout_path, stderr_path);
  int status = trace(pid, hook);
  return status == 125 ? -1 : status;
}
