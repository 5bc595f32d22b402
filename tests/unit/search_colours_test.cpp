// Tests of the colours both searches set, through the recording console.
#include <gtest/gtest.h>

#include "app/programs.h"
#include "support/test_support.h"

namespace {

// What a run of Texsift on `tree` with `flag` records after its selection
// line, timings masked.
std::string search_transcript(const TempTree& tree, const std::string& flag) {
  RecordingConsole console;
  EXPECT_EQ(run_texsift({"Texsift", tree.root(), flag}, console), 0);
  const std::string& transcript = console.transcript();
  size_t selected = transcript.find(" selected");
  EXPECT_NE(selected, std::string::npos);
  size_t start = transcript.find('\n', selected) + 1;
  return mask_timings(transcript.substr(start));
}

TEST(SearchColours, PerTexture) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/weapons.ltx", "texture = act\\act_head\r\n");
  EXPECT_EQ(search_transcript(tree, "0"),
            "{7}searching 'act\\act_head' (1 of 2)\n"
            "{10}FOUND 'gamedata\\config\\weapons.ltx' @ 10\n"
            "{15}\t# sec # ms\n"
            "{7}searching 'sky' (2 of 2)\n"
            "{12}NOT FOUND REFERENCED\n"
            "{15}\t# sec # ms\n");
}

TEST(SearchColours, PerFileLeavesTheLastColourInForce) {
  // Each name tried sets grey (a repeat of the colour in force is not set
  // again); the file after one whose last name was found gets its
  // "searching in" line in green.
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("a.ltx", "sky,");
  tree.write("b.ltx", "nothing here");
  tree.write("c.ltx", "act\\act_head");
  EXPECT_EQ(search_transcript(tree, "1"),
            "searching in 'a.ltx'\t\t\t\t\n"
            "{7}{10}FOUND 'sky' @ 0\n"
            "\t# sec # ms\n"
            "searching in 'b.ltx'\t\t\t\t\n"
            "{7}\t# sec # ms\n"
            "searching in 'c.ltx'\t\t\t\t\n"
            "{7}{10}FOUND 'act\\act_head' @ 0\n"
            "{7}\t# sec # ms\n");
}

TEST(SearchColours, PerFileWithAnEmptyCatalogueSetsNone) {
  TempTree tree;
  tree.make_directory("gamedata/textures");
  tree.write("a.ltx", "sky,");
  tree.write("b.ltx", "");
  EXPECT_EQ(search_transcript(tree, "1"),
            "searching in 'a.ltx'\t\t\t\t\n"
            "\t# sec # ms\n"
            "searching in 'b.ltx'\t\t\t\t\n");
}

}  // namespace
