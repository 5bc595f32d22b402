// Both searches of Texsift find the same references on a larger generated tree.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "app/texsift.h"
#include "support/test_support.h"

namespace {

// A reference found: texture name, bare file name and offset.
using Reference = std::tuple<std::string, std::string, uint64_t>;

// Generates a game tree from a fixed seed: textures with prefix pairs and
// one- and two-letter names, and files of text and binary bytes that hold
// those names with terminators and other bytes after them, at their start,
// in their middle and at their very end, some of them excluded by name.
class TreeGenerator {
 public:
  explicit TreeGenerator(const TempTree& tree) : tree_(tree) {}

  void generate() {
    const char* textures[] = {
        "act/act_head", "act/act_head_old", "act/act_body", "act/act_h",
        "wpn/wpn_ak74", "wpn/wpn_ak", "wpn/wpn_ak74u", "sky/sky_day",
        "sky/sky_night", "sky/sky", "fx/fx_fire", "fx/fx_fire2",
        "terrain/ground", "terrain/grass", "a", "ab", "de/stone",
    };
    for (const char* texture : textures) {
      tree_.write(std::string("gamedata/textures/") + texture + ".dds", "x");
      names_.push_back(with_backslashes(texture));
    }
    const char* directories[] = {"gamedata/config/", "gamedata/config/items/",
                                 "gamedata/meshes/", "gamedata/levels/l01/",
                                 "gamedata/scripts/", "bin/", ""};
    const char* extensions[] = {".ltx", ".ogf", "", ".spawn", ".script",
                                ".xml", ".geom", "_qz.dll", ".exe", ".omf"};
    for (int i = 0; i < 80; ++i) {
      std::string file = std::string(directories[below(std::size(directories))]) + "f" +
                         std::to_string(i) + extensions[below(std::size(extensions))];
      tree_.write(file, content());
    }
  }

 private:
  static std::string with_backslashes(std::string path) {
    for (char& c : path)
      if (c == '/')
        c = '\\';
    return path;
  }

  size_t below(size_t n) { return random_() % n; }

  // A stretch of bytes: text, one of the names with a byte after it, a run
  // of bytes of 0x80 and above, or a run of control bytes.
  std::string piece() {
    static const char kAfter[] = {'\0', '\t', '\n', '\r', ' ', ',', '.', '\\', ']',
                                  '_', 'x', '"', '/', '\xC4'};
    std::string text;
    switch (below(4)) {
      case 0:
        text = "key = value ";
        break;
      case 1:
        text = names_[below(names_.size())];
        text += kAfter[below(sizeof kAfter)];
        break;
      case 2:
        for (size_t i = below(12); i > 0; --i)
          text += static_cast<char>(0x80 + below(0x80));
        break;
      default:
        for (size_t i = below(12); i > 0; --i)
          text += static_cast<char>(below(0x20));
        break;
    }
    return text;
  }

  std::string content() {
    std::string text;
    for (size_t i = below(60); i > 0; --i)
      text += piece();
    if (below(3) == 0)
      text += names_[below(names_.size())];  // a name in the last bytes
    return text;
  }

  const TempTree& tree_;
  std::vector<std::string> names_;
  std::mt19937 random_{20140517};
};

// Runs Texsift with `flag` on `tree` and returns its transcript without colours.
std::string run_plain(const TempTree& tree, const char* flag) {
  RecordingConsole console;
  EXPECT_EQ(run_texsift({"Texsift", tree.root(), flag}, console), 0);
  static const std::regex colour("\\{[0-9]+\\}");
  return std::regex_replace(console.transcript(), colour, "");
}

std::string bare_name(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

// The references in the report of either algorithm. A "searching" line gives
// the texture (algorithm #1) or the file (algorithm #2) of the FOUND lines
// that follow it; a FOUND line gives the other one and the offset.
std::set<Reference> references(const std::string& transcript) {
  static const std::regex searching_texture("searching '(.*)' \\([0-9]+ of [0-9]+\\)");
  static const std::regex searching_file("searching in '(.*)'\t*");
  static const std::regex found("FOUND '(.*)' @ ([0-9]+)");
  std::set<Reference> result;
  std::string texture, file;
  std::istringstream lines(transcript);
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, searching_file)) {
      file = match[1];
      texture.clear();
    } else if (std::regex_match(line, match, searching_texture)) {
      texture = match[1];
      file.clear();
    } else if (std::regex_match(line, match, found)) {
      uint64_t offset = std::stoull(match[2]);
      if (texture.empty())
        result.emplace(match[1], file, offset);
      else
        result.emplace(texture, bare_name(match[1]), offset);
    }
  }
  return result;
}

TEST(SearchConsistency, BothAlgorithmsFindTheSameReferences) {
  TempTree tree;
  TreeGenerator(tree).generate();
  std::set<Reference> per_texture = references(run_plain(tree, "0"));
  std::set<Reference> per_file = references(run_plain(tree, "1"));
  EXPECT_GE(per_texture.size(), 150u);  // the tree is not trivially empty of references
  EXPECT_EQ(per_texture, per_file);
}

}  // namespace
