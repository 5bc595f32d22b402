// Texsift-compact's whole report, colours included, against a per-name model of its search on generated trees.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "app/programs.h"
#include "search/filter.h"
#include "match/compact_scanner.h"
#include "text/console.h"
#include "platform/fs.h"
#include "search/walk.h"
#include "support/name_models.h"
#include "support/test_support.h"

namespace {

// The straightforward search: the walk with the compact filter, and every
// catalogue name tried on each file's content with the per-name model. On
// each file it also checks the one-pass search with each start test of its
// prefilter, which the program runs with only the fastest.
class PerNameModel : public WalkVisitor {
 public:
  PerNameModel(const Catalogue& catalogue, size_t game_root_len, Console& console)
      : catalogue_(catalogue), game_root_len_(game_root_len), console_(console) {
    for (StartTest test : available_start_tests())
      searches_.push_back(std::make_unique<CompactNameSearch>(catalogue.name_views(), test));
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return compact_entry_action(entry);
  }

  void on_file(const std::string& path, const std::string&, const DirEntry& entry) override {
    print(console_, "searching in '%s'\n", entry.name.c_str());
    const std::string content = read_whole_file(native_path(path));
    if (content.empty())
      return;
    std::vector<std::optional<uint64_t>> model;
    for (const std::string& name : catalogue_.names)
      model.push_back(model_compact_find_name(
          reinterpret_cast<const unsigned char*>(content.data()), content.size(), name));
    FoundNames found;
    for (const auto& search : searches_) {
      search->find_all(Bytes(reinterpret_cast<const unsigned char*>(content.data()), content.size()), &found);
      EXPECT_EQ(all_offsets(found), model) << path << " start test " << &search - searches_.data();
    }
    for (size_t n = 0; n < model.size(); ++n) {
      console_.set_colour(kColourGrey);
      if (catalogue_.names[n].size() > content.size())
        continue;
      if (model[n]) {
        console_.set_colour(kColourGreen);
        print(console_, "FOUND '%s' @ %zu\n", path.c_str() + game_root_len_,
              static_cast<size_t>(*model[n]));
      }
    }
  }

 private:
  const Catalogue& catalogue_;
  size_t game_root_len_;
  Console& console_;
  std::vector<std::unique_ptr<CompactNameSearch>> searches_;
};

// The transcript the model gives for a run on `root`, a tree TreeMaker made.
std::string model_report(const std::string& root) {
  RecordingConsole collecting;
  Catalogue catalogue = collect_textures(root + "gamedata\\textures\\", game_paths_of(root),
                                         collecting, kCompactTextureRules);
  RecordingConsole console;
  // The texture folders TreeMaker makes, in walk order.
  console.write(report_opening(root, {"act\\", "act\\bandit\\", "wpn\\"}));
  PerNameModel model(catalogue, root.size(), console);
  walk_tree(root, model);
  return console.transcript();
}

// A game tree drawn from a fixed seed: textures whose names share lengths,
// first bytes and prefixes, and files holding those names amid text, runs
// of top-bit, control and zero bytes, at their starts and their ends.
class TreeMaker {
 public:
  TreeMaker(const TempTree& tree, uint32_t seed) : tree_(tree), random_(seed) {}

  void make() {
    make_textures();
    for (int file = 0; file < 36; ++file)
      tree_.write(file_path(file), content(below(4) == 0 ? 40 : 2500));
    tree_.write("gamedata/config/exact.ltx", names_.back());
    tree_.write("gamedata/config/one.ltx", "a");
    tree_.write("gamedata/config/empty.ltx", "");
    tree_.write("gamedata/config/ends.ltx", "x = " + names_.back());
    tree_.write("gamedata/sounds/skipped.ogg", names_.back() + "\n");
  }

 private:
  size_t below(size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
  }

  std::string word(size_t min_length, size_t max_length) {
    static const char kLetters[] = "aaeehhdnst_";
    std::string text(min_length + below(max_length - min_length + 1), ' ');
    for (char& letter : text)
      letter = kLetters[below(sizeof kLetters - 1)];
    return text;
  }

  // Adds a texture file at `relative` below the texture root, and its
  // catalogue name when the compact catalogue takes it.
  void add_texture(const std::string& folder, const std::string& stem, const char* extension) {
    std::string relative = folder.empty() ? stem : folder + "/" + stem;
    if (!paths_.insert(relative + extension).second)
      return;
    tree_.write("gamedata/textures/" + relative + extension, "DDS ");
    if (stem.find("_bump") == std::string::npos) {
      names_.push_back(folder.empty() ? stem : folder + "\\" + stem);
      for (char& byte : names_.back())
        if (byte == '/')
          byte = '\\';
    }
  }

  void make_textures() {
    for (const char* stem : {"a", "ab", "sky", "skz"})
      add_texture("", stem, ".dds");
    add_texture("", "sky", ".tga");  // the name sky twice in the catalogue
    for (const char* folder : {"act", "wpn", "act/bandit"}) {
      std::string prefix = std::string(folder).substr(0, 3) + "_";
      for (int texture = 0; texture < 24; ++texture) {
        std::string stem = prefix + word(2, 5);
        add_texture(folder, stem, ".dds");
        if (below(4) == 0)
          add_texture(folder, stem + "_" + word(1, 3), ".dds");  // a longer sibling
        if (below(4) == 0)
          add_texture(folder, stem + "_bump", ".dds");
      }
    }
  }

  std::string file_path(int file) {
    static const char* const kPlaces[] = {"gamedata/config/", "gamedata/meshes/",
                                          "gamedata/levels/l01/", "bin/"};
    static const char* const kExtensions[] = {".ltx", ".ogf", "", ".dll", ".thm"};
    return kPlaces[below(std::size(kPlaces))] + word(3, 8) + std::to_string(file) +
           kExtensions[below(std::size(kExtensions))];
  }

  std::string run(unsigned low, unsigned high) {
    std::string bytes(1 + below(12), ' ');
    for (char& byte : bytes)
      byte = static_cast<char>(low + below(high - low + 1));
    return bytes;
  }

  std::string piece() {
    switch (below(8)) {
      case 0:
      case 1:
        return names_[below(names_.size())] + ",\r\n\0 \\"[below(6)];
      case 2:
        return run(0x80, 0xff);
      case 3:
        return run(0x01, 0x1f);
      case 4:
        return std::string(4 + below(12), '\0');
      case 5:
        return "\r\n";
      default:
        return word(1, 8) + " = ";
    }
  }

  std::string content(size_t max_length) {
    std::string text = below(3) == 0 ? names_[below(names_.size())] : "";
    for (size_t length = below(max_length); text.size() < length;)
      text += piece();
    if (below(3) == 0)
      text += names_[below(names_.size())];
    return text;
  }

  const TempTree& tree_;
  std::mt19937 random_;
  std::set<std::string> paths_;
  std::vector<std::string> names_;
};

size_t count_of(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

TEST(CompactSearchIdentity, ReportEqualsPerNameModelOnGeneratedTrees) {
  for (uint32_t seed : {17u, 2014u, 517u}) {
    TempTree tree;
    TreeMaker(tree, seed).make();
    RecordingConsole console;
    ASSERT_EQ(run_compact({"Texsift-compact", tree.root()}, console), 0);
    const std::string expected = without_repeated_colours(model_report(tree.root()));
    EXPECT_EQ(console.transcript(), expected) << "seed " << seed;
    // The tree is searched in earnest: many files, many names found.
    EXPECT_GE(count_of(expected, "searching in '"), 25u) << "seed " << seed;
    EXPECT_GE(count_of(expected, "{10}FOUND '"), 100u) << "seed " << seed;
  }
}

}  // namespace
