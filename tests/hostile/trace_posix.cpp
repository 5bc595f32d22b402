// A small ptrace loop that stops a program, any of its threads, at each openat and first read of a file.
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
// path, and which have been read. Descriptors are the process's, shared by
// its threads; what a system call is doing is each thread's own.
class Tracee {
 public:
  explicit Tracee(const FileHook& hook) : hook_(hook) {}

  void on_stop(pid_t tid) {
    __ptrace_syscall_info info{};
    if (ptrace(PTRACE_GET_SYSCALL_INFO, tid, reinterpret_cast<void*>(sizeof info), &info) <= 0)
      return;
    if (info.op == PTRACE_SYSCALL_INFO_ENTRY)
      on_entry(tid, info.entry.nr, info.entry.args);
    else if (info.op == PTRACE_SYSCALL_INFO_EXIT)
      on_exit(tid, info.exit.rval);
  }

 private:
  struct Call {
    uint64_t entered = 0;
    std::string opening;
  };

  void on_entry(pid_t tid, uint64_t nr, const uint64_t* args) {
    Call& call = calls_[tid];
    call.entered = nr;
    if (nr == SYS_openat) {
      call.opening = read_string(tid, args[1]);
      hook_(FileEvent::kOpen, call.opening);
    } else if ((nr == SYS_read || nr == SYS_pread64) && paths_.count(static_cast<int>(args[0])) &&
               read_.insert(static_cast<int>(args[0])).second) {
      hook_(FileEvent::kFirstRead, paths_[static_cast<int>(args[0])]);
    } else if (nr == SYS_close) {
      paths_.erase(static_cast<int>(args[0]));
      read_.erase(static_cast<int>(args[0]));
    }
  }

  void on_exit(pid_t tid, int64_t result) {
    Call& call = calls_[tid];
    if (call.entered == SYS_openat && result >= 0)
      paths_[static_cast<int>(result)] = call.opening;
  }

  const FileHook& hook_;
  std::map<pid_t, Call> calls_;
  std::map<int, std::string> paths_;
  std::set<int> read_;
};

// Sets the tracing options on the stopped child `pid`: system-call stops
// told apart from signals, its threads traced too, and killed with the tracer.
bool set_options(pid_t pid) {
  long options = PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL | PTRACE_O_TRACEEXEC |
                 PTRACE_O_TRACECLONE;
  return ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(options)) == 0;
}

int trace(pid_t pid, const FileHook& hook) {
  int status = 0;
  waitpid(pid, &status, 0);  // the child's own SIGSTOP
  if (!WIFSTOPPED(status) || !set_options(pid)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  Tracee tracee(hook);
  std::set<pid_t> known{pid};
  ptrace(PTRACE_SYSCALL, pid, nullptr, nullptr);
  for (;;) {
    pid_t tid = waitpid(-1, &status, __WALL);
    if (tid < 0)
      return -1;
    if (WIFEXITED(status) || WIFSIGNALED(status)) {
      if (tid == pid)
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      continue;
    }
    int stop = WSTOPSIG(status);
    int signal = 0;
    bool first_stop = known.insert(tid).second;  // a new thread starts with a SIGSTOP of its own
    if (stop == (SIGTRAP | 0x80))
      tracee.on_stop(tid);
    else if ((status >> 16) == 0 && stop != SIGTRAP && !(first_stop && stop == SIGSTOP))
      signal = stop;  // a real signal, delivered as it came
    ptrace(PTRACE_SYSCALL, tid, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(signal)));
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
