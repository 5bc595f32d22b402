// The --html work of a run, shared by both programs.
#include "page/page_output.h"

#include "search/tree_search.h"
#include "search/game_root.h"
#include "page/thumbnails.h"
#include "text/console.h"
#include "platform/fs.h"

namespace {

void report_problem(const PageDir& page_dir, const std::string& problem) {
  error("--html folder '%s' %s", native_path(page_dir.path).c_str(), problem.c_str());
}

}  // namespace

bool check_html_option(const std::string& dir, const std::string& game_root, PageDir* page_dir) {
  std::string problem = check_page_dir(dir, game_root, page_dir);
  if (problem.empty())
    return true;
  report_problem(*page_dir, problem);
  return false;
}

bool write_html_page(const PageDir& page_dir, const std::string& game_root, Page* page) {
  std::vector<std::string> files{"index.html"};
  std::vector<std::string> paths;
  for (size_t i = 0; i < page->textures.size(); ++i) {
    files.push_back(thumbnail_name(i));
    paths.push_back(page->textures[i].path);
  }
  if (std::string problem = prepare_page_dir(page_dir, files); !problem.empty()) {
    report_problem(page_dir, problem);
    return false;
  }
  std::vector<TexturePreview> previews = write_thumbnails(
      texture_root_of(game_root), game_paths_of(game_root).native_root_len, paths, page_dir,
      search_threads());
  for (size_t i = 0; i < previews.size(); ++i) {
    PageTexture& texture = page->textures[i];
    texture.preview = previews[i].preview;
    if (!previews[i].read) {
      texture.preview.format = "file";
      texture.preview.problem = "not read";
    }
    if (texture.size == 0)
      texture.size = previews[i].size;
  }
  std::string root = real_path(game_root);
  page->game_root = root.empty() ? game_root : root;
  if (!write_page_file(page_dir, "index.html", page_html(*page))) {
    report_problem(page_dir, "cannot be written to");
    return false;
  }
  return true;
}
