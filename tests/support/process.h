// Running a program and waiting for it, for the end-to-end tests; its environment; how its output ends lines.
#pragma once

#include <string>
#include <vector>

// Runs `args` (the program's path first, in UTF-8 on Windows as the programs
// take them) with standard input empty, standard
// output written to `stdout_path` and standard error to `stderr_path`, waits
// for it and returns its exit status; -1 when it cannot be started, and on
// POSIX 128 plus the signal number when a signal ended it.
int run_program(const std::vector<std::string>& args, const std::string& stdout_path,
                const std::string& stderr_path);

// What a program's standard output writes for a line feed: "\r\n" where it is
// in text mode (Windows), "\n" elsewhere.
const char* program_line_end();

// Sets the environment variable `name` to `value`, or removes it when `value`
// is null, for the programs that run_program starts from then on.
void set_environment(const char* name, const char* value);
