// Entry point of Texsift.
#include <string>
#include <vector>

#include "app/texsift.h"
#include "app/command_line.h"
#include "platform/process.h"
#include "platform/console.h"
#include "text/console.h"

int main(int argc, char** argv) {
  set_program_name("Texsift");
  std::vector<std::string> args = program_arguments(argc, argv);
  // Records are the same bytes on every platform: no CR before each LF.
  if (parse_command_line(args).format != ReportFormat::kConsole)
    set_binary_output();
  int status = run_texsift(args, standard_console());
  standard_console().flush();
  return status;
}
