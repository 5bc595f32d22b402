// The run both programs share: the prologue before the search, the sinks of a search over files, and the page.
#include "app/run.h"

#include "page/page_model.h"
#include "page/page_output.h"
#include "platform/process.h"
#include "platform/console.h"
#include "text/console.h"
#include "platform/fs.h"
#include "report/file_records.h"
#include "search/game_root.h"

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

// `args`, the program and one game root, with `page_folder` given to --html.
std::vector<std::string> with_page_folder(const std::vector<std::string>& args,
                                          const std::string& page_folder) {
  return {args[0], "--html", page_folder, "--", args[1]};
}

// What a run started from Explorer shows after its own output, before the
// window closes: how to use the program, or where the page is (opened in the
// browser), and the wait for Enter.
void end_in_window(ExplorerRun explorer, const char* name, const std::string& page_folder,
                   int status, Console& console) {
  if (explorer == ExplorerRun::kNone)
    return;
  if (explorer == ExplorerRun::kUsage)
    print(console, "\nDrag the game's folder onto %s.exe, or run it from a console.\n", name);
  if (explorer == ExplorerRun::kPage && status == 0) {
    const std::string index = with_trailing_separator(page_folder) + "index.html";
    print(console, "\nThe page is in %s\n", to_oem(to_shown_name(index)).c_str());
    open_in_browser(index);
  }
  // The arguments hold no option: a status of 2 is the page folder refused.
  if (explorer == ExplorerRun::kPage && status == 2)
    print(console, "\n%s writes its page there: move away what that folder holds, or run %s "
                   "from a console with --html and another folder.\n", name, name);
  print(console, "\nPress Enter to close this window.\n");
  console.flush();
  wait_for_enter();
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
                     bool list_files, Page* page, PassedOver* passed_over) {
  const RecordReport record_report = run.record_report();
  FileRecords records(record_report, run.catalogue.names, run.catalogue.textures.size());
  FileReport& report = run.records() ? static_cast<FileReport&>(records) : lines;
  report.begin();
  search_tree(run.game_root, filter, rule, [&](const FileResult& result) {
    report.on_file(result);
    if (page)
      add_file_result(result, run.catalogue, run.paths, list_files, page);
  }, SinkOutput::kWrites, passed_over);
  report.end();
}

int finish_run(Run& run, Page* page) {
  if (!page)
    return 0;
  run.console.flush();
  return write_html_page(run.page_dir, run.game_root, run.catalogue, page) ? 0 : 1;
}

ExplorerRun explorer_run(const ConsoleFacts& facts, const std::vector<std::string>& args) {
  if (facts.processes != 1 || !facts.input_is_console || !facts.output_is_console)
    return ExplorerRun::kNone;
  if (args.size() <= 1)
    return ExplorerRun::kUsage;
  return args.size() == 2 && parse_command_line(args).operands.size() == 1 ? ExplorerRun::kPage
                                                                           : ExplorerRun::kWait;
}

std::string explorer_page_folder(const std::string& documents, const char* program,
                                 const std::string& game_root) {
  if (documents.empty())
    return "";
  std::string game = real_path(game_root);
  if (game.empty())
    game = game_root;
  while (!game.empty() && is_separator(game.back()))
    game.pop_back();
  game.erase(0, game.find_last_of("/\\") + 1);
  std::erase(game, ':');
  return with_trailing_separator(documents) + program + native_separator() +
         (game.empty() ? "game" : game);
}

int program_main(int argc, char** argv, const char* name,
                 int (*run)(const std::vector<std::string>& args, Console& console)) {
  set_program_name(name);
  std::vector<std::string> args = program_arguments(argc, argv);
  ExplorerRun explorer = explorer_run(console_facts(), args);
  std::string page_folder;
  if (explorer == ExplorerRun::kPage) {
    page_folder = explorer_page_folder(documents_folder(), name, args[1]);
    if (page_folder.empty()) {
      warning("the Documents folder cannot be found: no page is written");
      explorer = ExplorerRun::kWait;
    } else {
      args = with_page_folder(args, page_folder);
      set_page_folder_label("page folder");
    }
  }
  if (parse_command_line(args).format != ReportFormat::kConsole)
    set_binary_output();
  Console& console = standard_console();
  int status = run(args, console);
  end_in_window(explorer, name, page_folder, status, console);
  console.flush();
  return status;
}
