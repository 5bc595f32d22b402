// The run sequence of Texsift-compact: banner, catalogue and the one search over files.
#include "app/compact.h"

#include "app/command_line.h"
#include "report/file_records.h"
#include "search/game_root.h"
#include "catalogue/catalogue.h"
#include "report/compact_report.h"
#include "page/page_files.h"
#include "page/page_output.h"
#include "platform/console.h"
#include "text/console.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] = "Usage: Texsift.EXE C:\\KORVAN1\\\n";

// Everything after the options: the game root checked, the catalogue, the
// search. A machine-readable report leaves out the banner and the progress.
int run_on_game_root(const CommandLine& line, const std::string& game_root, Console& console,
                     int64_t perf_start) {
  const bool records = line.format != ReportFormat::kConsole;
  if (!records)
    print(console, "%sScanning path: '%s'\n", kBanner, to_oem(to_shown_name(game_root)).c_str());
  if (const char* problem = game_root_problem(game_root)) {
    console.flush();
    error("game root '%s' %s", native_path(to_shown_name(game_root)).c_str(), problem);
    return 1;
  }
  PageDir page_dir;
  if (!line.html.empty() && !check_html_option(line.html, game_root, &page_dir))
    return 2;
  const GamePaths paths = game_paths_of(game_root);
  QuietConsole quiet;
  Catalogue catalogue = collect_textures(texture_root_of(game_root), paths,
                                         records ? quiet : console, kCompactTextureRules);
  console.flush();
  warn_if_no_textures(catalogue, game_root);
  // The page, when asked for, lists every file searched and the names in it.
  Page page = catalogue_page("Texsift-compact", catalogue, paths);
  page.choice = false;
  page.has_files = true;
  ResultSink page_sink;
  if (!line.html.empty())
    page_sink = [&](const FileResult& result) {
      add_file_result(result, catalogue, paths, true, &page);
    };
  if (records) {
    const RecordReport report{line.format, console, paths, perf_start, perf_counter_frequency()};
    compact_record_files(game_root, catalogue, report, page_sink);
  } else {
    print(console, "\n--------------\n");
    compact_search_files(game_root, catalogue, paths, console, page_sink);
  }
  if (line.html.empty())
    return 0;
  console.flush();
  return write_html_page(page_dir, game_root, &page) ? 0 : 1;
}

}  // namespace

int run_compact(const std::vector<std::string>& args, Console& console) {
  CommandLine line = parse_command_line(args);
  if (std::optional<int> status = status_before_running(line, "Texsift-compact", console))
    return *status;
  int64_t perf_start = perf_counter();
  // Exactly one game root, counted after the options; anything else asks for help.
  if (line.help || line.operands.size() != 1) {
    print(console, "%s%s%s", kBanner, kUsage, line.help ? help_list().c_str() : "");
    return 0;
  }
  return run_on_game_root(line, with_trailing_separator(line.operands[0]), console, perf_start);
}
