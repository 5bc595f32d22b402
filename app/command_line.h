// The options both programs take before the game root, and the arguments that follow them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/file_records.h"

class Console;

// The command line, read.
struct CommandLine {
  ReportFormat format = ReportFormat::kConsole;
  bool help = false;                  // --help, -h or /?
  bool version = false;               // --version
  std::string html;                   // --html DIR: the folder of the page; empty without it
  std::vector<std::string> operands;  // the arguments after the options: game root, flag...
  std::string error;                  // why the options are wrong; empty when they are right
};

// Reads `args` (the program name first). Options come first: "--help",
// "--version", "--json", "--csv", "--html DIR" (or "--html=DIR"), and "-h" and
// "/?" for help. The first other
// argument, or "--" (which is dropped), ends them. An unknown argument that
// begins with "--", and "--json" with "--csv", set `error`.
CommandLine parse_command_line(const std::vector<std::string>& args);

// The list that --help prints after the usage text, the same for both
// programs: a blank line, then one line per option and one for the
// environment variable TEXSIFT_THREADS, each saying what it does.
std::string help_list();

// Ends the run of `program` ("Texsift") before any work when `line` asks it
// to: after a wrong option, with an error on standard error and status 2;
// for "--version" without "--help", with "<program> <version>" on `console`
// and status 0. None when the run goes on.
std::optional<int> status_before_running(const CommandLine& line, const char* program,
                                         Console& console);
