// Running a program under ptrace, stopped at its opens and first reads of files, so a test can change a file at that moment.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What a traced program is about to do with a file.
enum class FileEvent {
  kOpen,       // open it (the file is listed, not yet opened)
  kFirstRead,  // read it for the first time (opened, its size taken)
};

// Called with the program stopped just before `event` on the file at `path`
// (the path as the program passes it to the system).
using FileHook = std::function<void(FileEvent event, const std::string& path)>;

// Runs `args` (the program's path first) with standard input empty and
// standard output and error written to `stdout_path` and `stderr_path`,
// calling `hook` before every open of a file and before the first read of
// each file it opened, and waits for it. Returns the exit status, 128 plus
// the signal number when a signal ended it, or -1 when the program cannot be
// traced here (ptrace refused).
int run_traced(const std::vector<std::string>& args, const std::string& stdout_path,
               const std::string& stderr_path, const FileHook& hook);
