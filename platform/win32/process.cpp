// The process on Windows: arguments from the wide command line, HIGH_PRIORITY_CLASS, QueryPerformanceCounter.
#include "platform/process.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/win32/wide.h"

namespace {

// Frees what CommandLineToArgvW allocated.
struct LocalFreer {
  void operator()(LPWSTR* memory) const { LocalFree(memory); }
};

}  // namespace

std::vector<std::string> program_arguments(int argc, char** argv) {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreer> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!wide)
    return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i)
    args.push_back(utf8_from_wide(wide.get()[i]));
  return args;
}

void raise_priority() { SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS); }

int64_t perf_counter_frequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

int64_t perf_counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}
