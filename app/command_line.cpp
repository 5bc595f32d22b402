// Reading the options that come before the game root.
#include "app/command_line.h"

#include <algorithm>
#include <cstring>

#include "text/console.h"

namespace {

// One line of help_list: an option, or the environment variable, and what it does.
struct HelpLine {
  const char* item;
  const char* meaning;
};

const HelpLine kHelpLines[] = {
    {"--help, -h, /?", "print this help and exit"},
    {"--version", "print the program's version and exit"},
    {"--json", "write JSON Lines records instead of the console report"},
    {"--csv", "write CSV rows instead of the console report"},
    {"--html DIR", "also write a page with thumbnails to DIR (outside the game tree)"},
    {"TEXSIFT_THREADS=N", "search files on N threads, 1 to 1024 (default: one per core)"},
};

// Keeps the first error found: it is the one reported.
void fail(CommandLine* line, const std::string& error) {
  if (line->error.empty())
    line->error = error;
}

void choose_format(CommandLine* line, ReportFormat format) {
  if (line->format != ReportFormat::kConsole && line->format != format)
    fail(line, "options '--json' and '--csv' cannot be given together");
  line->format = format;
}

void choose_html(CommandLine* line, const std::string& dir) {
  if (dir.empty())
    fail(line, "option '--html' needs a folder");
  else if (!line->html.empty())
    fail(line, "option '--html' given twice");
  line->html = dir;
}

// Applies the option `arg` to `line`.
void apply_option(CommandLine* line, const std::string& arg) {
  if (arg.starts_with("--html="))
    choose_html(line, arg.substr(7));
  else if (arg == "--help" || arg == "-h" || arg == "/?")
    line->help = true;
  else if (arg == "--version")
    line->version = true;
  else if (arg == "--json")
    choose_format(line, ReportFormat::kJson);
  else if (arg == "--csv")
    choose_format(line, ReportFormat::kCsv);
  else
    fail(line, "unknown option '" + arg + "'");
}

// True for an argument that the options take for theirs.
bool is_option(const std::string& arg) {
  return arg.starts_with("--") || arg == "-h" || arg == "/?";
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
  CommandLine line;
  size_t i = 1;
  while (i < args.size() && is_option(args[i])) {
    if (args[i++] == "--")
      break;
    if (args[i - 1] == "--html")
      choose_html(&line, i < args.size() ? args[i++] : "");
    else
      apply_option(&line, args[i - 1]);
  }
  if (i < args.size())
    line.operands.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return line;
}

std::string help_list() {
  size_t width = 0;
  for (const HelpLine& line : kHelpLines)
    width = std::max(width, strlen(line.item));
  std::string list = "\n";
  for (const HelpLine& line : kHelpLines) {
    std::string item = line.item;
    list += "  " + item + std::string(width + 2 - item.size(), ' ') + line.meaning + "\n";
  }
  return list;
}

std::optional<int> status_before_running(const CommandLine& line, const char* program,
                                         Console& console) {
  if (!line.error.empty()) {
    error("%s", line.error.c_str());
    return 2;
  }
  if (line.version && !line.help) {
    print(console, "%s %s\n", program, TEXSIFT_VERSION);
    return 0;
  }
  return std::nullopt;
}
