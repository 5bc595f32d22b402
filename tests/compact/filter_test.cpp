// Tests of the compact build's search filter: which entries are read, descended into or passed over.
#include "compact/filter.h"

#include <gtest/gtest.h>

namespace {

TEST(CompactEntryAction, Files) {
  struct Row {
    const char* name;
    EntryAction action;
  } rows[] = {
      // Texsift skips these; the compact table and rules let them through.
      {"engine.dll", EntryAction::kRead},
      {"setup.exe", EntryAction::kRead},
      {"notes.txt", EntryAction::kRead},
      {"base.xml", EntryAction::kRead},
      {"textures.ltx", EntryAction::kRead},
      {"external.ltx", EntryAction::kRead},
      {"old~", EntryAction::kRead},
      {"save.sav", EntryAction::kRead},
      {"a.script", EntryAction::kRead},
      {"level.bin", EntryAction::kRead},
      {"weapons.ltx", EntryAction::kRead},
      {"readme", EntryAction::kRead},
      {"foo.DDS", EntryAction::kRead},  // case-sensitive
      {"sky.tga", EntryAction::kSkip},
      {"level.ogg", EntryAction::kSkip},
      {"shader.h", EntryAction::kSkip},
      {"a.hom", EntryAction::kSkip},
      {"a.hud.ltx", EntryAction::kSkip},  // ".h" anywhere
      {"level.aim", EntryAction::kSkip},  // ".ai" anywhere
      {"x.ddsx", EntryAction::kSkip},
  };
  for (const Row& row : rows)
    EXPECT_EQ(compact_entry_action({row.name, false}), row.action) << row.name;
}

TEST(CompactEntryAction, Directories) {
  struct Row {
    const char* name;
    EntryAction action;
  } rows[] = {
      {".", EntryAction::kSkip},
      {"..", EntryAction::kSkip},
      {"old.exe", EntryAction::kDescend},
      {"audio.dll", EntryAction::kDescend},
      {"sounds.ogg", EntryAction::kDescend},  // the table is for files only
      {"config", EntryAction::kDescend},
  };
  for (const Row& row : rows)
    EXPECT_EQ(compact_entry_action({row.name, true}), row.action) << row.name;
}

TEST(CompactIsExcluded, EveryEntryOfTheTable) {
  const char* excluded[] = {
      ".ai",    ".anm",       ".bak",      ".bat",      ".cform",     ".cmd",  ".dds",
      ".drv",   ".efd",       ".env_mod",  ".game",     ".gct",       ".geom", ".graph",
      ".h",     ".hom",       ".ini",      ".inf",      ".log",       ".manifest",
      ".ogg",   ".ogm",       ".omf",      ".ppe",      ".ps_static", ".snd_env",
      ".snd_static", ".rar",  ".sfap0",    ".scc",      ".som",       ".tga",  ".thm",
      ".wallmarks", ".zip",   ".qz",
  };
  ASSERT_EQ(std::size(excluded), 36u);
  for (std::string suffix : excluded) {
    EXPECT_TRUE(compact_is_excluded("name" + suffix)) << suffix;
    EXPECT_TRUE(compact_is_excluded("x" + suffix + "y")) << suffix;
  }
  EXPECT_FALSE(compact_is_excluded("qz_tool"));  // ".qz", not "qz"
  EXPECT_FALSE(compact_is_excluded("level.ltx"));
  EXPECT_FALSE(compact_is_excluded(""));
}

}  // namespace
