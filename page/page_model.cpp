// Filling the page model from the catalogue and from per-file search results.
#include "page/page_model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "match/mention_search.h"

namespace {

// The time now, as the page shows it: "2026-12-07 17:53:41 UTC".
std::string page_time_now() {
  using namespace std::chrono;
  system_clock::time_point now = system_clock::now();
  sys_days day = floor<days>(now);
  year_month_day date{day};
  hh_mm_ss time{floor<seconds>(now - day)};
  char text[64];
  snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
           static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
           static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
           static_cast<int>(time.seconds().count()));
  return text;
}

}  // namespace

Page catalogue_page(const char* program, const Catalogue& catalogue, const GamePaths& paths) {
  Page page;
  page.program = program;
  page.time = page_time_now();
  for (const CatalogueTexture& texture : catalogue.textures) {
    PageTexture entry;
    entry.path = paths.native_from_game_root(texture.open_path);
    page.textures.push_back(std::move(entry));
  }
  return page;
}

void add_file_result(const FileResult& result, const Catalogue& catalogue, const GamePaths& paths,
                     bool list_file, Page* page) {
  std::string path = paths.native_from_game_root(result.file.open_path);
  PageFile file;
  file.path = path;
  file.size = result.file.size;
  if (result.file.searched) {
    for (uint32_t name : result.found.names()) {
      uint64_t offset = *result.found.offset(name);
      file.names.push_back({catalogue.names[name], offset, ""});
      // Each name is one texture's: the last whose first name is not past it.
      auto after = std::upper_bound(
          catalogue.textures.begin(), catalogue.textures.end(), name,
          [](uint32_t value, const CatalogueTexture& texture) { return value < texture.first_name; });
      if (after == catalogue.textures.begin())
        continue;
      size_t t = static_cast<size_t>(after - catalogue.textures.begin()) - 1;
      if (name >= catalogue.textures[t].first_name + catalogue.textures[t].name_count)
        continue;
      page->textures[t].referenced = true;
      page->textures[t].references.push_back({path, offset, ""});
    }
  }
  if (list_file)
    page->files.push_back(std::move(file));
}

void add_texture_findings(const Catalogue& catalogue, const References& references,
                          const Mentions& mentions, Page* page) {
  for (size_t t = 0; t < catalogue.textures.size(); ++t) {
    const CatalogueTexture& texture = catalogue.textures[t];
    PageTexture& entry = page->textures[t];
    for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
      for (const Reference& hit : references.hits[name])
        entry.references.push_back({references.native_paths[hit.file], hit.offset, ""});
    entry.referenced = !entry.references.empty();
  }
  add_mentions(catalogue, mentions, page);
}

void add_mentions(const Catalogue& catalogue, const Mentions& mentions, Page* page) {
  for (size_t t = 0; t < catalogue.textures.size(); ++t) {
    const CatalogueTexture& texture = catalogue.textures[t];
    PageTexture& entry = page->textures[t];
    for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
      for (const Mention& mention : mentions.hits[name]) {
        if (mention.describes)
          entry.uses.push_back({mentions.paths[mention.file], mention.offset, *mention.describes});
        else
          entry.mentions.push_back({mentions.paths[mention.file], mention.offset,
                                    std::string(case_word(mention.form.letter_case)) + ", " +
                                        separator_word(mention.form.separator)});
      }
  }
}

void add_texture_files(const Catalogue& catalogue, const TextureFiles& files,
                       const std::vector<const Mention*>& users, const Mentions& mentions,
                       const GamePaths& paths, Page* page) {
  for (uint32_t t = 0; t < catalogue.textures.size(); ++t) {
    PageTexture& entry = page->textures[t];
    entry.size = files.sizes[t].value_or(0);
    for (auto [c, end] = companions_of(catalogue, t); c < end; ++c) {
      PageCompanion companion{paths.native_from_game_root(catalogue.companions[c].open_path),
                              files.companion_sizes[c].value_or(0), {}};
      if (const Mention* use = users[c])
        companion.kept_by = {mentions.paths[use->file], use->offset, *use->describes};
      entry.companions.push_back(std::move(companion));
    }
  }
}

void add_copies(Page* page) {
  std::vector<std::optional<uint64_t>> sizes, hashes;
  for (const PageTexture& texture : page->textures) {
    sizes.emplace_back(texture.size);
    hashes.push_back(texture.content_hash);
  }
  TextureFiles files;
  group_copies(sizes, hashes, &files);
  for (size_t t = 0; t < page->textures.size(); ++t)
    page->textures[t].copy_group = files.copy_group[t];
}
