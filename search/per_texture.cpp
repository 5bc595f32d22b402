// Algorithm #1: the per-texture report, from one walk that reads each file once for all names.
#include <optional>
#include <unordered_map>

#include "app/report.h"
#include "catalogue/catalogue.h"
#include "platform/console.h"
#include "platform/timer.h"
#include "search/found.h"
#include "search/references.h"
#include "search/search.h"

namespace {

// The catalogue's names with each repeated name given once, and for every
// name its place in that list.
struct DistinctNames {
  std::vector<std::string_view> names;
  std::vector<uint32_t> index_of;
};

DistinctNames distinct_names(const std::vector<std::string_view>& names) {
  DistinctNames distinct;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (std::string_view name : names) {
    auto [it, added] = seen.emplace(name, static_cast<uint32_t>(distinct.names.size()));
    if (added)
      distinct.names.push_back(name);
    distinct.index_of.push_back(it->second);
  }
  return distinct;
}

// The state of the per-texture loop: the references are found by the first
// texture's walk, inside that texture's timed unit, and the later textures
// are reported from them.
struct TextureLoop {
  const std::string& game_root;
  const DistinctNames& distinct;
  uint32_t catalogue_count;
  const Report& report;
  std::optional<References> references;
};

// Prints the report of the `counter`-th name: its "searching" line, its
// FOUND lines or NOT FOUND, and the time it all took.
void report_texture(TextureLoop* loop, size_t index, uint32_t counter) {
  const Report& report = loop->report;
  std::string_view name = loop->distinct.names[loop->distinct.index_of[index]];
  int64_t perf_start = perf_counter();
  report.console.set_colour(kColourGrey);
  print(report.console, "searching '%.*s' (%u of %u)\n", static_cast<int>(name.size()),
        name.data(), counter, loop->catalogue_count);
  if (!loop->references)
    loop->references = find_references(loop->game_root, loop->distinct.names, report);
  if (!search_texture(*loop->references, loop->distinct.index_of[index], report)) {
    report.console.set_colour(kColourRed);
    print(report.console, "NOT FOUND REFERENCED\n");
  }
  report.console.set_colour(kColourWhite);
  print_elapsed(report, perf_start);
}

}  // namespace

bool search_texture(const References& references, uint32_t name, const Report& report) {
  bool found_flag = false;
  for (const Reference& hit : references.hits[name]) {
    print_found(report, references.paths[hit.file].c_str(), hit.offset);
    found_flag = true;
  }
  return found_flag;
}

void search_textures(const std::string& game_root, const Catalogue& catalogue,
                     const Report& report) {
  std::vector<std::string_view> names = catalogue_names(catalogue.catalogue);
  DistinctNames distinct = distinct_names(names);
  TextureLoop loop{game_root, distinct, catalogue.catalogue_count, report, std::nullopt};
  // The counter counts names cut from the text, which may pass the number of
  // textures when a texture's file name holds a further ".".
  for (size_t index = 0; index < names.size(); ++index)
    report_texture(&loop, index, static_cast<uint32_t>(index + 1));
}
