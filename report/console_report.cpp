// The console report's lines: timing and FOUND lines, and the lines of algorithms #1 and #2.
#include "report/console_report.h"

#include <cstdio>
#include <optional>

#include "catalogue/catalogue.h"
#include "text/console.h"
#include "platform/process.h"
#include "search/file_search.h"

std::string format_elapsed(int64_t elapsed, int64_t perf_frequency) {
  double seconds = static_cast<double>(elapsed) / static_cast<double>(perf_frequency);
  // The milliseconds are shown with the digits of their single-precision value.
  float milliseconds = static_cast<float>(static_cast<double>(elapsed) * 1000.0 /
                                          static_cast<double>(perf_frequency));
  char line[128];
  snprintf(line, sizeof line, "\t%2.4f sec %6.4f ms\n", seconds,
           static_cast<double>(milliseconds));
  return line;
}

void print_elapsed(const ConsoleReport& report, int64_t perf_start) {
  int64_t perf_end = perf_counter();
  report.console.write(format_elapsed(perf_end - perf_start, report.perf_frequency));
}

void print_found(const ConsoleReport& report, std::string_view what, uint64_t offset) {
  report.console.set_colour(kColourGreen);
  // %llu prints an offset below 4 GiB exactly as %u would.
  print(report.console, "FOUND '%.*s' @ %llu\n", static_cast<int>(what.size()), what.data(),
        static_cast<unsigned long long>(offset));
}

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

namespace {

// The state of the per-texture loop: the references are found by the first
// name's walk, inside that name's timed unit, and the later names are
// reported from them.
struct TextureLoop {
  const Catalogue& catalogue;
  const ConsoleReport& report;
  const std::function<References()>& find;
  std::optional<References> references;
};

// Prints a FOUND line, with the file's path from the game root and the offset
// of the first occurrence, for each file in `references` that holds the name
// numbered `name`. True when any FOUND line was printed.
bool print_references(const References& references, uint32_t name, const ConsoleReport& report) {
  bool found_flag = false;
  for (const Reference& hit : references.hits[name]) {
    print_found(report, references.paths[hit.file], hit.offset);
    found_flag = true;
  }
  return found_flag;
}

// Prints the report of the name numbered `index`: its "searching" line, its
// FOUND lines or NOT FOUND, and the time it all took.
void report_name(TextureLoop* loop, uint32_t index) {
  const ConsoleReport& report = loop->report;
  const std::string& name = loop->catalogue.names[index];
  int64_t perf_start = perf_counter();
  report.console.set_colour(kColourGrey);
  // The counter counts names, which may pass the number of textures when a
  // texture's file name holds a further ".".
  print(report.console, "searching '%s' (%u of %u)\n", name.c_str(), index + 1,
        static_cast<unsigned>(loop->catalogue.textures.size()));
  if (!loop->references)
    loop->references = loop->find();
  if (!print_references(*loop->references, index, report)) {
    report.console.set_colour(kColourRed);
    print(report.console, "NOT FOUND REFERENCED\n");
  }
  report.console.set_colour(kColourWhite);
  print_elapsed(report, perf_start);
}

}  // namespace

References print_texture_report(const Catalogue& catalogue, const ConsoleReport& report,
                                const std::function<References()>& find) {
  TextureLoop loop{catalogue, report, find, std::nullopt};
  for (size_t index = 0; index < catalogue.names.size(); ++index)
    report_name(&loop, static_cast<uint32_t>(index));
  return loop.references ? std::move(*loop.references) : References{};
}
