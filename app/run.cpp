// The run both programs share: the prologue before the search, the sinks of a search over files, and the page.
#include "app/run.h"

#include "page/page_model.h"
#include "page/page_output.h"
#include "platform/process.h"
#include "platform/console.h"
#include "text/console.h"
#include "platform/fs.h"
#include "report/file_records.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";

// Everything after the options: the game root checked, the --html folder
// checked, the catalogue collected.
std::optional<int> start_on_game_root(const Program& program, Run* run) {
  const std::string& game_root = run->game_root;
  if (!run->records())
    print(run->console, "%sScanning path: '%s'\n", kBanner,
          to_oem(to_shown_name(game_root)).c_str());
  if (const char* problem = game_root_problem(game_root)) {
    run->console.flush();
    error("game root '%s' %s", native_path(to_shown_name(game_root)).c_str(), problem);
    return 1;
  }
  if (!run->line.html.empty() && !check_html_option(run->line.html, game_root, &run->page_dir))
    return 2;
  run->paths = game_paths_of(game_root);
  run->catalogue = collect_textures(texture_root_of(game_root), run->paths,
                                    run->report_console(), program.rules);
  run->console.flush();
  warn_if_no_textures(run->catalogue, game_root);
  return std::nullopt;
}

}  // namespace

std::optional<int> start_run(const Program& program, const std::vector<std::string>& args,
                             Run* run) {
  run->line = parse_command_line(args);
  const CommandLine& line = run->line;
  if (std::optional<int> status = status_before_running(line, program.name, run->console))
    return status;
  if (program.raises_priority)
    raise_priority();
  run->perf_start = perf_counter();
  run->perf_frequency = perf_counter_frequency();
  // The game root, counted after the options; anything else asks for help.
  const size_t most_operands = program.takes_flag ? line.operands.size() : 1;
  if (line.help || line.operands.empty() || line.operands.size() > most_operands) {
    print(run->console, "%s%s%s", kBanner, program.usage, line.help ? help_list().c_str() : "");
    return 0;
  }
  run->game_root = with_trailing_separator(line.operands[0]);
  return start_on_game_root(program, run);
}

std::optional<Page> start_page(const Program& program, const Run& run) {
  if (run.line.html.empty())
    return std::nullopt;
  return catalogue_page(program.name, run.catalogue, run.paths);
}

void search_per_file(Run& run, EntryFilter filter, const NameRule& rule, FileReport& lines,
                     bool list_files, Page* page) {
  const RecordReport record_report = run.record_report();
  FileRecords records(record_report, run.catalogue.names, run.catalogue.textures.size());
  FileReport& report = run.records() ? static_cast<FileReport&>(records) : lines;
  report.begin();
  search_tree(run.game_root, filter, rule, [&](const FileResult& result) {
    report.on_file(result);
    if (page)
      add_file_result(result, run.catalogue, run.paths, list_files, page);
  });
  report.end();
}

int finish_run(Run& run, Page* page) {
  if (!page)
    return 0;
  run.console.flush();
  return write_html_page(run.page_dir, run.game_root, run.catalogue, page) ? 0 : 1;
}

int program_main(int argc, char** argv, const char* name,
                 int (*run)(const std::vector<std::string>& args, Console& console)) {
  set_program_name(name);
  std::vector<std::string> args = program_arguments(argc, argv);
  if (parse_command_line(args).format != ReportFormat::kConsole)
    set_binary_output();
  int status = run(args, standard_console());
  standard_console().flush();
  return status;
}
