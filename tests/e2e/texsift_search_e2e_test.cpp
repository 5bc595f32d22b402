// End-to-end tests of both searches of Texsift: the built program on temporary trees, whole output compared.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const char kAlgorithm1[] = "algorithm #1 selected (slower)\n";
const char kAlgorithm2[] = "algorithm #2 selected\n";
const char kTiming[] = "\t# sec # ms\n";

// Runs Texsift on `tree` with `flag`; expects a normal run with `err` on
// standard error and returns its standard output with the timings masked.
std::string texsift_output(const TempTree& tree, const char* flag, const std::string& err) {
  ProgramResult result = run_built_program(TEXSIFT_PROGRAM, {tree.root(), flag});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, err);
  return mask_timings(result.out);
}

// One run of Texsift on a tree: its files (path, content), the flag, the
// texture folders the catalogue walk visits, and what follows the selection
// line, timings masked.
struct Case {
  const char* scenario;
  std::vector<std::pair<std::string, std::string>> files;
  const char* flag;
  std::vector<std::string> texture_dirs;
  std::string report;
};

const std::pair<std::string, std::string> kActHead{"gamedata/textures/act/act_head.dds", "x"};
const std::pair<std::string, std::string> kSky{"gamedata/textures/sky.tga", "x"};
// A path ending in "/" is a folder to make, here an empty texture root.
const std::pair<std::string, std::string> kNoTextures{"gamedata/textures/", ""};

// What Texsift writes on standard error for `c` on `tree`: the warning of an
// empty catalogue when its texture root is empty, otherwise nothing.
std::string expected_err(const TempTree& tree, const Case& c) {
  for (const auto& file : c.files)
    if (file == kNoTextures) {
      const char separator = tree.root().back();
      return "Texsift: warning: no textures found under '" + tree.root() + "gamedata" +
             separator + "textures" + separator + "'\n";
    }
  return "";
}

void expect_report(const Case& c) {
  TempTree tree;
  for (const auto& [path, content] : c.files) {
    if (path.back() == '/')
      tree.make_directory(path);
    else
      tree.write(path, content);
  }
  const char* selection = c.flag[0] == '0' ? kAlgorithm1 : kAlgorithm2;
  EXPECT_EQ(texsift_output(tree, c.flag, expected_err(tree, c)),
            report_opening(tree.root(), c.texture_dirs) + selection + c.report)
      << c.scenario;
}

TEST(PerTextureSearch, Reports) {
  const std::string t = kTiming;
  const Case cases[] = {
      {"referring files in walk order",
       {kActHead, kSky,
        {"gamedata/config/weapons.ltx", "texture = act\\act_head\r\nact\\act_head\r\n"},
        {"gamedata/config/items/gear.ltx", "act\\act_head,sky_box,sky]"},
        {"gamedata/meshes/head.ogf", std::string("\x01\x02\x03\x04mesh\0act\\act_head\0", 22)}},
       "0", {"act\\"},
       "searching 'act\\act_head' (1 of 2)\n"
       "FOUND 'gamedata\\config\\items\\gear.ltx' @ 0\n"
       "FOUND 'gamedata\\config\\weapons.ltx' @ 10\n"
       "FOUND 'gamedata\\meshes\\head.ogf' @ 9\n" + t +
       "searching 'sky' (2 of 2)\n"
       "FOUND 'gamedata\\config\\items\\gear.ltx' @ 21\n" + t},
      {"reference only in excluded files",
       {kSky, {"gamedata/scripts/weather.script", "sky\n"},
        {"gamedata/config/ui/sky.xml", "sky\n"}, {"gamedata/config/textures.ltx", "sky\n"},
        {"bin/setup.exe", "sky\n"}, {"gamedata/config/weather.ltx", "skybox\n"}},
       "0", {},
       "searching 'sky' (1 of 1)\nNOT FOUND REFERENCED\n" + t},
      {"reference at the end of a file is found",
       {kActHead, kSky, {"gamedata/config/weather.ltx", "sky_day = 1\r\nsky_night = sky"},
        {"gamedata/config/weapons.ltx", "act\\act_head"}},
       "0", {"act\\"},
       "searching 'act\\act_head' (1 of 2)\n"
       "FOUND 'gamedata\\config\\weapons.ltx' @ 0\n" + t +
       "searching 'sky' (2 of 2)\n"
       "FOUND 'gamedata\\config\\weather.ltx' @ 25\n" + t},
      {"empty files and files shorter than the name",
       {kSky, {"gamedata/config/empty.ltx", ""}, {"gamedata/config/short.ltx", "sk"}},
       "0", {},
       "searching 'sky' (1 of 1)\nNOT FOUND REFERENCED\n" + t},
      {"empty catalogue prints nothing after the selection",
       {kNoTextures, {"gamedata/config/weapons.ltx", "act\\act_head\r\n"}}, "0", {}, ""},
      // a.b.dds is one texture but the names a and b.
      {"an extra dot makes the counter pass the total",
       {{"gamedata/textures/a.b.dds", "x"}, {"gamedata/config/a.ltx", "b\n"}},
       "0", {},
       "searching 'a' (1 of 1)\nNOT FOUND REFERENCED\n" + t +
       "searching 'b' (2 of 1)\nFOUND 'gamedata\\config\\a.ltx' @ 0\n" + t},
  };
  for (const Case& c : cases)
    expect_report(c);
}

TEST(PerFileSearch, Reports) {
  const std::string t = kTiming;
  const Case cases[] = {
      {"a file with no names",
       {kActHead, kSky, {"gamedata/config/readme", "nothing to see\n"}},
       "1", {"act\\"},
       "searching in 'readme'\t\t\t\t\n" + t},
      {"names in catalogue order with their first offsets",
       {kActHead, kSky, {"gamedata/config/weapons.ltx", "sky act\\act_head act\\act_head\n"},
        {"gamedata/config/zone.ltx", "sky_box = sky"}},
       "1", {"act\\"},
       "searching in 'weapons.ltx'\t\t\t\t\n"
       "FOUND 'act\\act_head' @ 4\n"
       "FOUND 'sky' @ 0\n" + t +
       "searching in 'zone.ltx'\t\t\t\t\n"
       "FOUND 'sky' @ 10\n" + t},
      {"an empty file, and a name longer than the file",
       {kActHead, kSky, {"gamedata/config/empty.ltx", ""}, {"gamedata/config/short.ltx", "sky"},
        {"gamedata/shaders/skin.h", "sky\n"}},
       "1", {"act\\"},
       "searching in 'empty.ltx'\t\t\t\t\n"
       "searching in 'short.ltx'\t\t\t\t\n"
       "FOUND 'sky' @ 0\n" + t},
      {"an empty catalogue still lists every file",
       {kNoTextures, {"gamedata/config/weapons.ltx", "act\\act_head\r\n"}, {"level", "x"}},
       "1", {},
       "searching in 'weapons.ltx'\t\t\t\t\n" + t + "searching in 'level'\t\t\t\t\n" + t},
  };
  for (const Case& c : cases)
    expect_report(c);
}

}  // namespace
