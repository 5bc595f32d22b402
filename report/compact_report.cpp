// Texsift-compact's console lines for each file searched.
#include "report/compact_report.h"

#include "text/console.h"
#include "report/console_report.h"
#include "search/file_search.h"

void CompactLines::on_file(const FileResult& result) {
  print(console_, "searching in '%s'\n", result.file.name.c_str());
  if (!result.file.searched || result.file.size == 0)
    return;
  print_found_in_turn(console_, name_count_, result.found.names(), [&](uint32_t name) {
    console_.set_colour(kColourGreen);
    print(console_, "FOUND '%s' @ %llu\n", paths_.from_game_root(result.file.path),
          static_cast<unsigned long long>(*result.found.offset(name)));
  });
}
