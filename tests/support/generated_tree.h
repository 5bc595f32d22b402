// A game tree generated from a fixed seed, for tests that compare whole reports.
#pragma once

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.h"

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
