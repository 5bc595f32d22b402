// End-to-end tests of Texsift: the built program on temporary trees, whole output compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "support/test_support.h"

namespace {


ProgramResult texsift(const std::vector<std::string>& args) {
  return run_built_program(TEXSIFT_PROGRAM, args);
}

TEST(TexsiftProgram, Usage) {
  // Help adds the list of options after the usage text; no argument gives the usage text alone.
  struct Row {
    std::vector<std::string> args;
    const char* after_usage;
  } rows[] = {{{}, ""}, {{"--help"}, kHelpList}, {{"-h"}, kHelpList}, {{"/?"}, kHelpList}};
  for (const Row& row : rows) {
    ProgramResult result = texsift(row.args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, std::string(kBanner) + kTexsiftUsage + row.after_usage);
    EXPECT_EQ(result.err, "");
  }
}

TEST(TexsiftProgram, Options) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("--json/gamedata/textures/sky.tga", "x");
  tree.write("--json/sky.ltx", "sky\n");
  const std::string json_root = tree.root() + "--json" + tree.root().back();
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  } rows[] = {
      {{"--version"}, 0, "Texsift " TEXSIFT_VERSION "\n", ""},
      {{"--json", "--version", "root"}, 0, "Texsift " TEXSIFT_VERSION "\n", ""},
      // Nothing reaches standard output before a wrong option is told.
      {{"--xyz", tree.root()}, 2, "", "Texsift: error: unknown option '--xyz'\n"},
      {{"--version", "--xyz"}, 2, "", "Texsift: error: unknown option '--xyz'\n"},
      {{"--csv", "--json", tree.root()}, 2, "",
       "Texsift: error: options '--json' and '--csv' cannot be given together\n"},
      {{"--json", "--", json_root}, 0,
       "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\sky.tga\"},"
       "\"size\":1,\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"sky\"},"
       "\"references\":[{\"path\":{\"text\":\"sky.ltx\"},\"offset\":0}],\"mentions\":[]}],"
       "\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
       "{\"type\":\"totals\",\"textures\":1,\"names\":1,\"referenced\":1,\"unreferenced\":0,"
       "\"files_searched\":1,\"bytes_searched\":4,\"referenced_bytes\":1,"
       "\"unreferenced_bytes\":0,\"mentioned\":0,\"seconds\":#,\"described\":0,"
       "\"companion_bytes\":0,\"copy_bytes\":0}\n",
       ""},
      {{"--csv", tree.root(), "1"}, 0,
       "type,file,name,offset,files_searched,bytes_searched,textures,names,seconds,size\n"
       "file,--json\\sky.ltx,,,,,,,,4\n"
       "reference,--json\\sky.ltx,sky,0,,,,,,\n"
       "totals,,,,1,4,1,1,#,\n",
       ""},
  };
  for (const Row& row : rows) {
    ProgramResult result = texsift(row.args);
    EXPECT_EQ(result.status, row.status) << row.args[0];
    EXPECT_EQ(mask_seconds(result.out), row.out) << row.args[0];
    EXPECT_EQ(result.err, row.err) << row.args[0];
  }
}

// The sizes of the textures, and the second look for those unreferenced:
// named in a skipped .xml in other letter case, in a .script with doubled
// backslashes and in a .wallmarks file with slashes, they are mentioned; named
// only in textures.ltx, their .thm and a sound, they are not.
TEST(TexsiftProgram, SizesAndSecondLook) {
  TempTree tree;
  const std::string dds[] = {"DDS", "DDS 1", "DDS 12", "DDS 123", "DDS 12345"};
  tree.write("gamedata/textures/act/act_body.dds", dds[0]);
  tree.write("gamedata/textures/abc/hud_empty.dds", dds[1]);
  tree.write("gamedata/textures/wm/wm_blood.dds", dds[2]);
  tree.write("gamedata/textures/act/act_head.dds", dds[3]);
  tree.write("gamedata/textures/hud/hud_cross.dds", dds[4]);
  tree.write("gamedata/textures/act/act_head.thm", "act\\act_head\n");
  tree.write("gamedata/config/actor.ltx", "body = act\\act_body\n");
  tree.write("gamedata/config/textures.ltx", "act\\act_head = 1\n");
  tree.write("gamedata/config/ui/hud.xml", "<texture>HUD\\HUD_CROSS</texture>\n");
  tree.write("gamedata/scripts/hud.script", "local t = \"abc\\\\hud_empty\"\n");
  tree.write("gamedata/levels/l01/level.wallmarks", std::string("act\\act_head_bump wm/wm_blood\0", 30));
  tree.write("gamedata/sounds/act_head.ogg", "OggS act\\act_head\n");
  auto size = [&dds](int i) { return std::to_string(dds[i].size()); };
  const std::string json =
      "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\abc\\\\hud_empty.dds\"},"
      "\"size\":" + size(1) + ",\"mention_count\":1,\"names\":[{\"name\":{\"text\":\"abc\\\\hud_empty\"},"
      "\"references\":[],\"mentions\":[{\"path\":{\"text\":\"gamedata\\\\scripts\\\\hud.script\"},"
      "\"offset\":11,\"case\":\"same\",\"separator\":\"double_backslash\",\"kind\":\"file\","
      "\"describes\":null}]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
      "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\act\\\\act_body.dds\"},"
      "\"size\":" + size(0) + ",\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"act\\\\act_body\"},"
      "\"references\":[{\"path\":{\"text\":\"gamedata\\\\config\\\\actor.ltx\"},\"offset\":7}],"
      "\"mentions\":[]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
      "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\act\\\\act_head.dds\"},"
      "\"size\":" + size(3) + ",\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"act\\\\act_head\"},"
      "\"references\":[],\"mentions\":[]}],\"companions\":[{\"path\":{\"text\":"
      "\"gamedata\\\\textures\\\\act\\\\act_head.thm\"},\"size\":13,\"used_by\":null}],"
      "\"copy_group\":null,\"copy_bytes\":0}\n"
      "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\hud\\\\hud_cross.dds\"},"
      "\"size\":" + size(4) + ",\"mention_count\":1,\"names\":[{\"name\":{\"text\":\"hud\\\\hud_cross\"},"
      "\"references\":[],\"mentions\":[{\"path\":{\"text\":\"gamedata\\\\config\\\\ui\\\\hud.xml\"},"
      "\"offset\":9,\"case\":\"upper\",\"separator\":\"backslash\",\"kind\":\"file\","
      "\"describes\":null}]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
      "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\wm\\\\wm_blood.dds\"},"
      "\"size\":" + size(2) + ",\"mention_count\":1,\"names\":[{\"name\":{\"text\":\"wm\\\\wm_blood\"},"
      "\"references\":[],\"mentions\":[{\"path\":{\"text\":"
      "\"gamedata\\\\levels\\\\l01\\\\level.wallmarks\"},\"offset\":18,\"case\":\"same\","
      "\"separator\":\"slash\",\"kind\":\"file\",\"describes\":null}]}],"
      "\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
      "{\"type\":\"totals\",\"textures\":5,\"names\":5,\"referenced\":1,\"unreferenced\":4,"
      "\"files_searched\":1,\"bytes_searched\":20,\"referenced_bytes\":3,"
      "\"unreferenced_bytes\":27,\"mentioned\":3,\"seconds\":#,\"described\":0,"
      "\"companion_bytes\":13,\"copy_bytes\":0}\n";
  const std::string csv =
      "type,texture,name,file,offset,textures,names,referenced,unreferenced,files_searched,"
      "bytes_searched,seconds,size,referenced_bytes,unreferenced_bytes,mentioned,mentions,case,"
      "separator,kind,describes,companion,companion_size,used_by,copy_group,copy_bytes,described,"
      "companion_bytes\n"
      "unreferenced,gamedata\\textures\\abc\\hud_empty.dds,abc\\hud_empty,,,,,,,,,,5,,,,1,,,,,,,,,0,,\n"
      "mention,gamedata\\textures\\abc\\hud_empty.dds,abc\\hud_empty,gamedata\\scripts\\hud.script,"
      "11,,,,,,,,5,,,,,same,double_backslash,file,,,,,,0,,\n"
      "reference,gamedata\\textures\\act\\act_body.dds,act\\act_body,gamedata\\config\\actor.ltx,7,"
      ",,,,,,,3,,,,,,,,,,,,,0,,\n"
      "unreferenced,gamedata\\textures\\act\\act_head.dds,act\\act_head,,,,,,,,,,7,,,,0,,,,,,,,,0,,\n"
      "companion,gamedata\\textures\\act\\act_head.dds,,,,,,,,,,,7,,,,,,,,,"
      "gamedata\\textures\\act\\act_head.thm,13,,,0,,\n"
      "unreferenced,gamedata\\textures\\hud\\hud_cross.dds,hud\\hud_cross,,,,,,,,,,9,,,,1,,,,,,,,,0,,\n"
      "mention,gamedata\\textures\\hud\\hud_cross.dds,hud\\hud_cross,gamedata\\config\\ui\\hud.xml,9,"
      ",,,,,,,9,,,,,upper,backslash,file,,,,,,0,,\n"
      "unreferenced,gamedata\\textures\\wm\\wm_blood.dds,wm\\wm_blood,,,,,,,,,,6,,,,1,,,,,,,,,0,,\n"
      "mention,gamedata\\textures\\wm\\wm_blood.dds,wm\\wm_blood,"
      "gamedata\\levels\\l01\\level.wallmarks,18,,,,,,,,6,,,,,same,slash,file,,,,,,0,,\n"
      "totals,,,,,5,5,1,4,1,20,#,,3,27,3,,,,,,,,,,0,0,13\n";
  for (const auto& [format, out] : {std::pair{"--json", json}, std::pair{"--csv", csv}}) {
    ProgramResult result = texsift({format, tree.root()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(mask_seconds(result.out), out) << format;
    EXPECT_EQ(result.err, "");
  }
}

TEST(TexsiftProgram, MissingRoot) {
  TempTree tree;
  std::string missing = tree.root() + "missing" + tree.root().back();
  ProgramResult result = texsift({missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, report_opening(missing, {}, OpeningEnd::kScanningPath));
  EXPECT_EQ(result.err, "Texsift: error: game root '" + missing + "' does not exist\n");
}

TEST(TexsiftProgram, RootThatIsAFile) {
  TempTree tree;
  tree.write("file", "x");
  ProgramResult result = texsift({tree.root() + "file"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Texsift: error: game root '" + tree.root() + "file" +
                            tree.root().back() + "' is not a directory\n");
}

TEST(TexsiftProgram, RootWithoutTrailingSeparatorAndSelection) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  std::string root = tree.root();
  std::string bare = root.substr(0, root.size() - 1);
  struct Row {
    std::vector<std::string> args;
    const char* selection;
  } rows[] = {
      {{bare}, "algorithm #1 selected (slower)\n"},
      {{root, "0"}, "algorithm #1 selected (slower)\n"},
      {{root, "1"}, "algorithm #2 selected\n"},
  };
  for (const Row& row : rows) {
    ProgramResult result = texsift(row.args);
    EXPECT_EQ(result.status, 0);
    std::string expected = report_opening(root, {"act\\"}) + row.selection;
    EXPECT_EQ(mask_timings(result.out).substr(0, expected.size()), expected);
  }
}

// Both programs on a folder that is not the game root: the report as ever,
// and a warning that suggests the folder above when the one given looks like
// the gamedata folder.
TEST(WrongFolderWarning, BothPrograms) {
  TempTree tree;
  const char separator = tree.root().back();
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("data/textures/sky.tga", "x");
  tree.make_directory("old/GameData");
  tree.make_directory("empty");
  tree.make_directory("gamedata_old/config");
  const std::string top = tree.root();
  auto folder = [&](const std::string& name) { return top + name + separator; };
  auto no_textures = [&](const std::string& root) {
    return "no textures found under '" + root + "gamedata" + separator + "textures" +
           separator + "'";
  };
  struct Row {
    std::string root;
    std::string warning;
  } rows[] = {
      {folder("gamedata"), no_textures(folder("gamedata")) + "; did you mean '" + top + "'?"},
      {folder("old" + std::string(1, separator) + "GameData"),
       no_textures(folder("old" + std::string(1, separator) + "GameData")) + "; did you mean '" +
           folder("old") + "'?"},
      {folder("data"), no_textures(folder("data")) + "; did you mean '" + top + "'?"},
      {folder("empty"), no_textures(folder("empty"))},
      // Only a folder named gamedata is taken for one, not all that begin so.
      {folder("gamedata_old"), no_textures(folder("gamedata_old"))},
  };
  for (const Row& row : rows) {
    const std::string scanning = report_opening(row.root);
    ProgramResult result = texsift({row.root});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, scanning + "algorithm #1 selected (slower)\n");
    EXPECT_EQ(result.err, "Texsift: warning: " + row.warning + "\n");
    result = run_built_program(COMPACT_PROGRAM, {row.root});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, scanning);
    EXPECT_EQ(result.err, "Texsift-compact: warning: " + row.warning + "\n");
  }
}

// TEXSIFT_THREADS outside 1 to 1024, or not a whole number: both programs
// warn and search as ever, with the hardware's thread count.
TEST(ThreadsVariable, OutOfRangeWarns) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("sky.ltx", "sky\n");
  const std::string hardware = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  struct Row {
    const char* value;
    bool warns;
  } rows[] = {
      {"0", true}, {"1025", true}, {"-1", true}, {"4x", true},
      {"1", false}, {"1024", false},
  };
  for (const char* program : {TEXSIFT_PROGRAM, COMPACT_PROGRAM}) {
    const std::string name = std::string(program).substr(0, std::string(program).find('.'));
    const ProgramResult plain = run_built_program(program, {"--json", tree.root()});
    for (const Row& row : rows) {
      ScopedEnvironment threads("TEXSIFT_THREADS", row.value);
      ProgramResult result = run_built_program(program, {"--json", tree.root()});
      EXPECT_EQ(result.status, 0) << row.value;
      EXPECT_EQ(mask_seconds(result.out), mask_seconds(plain.out)) << row.value;
      EXPECT_EQ(result.err, row.warns ? name + ": warning: TEXSIFT_THREADS='" + row.value +
                                            "' is not a whole number from 1 to 1024; "
                                            "searching with " + hardware + " threads\n"
                                      : "")
          << program << " " << row.value;
    }
  }
}

}  // namespace
