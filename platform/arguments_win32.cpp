// The arguments from the wide command line, split by CommandLineToArgvW.
#include "platform/arguments.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/wide_win32.h"

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
