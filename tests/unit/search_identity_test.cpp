// The one-pass searches print, byte for byte, the report of a straightforward per-name search.
#include <gtest/gtest.h>

#include <cinttypes>
#include <memory>

#include "app/programs.h"
#include "catalogue/catalogue.h"
#include "platform/fs.h"
#include "search/walk.h"
#include "search/file_content.h"
#include "search/filter.h"
#include "match/matcher.h"
#include "match/name_search.h"
#include "support/generated_tree.h"
#include "support/test_support.h"

namespace {

// The straightforward model: one find_name per name per file, and for the
// per-texture report one whole walk per name. On each file it also checks
// the one-pass search with each start test of its prefilter, which the
// program runs with only the fastest.
class ModelWalk : public WalkVisitor {
 public:
  ModelWalk(size_t game_root_length, std::vector<std::string_view> names, bool per_file)
      : root_(game_root_length), names_(std::move(names)), per_file_(per_file) {
    for (StartTest test : available_start_tests())
      searches_.push_back(std::make_unique<NameSearch>(names_, test));
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return is_searchable(entry);
  }

  void on_file(const std::string& path, const std::string& open_path,
               const DirEntry& entry) override {
    InputFile file;
    if (!file.open(open_path))
      return;
    if (per_file_)
      text += "searching in '" + entry.name + "'\t\t\t\t\n";
    int64_t size = file.size();
    if (size <= 0)
      return;
    FileContent content;
    ASSERT_TRUE(content.read(file, static_cast<uint64_t>(size))) << path;
    check_searches(content.bytes(), path);
    for (std::string_view name : names_) {
      if (per_file_)
        text += "{7}";
      if (name.size() > static_cast<uint64_t>(size))
        continue;
      if (std::optional<uint64_t> offset = find_name(content.bytes(), name))
        found(per_file_ ? std::string(name) : path.substr(root_), *offset);
    }
    if (per_file_)
      text += "\t# sec # ms\n";
  }

  std::string text;
  bool found_any = false;

 private:
  void check_searches(Bytes content, const std::string& path) {
    FoundNames found;
    for (const auto& search : searches_) {
      search->find_all(content, &found);
      for (uint32_t n = 0; n < names_.size(); ++n)
        EXPECT_EQ(found.offset(n), find_name(content, names_[n]))
            << path << " " << names_[n] << " start test " << &search - searches_.data();
    }
  }

  void found(const std::string& what, uint64_t offset) {
    text += "{10}FOUND '" + what + "' @ " + std::to_string(offset) + "\n";
    found_any = true;
  }

  size_t root_;
  std::vector<std::string_view> names_;
  bool per_file_;
  std::vector<std::unique_ptr<NameSearch>> searches_;
};

// What the model prints after the selection line.
std::string model_report(const std::string& root, const Catalogue& catalogue, bool per_file) {
  std::vector<std::string_view> names = catalogue.name_views();
  if (per_file) {
    ModelWalk walk(root.size(), names, true);
    walk_tree(root, walk);
    return walk.text;
  }
  std::string text;
  uint32_t counter = 0;
  for (std::string_view name : names) {
    text += "{7}searching '" + std::string(name) + "' (" + std::to_string(++counter) + " of " +
            std::to_string(catalogue.textures.size()) + ")\n";
    ModelWalk walk(root.size(), {name}, false);
    walk_tree(root, walk);
    text += walk.text + (walk.found_any ? "" : "{12}NOT FOUND REFERENCED\n") + "{15}\t# sec # ms\n";
  }
  return text;
}

std::string after_selection(const std::string& transcript) {
  size_t line = transcript.find("selected");
  return transcript.substr(transcript.find('\n', line) + 1);
}

TEST(SearchIdentity, ReportsEqualThePerNameModel) {
  TempTree tree;
  TreeGenerator(tree).generate();
  RecordingConsole catalogue_console;
  Catalogue catalogue = collect_textures(texture_root_of(tree.root()),
                                         game_paths_of(tree.root()), catalogue_console);
  for (bool per_file : {false, true}) {
    RecordingConsole console;
    ASSERT_EQ(run_texsift({"Texsift", tree.root(), per_file ? "1" : "0"}, console), 0);
    EXPECT_EQ(mask_timings(after_selection(console.transcript())),
              without_repeated_colours(model_report(tree.root(), catalogue, per_file)))
        << (per_file ? "algorithm #2" : "algorithm #1");
  }
}

}  // namespace
