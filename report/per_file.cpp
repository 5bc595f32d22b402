// Algorithm #2's console lines for each file searched.
#include "report/per_file.h"

#include "catalogue/catalogue.h"
#include "platform/console.h"
#include "platform/timer.h"
#include "report/found_lines.h"
#include "search/file_search.h"

void PerFileLines::on_file(const FileResult& result) {
  print(report_.console, "searching in '%s'\t\t\t\t\n", result.file.name.c_str());
  if (!result.file.searched)
    return;
  // The timed unit is the search and its FOUND lines: it began when the
  // search did.
  int64_t perf_start = perf_counter() - result.file.elapsed;
  print_found_in_turn(report_.console, catalogue_.names.size(), result.found.names(),
                      [&](uint32_t name) {
                        print_found(report_, catalogue_.names[name], *result.found.offset(name));
                      });
  print_elapsed(report_, perf_start);
}
