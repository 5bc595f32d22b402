// The --html work of a run, shared by both programs.
#include "page/page_output.h"

#include "page/page_html.h"
#include "page/thumbnail_pass.h"
#include "text/console.h"
#include "platform/fs.h"

namespace {

std::string& page_folder_label() {
  static std::string label = "--html folder";
  return label;
}

void report_problem(const PageDir& page_dir, const std::string& problem) {
  error("%s '%s' %s", page_folder_label().c_str(), native_path(page_dir.path).c_str(),
        problem.c_str());
}

}  // namespace

void set_page_folder_label(std::string label) { page_folder_label() = std::move(label); }

bool check_html_option(const std::string& dir, const std::string& game_root, PageDir* page_dir) {
  std::string problem = check_page_dir(dir, game_root, page_dir);
  if (problem.empty())
    return true;
  report_problem(*page_dir, problem);
  return false;
}

bool write_html_page(const PageDir& page_dir, const std::string& game_root,
                     const Catalogue& catalogue, Page* page) {
  std::vector<std::string> files{"index.html"};
  for (size_t i = 0; i < page->textures.size(); ++i)
    files.push_back(thumbnail_name(i));
  if (std::string problem = prepare_page_dir(page_dir, files); !problem.empty()) {
    report_problem(page_dir, problem);
    return false;
  }
  write_thumbnails(catalogue, page_dir, search_threads(), &page->textures);
  if (page->choice)
    add_copies(page);
  std::string root = real_path(game_root);
  page->game_root = root.empty() ? game_root : root;
  if (!write_page_file(page_dir, "index.html", page_html(*page))) {
    report_problem(page_dir, "cannot be written to");
    return false;
  }
  return true;
}
