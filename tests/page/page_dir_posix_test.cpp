// Tests of the page folder's rules: inside the tree, reached through a link, a link itself, others' files, a rerun.
#include "page/page_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

// A game tree at "game/" and room beside it, in a temporary folder.
struct Trees {
  TempTree temp;
  std::string game = temp.root() + "game/";
  Trees() { temp.write("game/gamedata/textures/a.dds", "DDS "); }
  void link(const std::string& target, const std::string& at) const {
    ASSERT_EQ(symlink(target.c_str(), (temp.root() + at).c_str()), 0);
  }
};

TEST(PageDir, Rules) {
  struct Row {
    const char* scenario;
    std::function<void(const Trees&)> set_up;
    const char* dir;      // from the temporary folder
    const char* problem;  // empty when the page may go there
  };
  const Row rows[] = {
      {"new folder beside the game", [](const Trees&) {}, "page", ""},
      {"new folders two deep", [](const Trees&) {}, "out/page", ""},
      {"empty folder", [](const Trees& t) { t.temp.make_directory("page"); }, "page", ""},
      // Beside the game, a name that begins with the game's: not inside it.
      {"game2 beside game", [](const Trees& t) { t.temp.make_directory("game2"); }, "game2", ""},
      {"game-page beside game", [](const Trees& t) { t.temp.make_directory("game-page"); },
       "game-page/html", ""},
      {"the game root", [](const Trees&) {}, "game", "lies inside the game tree"},
      {"inside the tree", [](const Trees&) {}, "game/gamedata/page", "lies inside the game tree"},
      {"inside, by a path through a link",
       [](const Trees& t) { t.link(t.temp.root() + "game/gamedata", "g"); }, "g/page",
       "lies inside the game tree"},
      {"reached by the walk through a link",
       [](const Trees& t) {
         t.temp.make_directory("outside");
         t.link(t.temp.root() + "outside", "game/gamedata/out");
       },
       "outside/page", "is reached by the walk of the game tree through a link"},
      {"above a folder the walk reaches",
       [](const Trees& t) {
         t.temp.make_directory("outside/deep");
         t.link(t.temp.root() + "outside/deep", "game/gamedata/out");
       },
       "outside/deep/page", "is reached by the walk of the game tree through a link"},
      {"a link itself",
       [](const Trees& t) {
         t.temp.make_directory("real");
         t.link(t.temp.root() + "real", "page");
       },
       "page", "is a link, and a page is never written through one"},
      {"a file", [](const Trees& t) { t.temp.write("page", "x"); }, "page", "is not a folder"},
      {"others' files", [](const Trees& t) { t.temp.write("page/notes.txt", "x"); }, "page",
       "holds files that no page of Texsift wrote"},
      {"a list, and a stranger",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "index.html\n");
         t.temp.write("page/index.html", "x");
         t.temp.write("page/notes.txt", "x");
       },
       "page", "holds 'notes.txt', which no page of Texsift wrote"},
      {"a stranger among the thumbs",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "thumbs/0.png\n");
         t.temp.write("page/thumbs/0.png", "x");
         t.temp.write("page/thumbs/1.png", "x");
       },
       "page", "holds 'thumbs/1.png', which no page of Texsift wrote"},
      {"a listed thumbnail now a link",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "thumbs/0.png\n");
         t.temp.write("elsewhere.png", "x");
         t.temp.make_directory("page/thumbs");
         t.link(t.temp.root() + "elsewhere.png", "page/thumbs/0.png");
       },
       "page", "holds 'thumbs/0.png', which no page of Texsift wrote"},
      {"a listed thumbnail now a folder",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "thumbs/0.png\n");
         t.temp.make_directory("page/thumbs/0.png");
       },
       "page", "holds 'thumbs/0.png', which no page of Texsift wrote"},
      {"a link among a page's files",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "index.html\n");
         t.temp.write("elsewhere.html", "x");
         t.link(t.temp.root() + "elsewhere.html", "page/index.html");
       },
       "page", "holds 'index.html', which no page of Texsift wrote"},
      {"thumbs a link",
       [](const Trees& t) {
         t.temp.write("page/.texsift-page", "index.html\n");
         t.temp.make_directory("pics");
         t.link(t.temp.root() + "pics", "page/thumbs");
       },
       "page", "holds 'thumbs', a link"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.scenario);
    Trees trees;
    row.set_up(trees);
    PageDir page_dir;
    EXPECT_EQ(check_page_dir(trees.temp.root() + row.dir, trees.game, &page_dir), row.problem);
  }
}

TEST(PageDir, RerunReplacesOnlyItsFiles) {
  Trees trees;
  const std::string dir = trees.temp.root() + "page/";
  PageDir first;
  ASSERT_EQ(check_page_dir(dir, trees.game, &first), "");
  ASSERT_EQ(prepare_page_dir(first, {"index.html", "thumbs/0.png", "thumbs/1.png"}), "");
  ASSERT_TRUE(write_page_file(first, "index.html", "one"));
  ASSERT_TRUE(write_page_file(first, "thumbs/0.png", "0"));
  ASSERT_TRUE(write_page_file(first, "thumbs/1.png", "1"));

  PageDir second;
  ASSERT_EQ(check_page_dir(dir, trees.game, &second), "");
  EXPECT_EQ(second.old_files, (std::vector<std::string>{"index.html", "thumbs/0.png", "thumbs/1.png"}));
  ASSERT_EQ(prepare_page_dir(second, {"index.html", "thumbs/0.png"}), "");
  ASSERT_TRUE(write_page_file(second, "index.html", "two"));
  EXPECT_EQ(read_whole_file(dir + "index.html"), "two");
  EXPECT_EQ(access((dir + "thumbs/1.png").c_str(), F_OK), -1);  // the earlier page's, gone

  trees.temp.write("page/notes.txt", "mine");
  PageDir third;
  EXPECT_EQ(check_page_dir(dir, trees.game, &third),
            "holds 'notes.txt', which no page of Texsift wrote");
}

TEST(PageDir, NeverWritesThroughALink) {
  Trees trees;
  const std::string dir = trees.temp.root() + "page/";
  PageDir page_dir;
  ASSERT_EQ(check_page_dir(dir, trees.game, &page_dir), "");
  ASSERT_EQ(prepare_page_dir(page_dir, {"index.html"}), "");
  trees.temp.write("target.html", "theirs");
  trees.link(trees.temp.root() + "target.html", "page/index.html");
  EXPECT_FALSE(write_page_file(page_dir, "index.html", "ours"));
  EXPECT_EQ(read_whole_file(trees.temp.root() + "target.html"), "theirs");
}

}  // namespace
