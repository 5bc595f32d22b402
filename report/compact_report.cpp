// The compact build's per-file walk of the game tree and its report.
#include "report/compact_report.h"

#include "catalogue/catalogue.h"
#include "search/file_content.h"
#include "report/file_records.h"
#include "report/found_lines.h"
#include "match/found_names.h"
#include "search/tree_search.h"
#include "search/compact_filter.h"
#include "match/compact_scanner.h"
#include "text/console.h"

namespace {

// Prints the lines of each file searched: its "searching in" line and a FOUND
// line, naming the file, for each catalogue name found, in catalogue order.
class CompactPrinter {
 public:
  CompactPrinter(size_t name_count, const GamePaths& paths, Console& console)
      : name_count_(name_count), paths_(paths), console_(console) {}

  void on_file(const FileResult& result) {
    print(console_, "searching in '%s'\n", result.name.c_str());
    if (!result.searched || result.size == 0)
      return;
    print_found_in_turn(console_, name_count_, result.found.names(), [&](uint32_t name) {
      console_.set_colour(kColourGreen);
      print(console_, "FOUND '%s' @ %llu\n", paths_.from_game_root(result.path),
            static_cast<unsigned long long>(*result.found.offset(name)));
    });
  }

 private:
  size_t name_count_;
  const GamePaths& paths_;
  Console& console_;
};

// Walks `game_root` as compact_search_files does, reading and scanning each
// file on search_threads() threads, and hands each file that opens to `sink`
// in walk order. A result's offsets hold only when its file was searched and
// is not empty.
void compact_search_tree(const std::string& game_root, const Catalogue& catalogue,
                         const ResultSink& sink) {
  // The names are prepared once for the whole walk: the catalogue does not
  // change while it runs.
  const CompactNameSearch names(catalogue.name_views());
  const ContentSearch search = [&names](const FileContent& content, FoundNames* found) {
    names.find_all(content.chars(), static_cast<size_t>(content.size()), found);
  };
  search_tree_in_order(game_root, compact_entry_action, search_threads(), search, sink);
}

}  // namespace

void compact_search_files(const std::string& game_root, const Catalogue& catalogue,
                          const GamePaths& paths, Console& console, const ResultSink& also) {
  CompactPrinter printer(catalogue.names.size(), paths, console);
  compact_search_tree(game_root, catalogue, [&printer, &also](const FileResult& result) {
    printer.on_file(result);
    if (also)
      also(result);
  });
}

void compact_record_files(const std::string& game_root, const Catalogue& catalogue,
                          const RecordReport& report, const ResultSink& also) {
  FileRecords records(report, catalogue.names, catalogue.textures.size());
  records.begin();
  compact_search_tree(game_root, catalogue, [&records, &also](const FileResult& result) {
    records.on_file(result);
    if (also)
      also(result);
  });
  records.end();
}
