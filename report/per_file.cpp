// Algorithm #2: one walk of the game tree, each file read once and searched for every texture name.
#include "report/per_file.h"

#include "catalogue/catalogue.h"
#include "report/found_lines.h"
#include "text/console.h"
#include "platform/process.h"
#include "search/file_search.h"
#include "match/name_search.h"

namespace {

class PerFilePrinter {
 public:
  PerFilePrinter(const Catalogue& catalogue, const ConsoleReport& report)
      : catalogue_(catalogue), report_(report) {}

  void on_file(const FileResult& result) {
    print(report_.console, "searching in '%s'\t\t\t\t\n", result.name.c_str());
    if (!result.searched)
      return;
    // The timed unit is the search and its FOUND lines: it began when the
    // search did.
    int64_t perf_start = perf_counter() - result.elapsed;
    print_found_in_turn(report_.console, catalogue_.names.size(), result.found.names(),
                        [&](uint32_t name) {
                          print_found(report_, catalogue_.names[name], *result.found.offset(name));
                        });
    print_elapsed(report_, perf_start);
  }

 private:
  const Catalogue& catalogue_;
  const ConsoleReport& report_;
};

}  // namespace

void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const ConsoleReport& report, const ResultSink& also) {
  NameSearch search(catalogue.name_views());
  PerFilePrinter printer(catalogue, report);
  search_tree(game_root, search, [&printer, &also](const FileResult& result) {
    printer.on_file(result);
    if (also)
      also(result);
  });
}
