// POSIX-only end-to-end tests of the machine-readable reports: names that Windows cannot hold.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// Names with a comma, a double quote, a tab and a byte that is not UTF-8
// (0xE9, "é" in CP1252), as paths and as texture names: JSON escapes them or
// gives their bytes in base64; CSV quotes them or writes their raw bytes.
TEST(RecordProgram, NamesWithCommasQuotesControlsAndBytesNotUtf8) {
  TempTree tree;
  tree.write("gamedata/textures/a,b.dds", "a");
  tree.write("gamedata/textures/q\"t.dds", "q");
  tree.write("gamedata/textures/s\xe9y.dds", "s");
  tree.write("gamedata/textures/t\tb.dds", "t");
  tree.write("gamedata/config/r\xe9" "f,\"1\".ltx", "a,b q\"t s\xe9y\n");
  // Passed over by the searches, read by the second look: a mention of t<TAB>b.
  tree.write("gamedata/config/m,\"e\".h", "T\tB");
  // "gamedata\config\r\xe9f,"1".ltx" in base64.
  const std::string file = "{\"bytes\":\"Z2FtZWRhdGFcY29uZmlnXHLpZiwiMSIubHR4\"}";
  const std::string csv_file = "\"gamedata\\config\\r\xe9" "f,\"\"1\"\".ltx\"";
  struct Row {
    const char* program;
    std::vector<std::string> args;
    std::string out;
  } rows[] = {
      {TEXSIFT_PROGRAM, {"--json", tree.root()},
       "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\a,b.dds\"},"
       "\"size\":1,\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"a,b\"},\"references\":"
       "[{\"path\":" + file + ",\"offset\":0}],\"mentions\":[]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
       "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\q\\\"t.dds\"},"
       "\"size\":1,\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"q\\\"t\"},"
       "\"references\":[{\"path\":" + file + ",\"offset\":4}],\"mentions\":[]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
       "{\"type\":\"texture\",\"path\":{\"bytes\":\"Z2FtZWRhdGFcdGV4dHVyZXNcc+l5LmRkcw==\"},"
       "\"size\":1,\"mention_count\":0,\"names\":[{\"name\":{\"bytes\":\"c+l5\"},"
       "\"references\":[{\"path\":" + file + ",\"offset\":8}],\"mentions\":[]}],\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
       "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\t\\u0009b.dds\"},"
       "\"size\":1,\"mention_count\":1,\"names\":[{\"name\":{\"text\":\"t\\u0009b\"},"
       "\"references\":[],\"mentions\":[{\"path\":"
       "{\"text\":\"gamedata\\\\config\\\\m,\\\"e\\\".h\"},\"offset\":0,\"case\":\"upper\","
       "\"separator\":\"none\",\"kind\":\"file\",\"describes\":null}]}],"
       "\"companions\":[],\"copy_group\":null,\"copy_bytes\":0}\n"
       "{\"type\":\"totals\",\"textures\":4,\"names\":4,\"referenced\":3,\"unreferenced\":1,"
       "\"files_searched\":1,\"bytes_searched\":12,\"referenced_bytes\":3,"
       "\"unreferenced_bytes\":1,\"mentioned\":1,\"seconds\":#,\"described\":0,"
       "\"companion_bytes\":0,\"copy_bytes\":0}\n"},
      {TEXSIFT_PROGRAM, {"--csv", tree.root()},
       "type,texture,name,file,offset,textures,names,referenced,unreferenced,files_searched,"
       "bytes_searched,seconds,size,referenced_bytes,unreferenced_bytes,mentioned,mentions,case,"
       "separator,kind,describes,companion,companion_size,used_by,copy_group,copy_bytes,described,"
       "companion_bytes\n"
       "reference,\"gamedata\\textures\\a,b.dds\",\"a,b\"," + csv_file + ",0,,,,,,,,1,,,,,,,,,,,,,0,,\n" +
       "reference,\"gamedata\\textures\\q\"\"t.dds\",\"q\"\"t\"," + csv_file + ",4,,,,,,,,1,,,,,,,,,,,,,0,,\n" +
       "reference,gamedata\\textures\\s\xe9y.dds,s\xe9y," + csv_file + ",8,,,,,,,,1,,,,,,,,,,,,,0,,\n" +
       "unreferenced,gamedata\\textures\\t\tb.dds,t\tb,,,,,,,,,,1,,,,1,,,,,,,,,0,,\n"
       "mention,gamedata\\textures\\t\tb.dds,t\tb,\"gamedata\\config\\m,\"\"e\"\".h\",0,,,,,,,,1,"
       ",,,,upper,none,file,,,,,,0,,\n"
       "totals,,,,,4,4,3,1,1,12,#,,3,1,1,,,,,,,,,,0,0,0\n"},
      {TEXSIFT_PROGRAM, {"--json", tree.root(), "1"},
       "{\"type\":\"file\",\"path\":" + file + ",\"size\":12,\"names\":[{\"name\":{\"text\":\"a,b\"},"
       "\"offset\":0},{\"name\":{\"text\":\"q\\\"t\"},\"offset\":4},"
       "{\"name\":{\"bytes\":\"c+l5\"},\"offset\":8}]}\n"
       "{\"type\":\"totals\",\"files_searched\":1,\"bytes_searched\":12,\"textures\":4,"
       "\"names\":4,\"seconds\":#}\n"},
      // Texsift-compact's scanner passes over the stretch that holds 0xE9.
      {COMPACT_PROGRAM, {"--csv", tree.root()},
       "type,file,name,offset,files_searched,bytes_searched,textures,names,seconds,size\n"
       "file," + csv_file + ",,,,,,,,12\n" +
       "reference," + csv_file + ",\"a,b\",0,,,,,,\n" +
       "totals,,,,1,12,4,4,#,\n"},
  };
  for (const Row& row : rows) {
    ProgramResult result = run_built_program(row.program, row.args);
    EXPECT_EQ(result.status, 0) << row.args[0];
    EXPECT_EQ(mask_seconds(result.out), row.out) << row.program << " " << row.args[0];
    EXPECT_EQ(result.err, "") << row.args[0];
  }
}

// The second look reads the files the search's walk passed over, so the
// tree is walked once: an entry the walk skips is warned of once, in walk
// order, whether the search or the second look would have read it, and the
// mention in a passed-over file is still found.
TEST(RecordProgram, OneWalkWarnsOnce) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "a");
  tree.write("gamedata/config/b\\c.ltx", "x");
  tree.write("gamedata/config/g\\h.txt", "x");
  tree.write("gamedata/config/m.txt", "ACT/ACT_HEAD");
  tree.write("gamedata/d\\e/f.ltx", "x");
  const std::string root = tree.root();
  TempTree pages;  // the page folder stays outside the game tree
  const std::string warnings =
      "Texsift: warning: backslash in a name, entry skipped: " + root + "gamedata/config/b\\c.ltx\n"
      "Texsift: warning: backslash in a name, entry skipped: " + root + "gamedata/config/g\\h.txt\n"
      "Texsift: warning: backslash in a name, entry skipped: " + root + "gamedata/d\\e\n";
  const std::vector<std::string> runs[] = {{"--json", root},
                                           {"--html", pages.root() + "page", root, "1"}};
  for (const std::vector<std::string>& args : runs) {
    ProgramResult result = run_built_program(TEXSIFT_PROGRAM, args);
    EXPECT_EQ(result.status, 0) << args[0];
    EXPECT_EQ(result.err, warnings) << args[0];
    if (args[0] == "--json") {
      EXPECT_NE(result.out.find("\"mentions\":[{\"path\":{\"text\":\"gamedata\\\\config\\\\m.txt\"}"),
                std::string::npos);
    }
  }
}

}  // namespace
