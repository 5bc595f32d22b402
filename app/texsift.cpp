// The run sequence of Texsift: set-up, banner, catalogue, and the selected search.
#include "app/texsift.h"

#include <climits>

#include "catalogue/catalogue.h"
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

bool is_help_argument(const std::string& arg) {
  return arg == "-h" || arg == "--help" || arg == "/?";
}

int run_texsift(const std::vector<std::string>& args, Console& console) {
  raise_priority();
  int64_t perf_frequency = perf_counter_frequency();
  print(console, "%s", kBanner);
  if (args.size() < 2 || is_help_argument(args[1])) {
    print(console, "%s", kUsage);
    return 0;
  }
  std::string game_root = with_trailing_separator(args[1]);
  uint8_t algorithm_flag = args.size() > 2 ? parse_algorithm_flag(args[2]) : 0;
  print(console, "Scanning path: '%s'\n", to_oem(game_root).c_str());
  if (!is_directory(game_root)) {
    console.flush();
    error("game root '%s' is not a directory", native_path(game_root).c_str());
    return 1;
  }
  const ConsoleReport report{console, perf_frequency, GamePaths{game_root.size()}};
  Catalogue catalogue = collect_textures(texture_root_of(game_root), report.paths, console);
  print(console, "\n--------------\n");
  run_search(algorithm_flag, game_root, catalogue, report);
  return 0;
}
