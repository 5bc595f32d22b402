// What both programs do around their search: the command line, the banner, the game root, the catalogue, and the sinks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "catalogue/catalogue.h"
#include "page/page_dir.h"
#include "page/page_model.h"
#include "platform/console.h"
#include "text/console.h"
#include "report/console_report.h"
#include "report/file_records.h"
#include "search/file_search.h"

// What sets one program's run apart from the other's.
struct Program {
  const char* name;          // "Texsift": in --version and the page
  const char* usage;         // the usage text after the banner
  bool takes_flag;           // a further operand (the algorithm flag) may follow the game root
  bool raises_priority;      // the process runs at high priority
  TextureRules rules;        // which files of the texture tree are textures
};

// One run, once its game root is known.
struct Run {
  explicit Run(Console& standard) : console(standard) {}

  // The console the console report goes to: none while records are written.
  Console& report_console() { return records() ? quiet : console; }
  bool records() const { return line.format != ReportFormat::kConsole; }
  ConsoleReport console_report() { return {report_console(), perf_frequency, paths}; }
  RecordReport record_report() const {
    return {line.format, console, paths, perf_start, perf_frequency};
  }

  CommandLine line;
  Console& console;
  QuietConsole quiet;
  int64_t perf_start = 0;
  int64_t perf_frequency = 0;
  std::string game_root;  // ending in a separator
  GamePaths paths;
  PageDir page_dir;       // checked, when --html asks for a page
  Catalogue catalogue;
};

// Everything before the search: reads `args` (the program name first),
// prints the banner and "Scanning path" (the console report only), checks
// the game root and the --html folder, and collects the catalogue. Returns
// the exit status when the run ends there: 0 after the usage text (no game
// root, or --help) or the version, 1 when the game root does not exist or is
// not a directory, 2 for wrong options or a refused --html folder (with an
// error on standard error).
std::optional<int> start_run(const Program& program, const std::vector<std::string>& args,
                             Run* run);

// The page of the run, each texture in catalogue order with nothing found
// yet, when --html asks for one.
std::optional<Page> start_page(const Program& program, const Run& run);

// Searches the files of the game tree with `filter` and `rule`, and hands
// each file's result to the run's report: `lines` for the console report,
// the per-file records otherwise, and to `page`, when there is one, listing
// the file there when `list_files`. With `passed_over`, the walk lists there
// the files it names (see PassedOver).
void search_per_file(Run& run, EntryFilter filter, const NameRule& rule, FileReport& lines,
                     bool list_files, Page* page, PassedOver* passed_over = nullptr);

// Writes `page`, when there is one, to the checked folder. The exit status:
// 0, or 1 when the page cannot be written (with an error on standard error).
int finish_run(Run& run, Page* page);

// What a run adds when the program was started from Explorer, which closes
// the program's window as soon as it ends.
enum class ExplorerRun {
  kNone,   // started otherwise: the run as it is
  kUsage,  // no argument: the usage text, how to use the program, a wait for Enter
  kPage,   // one argument, not an option: the run, its page in the user's
           // Documents, opened in the browser, and a wait for Enter
  kWait,   // other arguments: the run and a wait for Enter
};

// What `facts` and `args` (the program name first) ask for. A program is
// started from Explorer when it is the only process on its console and
// standard input and output are that console; so is one that another
// program starts in a console of its own.
ExplorerRun explorer_run(const ConsoleFacts& facts, const std::vector<std::string>& args);

// The page folder of a run of `program` started from Explorer on
// `game_root`: "<documents>\<program>\<the game folder's name>", its
// separators native; the game folder's name is the last part of its real
// path (of `game_root` itself when it has none), a drive's colon dropped,
// and "game" when nothing is left. Empty when `documents` is.
std::string explorer_page_folder(const std::string& documents, const char* program,
                                 const std::string& game_root);

// The entry point of the program `name`: reads its arguments, makes standard
// output write records byte for byte (no CR before each LF), runs `run` on the
// standard console and returns its exit status. Started from Explorer (see
// explorer_run), it also prints how to use it after the usage text, or
// writes the page to explorer_page_folder, says where it is and opens it in
// the browser; then, whatever happened, it waits for Enter.
int program_main(int argc, char** argv, const char* name,
                 int (*run)(const std::vector<std::string>& args, Console& console));
