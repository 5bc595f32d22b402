// Entry point of Texsift-compact.
#include <string>
#include <vector>

#include "compact/compact.h"
#include "platform/console.h"
#include "platform/diagnostics.h"

int main(int argc, char** argv) {
  set_program_name("Texsift-compact");
  std::vector<std::string> args(argv, argv + argc);
  int status = run_compact(args, standard_console());
  standard_console().flush();
  return status;
}
