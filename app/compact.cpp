// The run of Texsift-compact: the prologue, then the one search over files, and its sinks.
#include "app/programs.h"

#include "app/run.h"
#include "match/compact_scanner.h"
#include "report/compact_report.h"
#include "search/filter.h"

namespace {

const Program kCompact{"Texsift-compact", "Usage: Texsift.EXE C:\\KORVAN1\\\n", false, false,
                       kCompactTextureRules};

}  // namespace

int run_compact(const std::vector<std::string>& args, Console& console) {
  Run run(console);
  if (std::optional<int> status = start_run(kCompact, args, &run))
    return *status;
  // The page lists every file searched and the names in it, and offers no choice.
  std::optional<Page> page = start_page(kCompact, run);
  if (page) {
    page->choice = false;
    page->has_files = true;
  }
  if (!run.records())
    print(console, "\n--------------\n");
  // The names are prepared once for the whole walk: the catalogue does not
  // change while it runs.
  const CompactNameSearch rule(run.catalogue.name_views());
  CompactLines lines(run.catalogue.names.size(), run.paths, console);
  search_per_file(run, compact_entry_action, rule, lines, true, page ? &*page : nullptr);
  return finish_run(run, page ? &*page : nullptr);
}
