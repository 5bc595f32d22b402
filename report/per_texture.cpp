// Algorithm #1: the per-texture report, from one walk that reads each file once for all names.
#include "report/per_texture.h"

#include <optional>

#include "catalogue/catalogue.h"
#include "text/console.h"
#include "platform/process.h"
#include "search/references.h"

namespace {

// The state of the per-texture loop: the references are found by the first
// name's walk, inside that name's timed unit, and the later names are
// reported from them.
struct TextureLoop {
  const std::string& game_root;
  const Catalogue& catalogue;
  const ConsoleReport& report;
  std::optional<References> references;
};

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
    loop->references =
        find_references(loop->game_root, loop->catalogue.name_views(), report.paths);
  if (!search_texture(*loop->references, index, report)) {
    report.console.set_colour(kColourRed);
    print(report.console, "NOT FOUND REFERENCED\n");
  }
  report.console.set_colour(kColourWhite);
  print_elapsed(report, perf_start);
}

}  // namespace

bool search_texture(const References& references, uint32_t name, const ConsoleReport& report) {
  bool found_flag = false;
  for (const Reference& hit : references.hits[name]) {
    print_found(report, references.paths[hit.file], hit.offset);
    found_flag = true;
  }
  return found_flag;
}

References search_textures(const std::string& game_root, const Catalogue& catalogue,
                           const ConsoleReport& report) {
  TextureLoop loop{game_root, catalogue, report, std::nullopt};
  for (size_t index = 0; index < catalogue.names.size(); ++index)
    report_name(&loop, static_cast<uint32_t>(index));
  return loop.references ? std::move(*loop.references) : References{};
}
