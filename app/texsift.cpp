// The run sequence of Texsift: set-up, banner, catalogue, and the selected search.
#include "app/texsift.h"

#include <climits>

#include "catalogue/catalogue.h"
#include "common/command_line.h"
#include "common/file_records.h"
#include "common/game_root.h"
#include "platform/console.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/oem.h"
#include "platform/priority.h"
#include "platform/timer.h"
#include "search/console_report.h"
#include "search/per_file.h"
#include "search/per_texture.h"
#include "search/record_report.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] =
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n"
    "\tflag = 0 or 1, type of search algorithm\n";

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Runs the search the flag selects over `game_root`.
void run_search(uint8_t algorithm_flag, const std::string& game_root,
                const Catalogue& catalogue, const ConsoleReport& report) {
  if (algorithm_flag != 0) {
    print(report.console, "algorithm #2 selected\n");
    search_files(game_root, catalogue, report);
  } else {
    print(report.console, "algorithm #1 selected (slower)\n");
    search_textures(game_root, catalogue, report);
  }
}

// One run's command line, console and start.
struct Run {
  const CommandLine& line;
  Console& console;
  int64_t perf_start;
  int64_t perf_frequency;
};

// The algorithm flag given after the game root; 0 when there is none.
uint8_t algorithm_flag_of(const CommandLine& line) {
  return line.operands.size() > 1 ? parse_algorithm_flag(line.operands[1]) : 0;
}

// Writes the report that the format and the flag select.
void write_report(const Run& run, const std::string& game_root, const Catalogue& catalogue,
                  const ConsoleReport& report) {
  uint8_t algorithm_flag = algorithm_flag_of(run.line);
  if (run.line.format == ReportFormat::kConsole) {
    print(report.console, "\n--------------\n");
    run_search(algorithm_flag, game_root, catalogue, report);
    return;
  }
  const RecordReport records{run.line.format, run.console, report.paths, run.perf_start,
                             run.perf_frequency};
  if (algorithm_flag != 0)
    record_files(game_root, catalogue, records);
  else
    record_textures(game_root, catalogue, records);
}

// Everything after the options: the game root checked, the catalogue, the
// report. A machine-readable report leaves out the banner and the progress.
int run_on_game_root(const Run& run, const std::string& game_root) {
  const bool records = run.line.format != ReportFormat::kConsole;
  if (!records)
    print(run.console, "%sScanning path: '%s'\n", kBanner,
          to_oem(to_shown_name(game_root)).c_str());
  if (const char* problem = game_root_problem(game_root)) {
    run.console.flush();
    error("game root '%s' %s", native_path(to_shown_name(game_root)).c_str(), problem);
    return 1;
  }
  QuietConsole quiet;
  const ConsoleReport report{records ? quiet : run.console, run.perf_frequency,
                             game_paths_of(game_root)};
  Catalogue catalogue = collect_textures(texture_root_of(game_root), report.paths, report.console);
  run.console.flush();
  warn_if_no_textures(catalogue, game_root);
  write_report(run, game_root, catalogue, report);
  return 0;
}

}  // namespace

uint8_t parse_algorithm_flag(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && is_space(text[i]))
    ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+'))
    ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    value = INT_MAX;
  return static_cast<uint8_t>(static_cast<unsigned long long>(value) & 0xff);
}

int run_texsift(const std::vector<std::string>& args, Console& console) {
  CommandLine line = parse_command_line(args);
  if (std::optional<int> status = status_before_running(line, "Texsift", console))
    return *status;
  raise_priority();
  const Run run{line, console, perf_counter(), perf_counter_frequency()};
  if (line.help || line.operands.empty()) {
    print(console, "%s%s%s", kBanner, kUsage, line.help ? help_list().c_str() : "");
    return 0;
  }
  return run_on_game_root(run, with_trailing_separator(line.operands[0]));
}
