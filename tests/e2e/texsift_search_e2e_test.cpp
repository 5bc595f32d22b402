// End-to-end tests of both searches of Texsift: the built program on temporary trees, whole output compared.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const char kAlgorithm1[] = "algorithm #1 selected (slower)\n";
const char kAlgorithm2[] = "algorithm #2 selected\n";
const char kTiming[] = "\t# sec # ms\n";

// What Texsift prints before its search on `tree`: the banner, the scanning
// path, a "collecting" line for the texture root and for each of
// `texture_dirs` (in walk order, ending in a backslash), the separator and
// the `selection` line.
std::string prologue(const TempTree& tree, const std::vector<std::string>& texture_dirs,
                     const char* selection) {
  std::string text = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
  text += "Scanning path: '" + tree.root() + "'\n";
  text += "collecting = 'gamedata\\textures\\*.*'\t\t\r";
  for (const std::string& directory : texture_dirs)
    text += "collecting = 'gamedata\\textures\\" + directory + "*.*'\t\t\r";
  return text + "\n--------------\n" + selection;
}

// Runs Texsift on `tree` with `flag`; expects a normal run and returns its
// standard output with the timings masked.
std::string texsift_output(const TempTree& tree, const char* flag) {
  ProgramResult result = run_built_program(TEXSIFT_PROGRAM, {tree.root(), flag});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  return mask_timings(result.out);
}

// A tree with the textures act\act_head.dds and sky.tga.
void write_two_textures(const TempTree& tree) {
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
}

TEST(PerTextureSearch, ReferringFilesInWalkOrder) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/weapons.ltx", "texture = act\\act_head\r\nact\\act_head\r\n");
  tree.write("gamedata/config/items/gear.ltx", "act\\act_head,sky_box,sky]");
  tree.write("gamedata/meshes/head.ogf", std::string("\x01\x02\x03\x04mesh\0act\\act_head\0", 22));
  EXPECT_EQ(texsift_output(tree, "0"),
            prologue(tree, {"act\\"}, kAlgorithm1) +
                "searching 'act\\act_head' (1 of 2)\n"
                "FOUND 'gamedata\\config\\items\\gear.ltx' @ 0\n"
                "FOUND 'gamedata\\config\\weapons.ltx' @ 10\n"
                "FOUND 'gamedata\\meshes\\head.ogf' @ 9\n" +
                kTiming +
                "searching 'sky' (2 of 2)\n"
                "FOUND 'gamedata\\config\\items\\gear.ltx' @ 21\n" +
                kTiming);
}

TEST(PerTextureSearch, ReferenceOnlyInExcludedFiles) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/scripts/weather.script", "sky\n");
  tree.write("gamedata/config/ui/sky.xml", "sky\n");
  tree.write("gamedata/config/textures.ltx", "sky\n");
  tree.write("bin/setup.exe", "sky\n");
  tree.write("gamedata/config/weather.ltx", "skybox\n");
  EXPECT_EQ(texsift_output(tree, "0"),
            prologue(tree, {}, kAlgorithm1) +
                "searching 'sky' (1 of 1)\n"
                "NOT FOUND REFERENCED\n" +
                kTiming);
}

TEST(PerTextureSearch, ReferenceAtTheEndOfAFileIsFound) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/weather.ltx", "sky_day = 1\r\nsky_night = sky");
  tree.write("gamedata/config/weapons.ltx", "act\\act_head");
  EXPECT_EQ(texsift_output(tree, "0"),
            prologue(tree, {"act\\"}, kAlgorithm1) +
                "searching 'act\\act_head' (1 of 2)\n"
                "FOUND 'gamedata\\config\\weapons.ltx' @ 0\n" +
                kTiming +
                "searching 'sky' (2 of 2)\n"
                "FOUND 'gamedata\\config\\weather.ltx' @ 25\n" +
                kTiming);
}

TEST(PerTextureSearch, EmptyFilesAndFilesShorterThanTheName) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/empty.ltx", "");
  tree.write("gamedata/config/short.ltx", "sk");
  EXPECT_EQ(texsift_output(tree, "0"),
            prologue(tree, {}, kAlgorithm1) +
                "searching 'sky' (1 of 1)\n"
                "NOT FOUND REFERENCED\n" +
                kTiming);
}

TEST(PerTextureSearch, EmptyCataloguePrintsNothingAfterTheSelection) {
  TempTree tree;
  tree.make_directory("gamedata/textures");
  tree.write("gamedata/config/weapons.ltx", "act\\act_head\r\n");
  EXPECT_EQ(texsift_output(tree, "0"), prologue(tree, {}, kAlgorithm1));
}

TEST(PerTextureSearch, ExtraDotMakesTheCounterPassTheTotal) {
  // a.b.dds is one texture but the names a and b.
  TempTree tree;
  tree.write("gamedata/textures/a.b.dds", "x");
  tree.write("gamedata/config/a.ltx", "b\n");
  EXPECT_EQ(texsift_output(tree, "0"),
            prologue(tree, {}, kAlgorithm1) +
                "searching 'a' (1 of 1)\n"
                "NOT FOUND REFERENCED\n" +
                kTiming +
                "searching 'b' (2 of 1)\n"
                "FOUND 'gamedata\\config\\a.ltx' @ 0\n" +
                kTiming);
}

TEST(PerFileSearch, FileWithNoNames) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/readme", "nothing to see\n");
  EXPECT_EQ(texsift_output(tree, "1"),
            prologue(tree, {"act\\"}, kAlgorithm2) +
                "searching in 'readme'\t\t\t\t\n" +
                kTiming);
}

TEST(PerFileSearch, NamesInCatalogueOrderWithTheirFirstOffsets) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/weapons.ltx", "sky act\\act_head act\\act_head\n");
  tree.write("gamedata/config/zone.ltx", "sky_box = sky");
  EXPECT_EQ(texsift_output(tree, "1"),
            prologue(tree, {"act\\"}, kAlgorithm2) +
                "searching in 'weapons.ltx'\t\t\t\t\n"
                "FOUND 'act\\act_head' @ 4\n"
                "FOUND 'sky' @ 0\n" +
                kTiming +
                "searching in 'zone.ltx'\t\t\t\t\n"
                "FOUND 'sky' @ 10\n" +
                kTiming);
}

TEST(PerFileSearch, EmptyFileAndNameLongerThanTheFile) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/empty.ltx", "");
  tree.write("gamedata/config/short.ltx", "sky");
  tree.write("gamedata/shaders/skin.h", "sky\n");
  EXPECT_EQ(texsift_output(tree, "1"),
            prologue(tree, {"act\\"}, kAlgorithm2) +
                "searching in 'empty.ltx'\t\t\t\t\n"
                "searching in 'short.ltx'\t\t\t\t\n"
                "FOUND 'sky' @ 0\n" +
                kTiming);
}

TEST(PerFileSearch, EmptyCatalogueStillListsEveryFile) {
  TempTree tree;
  tree.make_directory("gamedata/textures");
  tree.write("gamedata/config/weapons.ltx", "act\\act_head\r\n");
  tree.write("level", "x");
  EXPECT_EQ(texsift_output(tree, "1"),
            prologue(tree, {}, kAlgorithm2) +
                "searching in 'weapons.ltx'\t\t\t\t\n" + kTiming +
                "searching in 'level'\t\t\t\t\n" + kTiming);
}

}  // namespace
