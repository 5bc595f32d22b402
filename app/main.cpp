// Entry point of Texsift.
#include <string>
#include <vector>

#include "app/texsift.h"
#include "platform/console.h"
#include "platform/diagnostics.h"

int main(int argc, char** argv) {
  set_program_name("Texsift");
  std::vector<std::string> args(argv, argv + argc);
  int status = run_texsift(args, standard_console());
  standard_console().flush();
  return status;
}
