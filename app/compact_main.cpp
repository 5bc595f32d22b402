// Entry point of Texsift-compact.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/compact.h"
#include "platform/process.h"
#include "platform/console.h"
#include "text/console.h"

int main(int argc, char** argv) {
  set_program_name("Texsift-compact");
  std::vector<std::string> args = program_arguments(argc, argv);
  // Records are the same bytes on every platform: no CR before each LF.
  if (parse_command_line(args).format != ReportFormat::kConsole)
    set_binary_output();
  int status = run_compact(args, standard_console());
  standard_console().flush();
  return status;
}
