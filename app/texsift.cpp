// The run sequence of Texsift: set-up, banner, catalogue, and the selected search.
#include "app/texsift.h"

#include <climits>
#include <functional>

#include "catalogue/catalogue.h"
#include "app/command_line.h"
#include "report/file_records.h"
#include "search/game_root.h"
#include "platform/console.h"
#include "text/console.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "page/page_files.h"
#include "page/page_output.h"
#include "report/console_report.h"
#include "report/per_file.h"
#include "report/per_texture.h"
#include "report/record_report.h"
#include "search/references.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] =
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n"
    "\tflag = 0 or 1, type of search algorithm\n";

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Runs the search the flag selects over `game_root`, telling `page` what it found.
void run_search(uint8_t algorithm_flag, const std::string& game_root, const Catalogue& catalogue,
                const ConsoleReport& report, const ResultSink& page_sink,
                const std::function<void(const References&)>& page_references) {
  if (algorithm_flag != 0) {
    print(report.console, "algorithm #2 selected\n");
    search_files(game_root, catalogue, report, page_sink);
    return;
  }
  print(report.console, "algorithm #1 selected (slower)\n");
  page_references(search_textures(game_root, catalogue, report));
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

// Marks each texture of `page` that a name of it in `references` refers to,
// with the files and offsets, and gives the others their `mentions`.
void add_findings(const Catalogue& catalogue, const References& references,
                  const Mentions& mentions, Page* page) {
  for (size_t t = 0; t < catalogue.textures.size(); ++t) {
    const CatalogueTexture& texture = catalogue.textures[t];
    PageTexture& entry = page->textures[t];
    for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
      for (const Reference& hit : references.hits[name])
        entry.references.push_back({references.native_paths[hit.file], hit.offset, ""});
    entry.referenced = !entry.references.empty();
    for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
      for (const Mention& mention : mentions.hits[name])
        entry.mentions.push_back({mentions.paths[mention.file], mention.offset,
                                  std::string(case_word(mention.letter_case)) + ", " +
                                      separator_word(mention.separator)});
  }
}

// Writes the report that the format and the flag select, and fills `page`
// (when there is one) with what the search found.
void write_report(const Run& run, const std::string& game_root, const Catalogue& catalogue,
                  const ConsoleReport& report, Page* page) {
  uint8_t algorithm_flag = algorithm_flag_of(run.line);
  ResultSink page_sink;
  if (page)
    page_sink = [&](const FileResult& result) {
      add_file_result(result, catalogue, report.paths, false, page);
    };
  // The console report makes no second look of its own: the page's is made here.
  auto page_references = [&](const References& references) {
    if (page)
      add_findings(catalogue, references,
                   look_again(game_root, catalogue, references, report.paths), page);
  };
  if (run.line.format == ReportFormat::kConsole) {
    print(report.console, "\n--------------\n");
    run_search(algorithm_flag, game_root, catalogue, report, page_sink, page_references);
    return;
  }
  const RecordReport records{run.line.format, run.console, report.paths, run.perf_start,
                             run.perf_frequency};
  if (algorithm_flag != 0)
    record_files(game_root, catalogue, records, page_sink);
  else if (TextureFindings findings = record_textures(game_root, catalogue, records); page)
    add_findings(catalogue, findings.references, findings.mentions, page);
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
  PageDir page_dir;
  if (!run.line.html.empty() && !check_html_option(run.line.html, game_root, &page_dir))
    return 2;
  QuietConsole quiet;
  const ConsoleReport report{records ? quiet : run.console, run.perf_frequency,
                             game_paths_of(game_root)};
  Catalogue catalogue = collect_textures(texture_root_of(game_root), report.paths, report.console);
  run.console.flush();
  warn_if_no_textures(catalogue, game_root);
  if (run.line.html.empty()) {
    write_report(run, game_root, catalogue, report, nullptr);
    return 0;
  }
  Page page = catalogue_page("Texsift", catalogue, report.paths);
  write_report(run, game_root, catalogue, report, &page);
  run.console.flush();
  return write_html_page(page_dir, game_root, &page) ? 0 : 1;
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
