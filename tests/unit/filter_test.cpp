// Tests of both programs' search filters: the program-file rule, directories and the exclusion tables.
#include "search/filter.h"

#include <gtest/gtest.h>

#include "search/second_look.h"

namespace {

constexpr bool kDirectory = true;
constexpr bool kFile = false;
constexpr EntryAction kRead = EntryAction::kRead;
constexpr EntryAction kSkip = EntryAction::kSkip;
constexpr EntryAction kDescend = EntryAction::kDescend;

TEST(IsSearchable, EdgeCases) {
  struct Row {
    const char* name;
    bool is_directory;
    EntryAction texsift;  // is_searchable
    EntryAction compact;  // compact_entry_action
  } rows[] = {
      {"engine_qz.dll", kFile, kRead, kRead},  // "qz" lets a program file through
      {"qz_tool.exe", kFile, kRead, kRead},
      {"audio.dll", kFile, kSkip, kRead},  // compact has no program-file rule
      {"setup.exe", kFile, kSkip, kRead},
      {"old.exe", kDirectory, kSkip, kDescend},  // the rule comes before directories
      {"lib.dll", kDirectory, kSkip, kDescend},
      {"tools_qz.exe", kDirectory, kDescend, kDescend},
      {"SETUP.EXE", kFile, kRead, kRead},  // the tests are case-sensitive
      {"AUDIO.DLL", kFile, kRead, kRead},
      {"QZ_main.exe", kFile, kSkip, kRead},
      {"engine_qz.dll.bak", kFile, kSkip, kSkip},  // through the rule, then excluded
      {"config", kDirectory, kDescend, kDescend},
      {"sounds.ogg", kDirectory, kDescend, kDescend},  // the tables are for files only
      {"level.ltx", kFile, kRead, kRead},
      {"textures.ltx", kFile, kSkip, kRead},
      {"external.ltx", kFile, kSkip, kRead},
      {"notes.txt", kFile, kSkip, kRead},
      {"base.xml", kFile, kSkip, kRead},
      {"save.sav", kFile, kSkip, kRead},
      {"a.script", kFile, kSkip, kRead},
      {"level.bin", kFile, kSkip, kRead},
      {"old~", kFile, kSkip, kRead},
      {"foo.DDS", kFile, kRead, kRead},
      {"foo.dds", kFile, kSkip, kSkip},
      {"x.ddsx", kFile, kSkip, kSkip},
      {"readme", kFile, kRead, kRead},
      {"a.hud.ltx", kFile, kSkip, kSkip},  // ".h" anywhere in the name
      {"shader.hlsl", kFile, kSkip, kSkip},
      {"level.aim", kFile, kSkip, kSkip},  // ".ai" is a prefix of ".aim"
      {"level.spawn", kFile, kRead, kRead},
      {"mesh.ogf", kFile, kRead, kRead},
  };
  for (const Row& row : rows) {
    DirEntry entry{row.name, row.is_directory};
    EXPECT_EQ(is_searchable(entry), row.texsift) << row.name;
    EXPECT_EQ(compact_entry_action(entry), row.compact) << row.name;
  }
}

TEST(IsSearchable, EveryExcludedSubstringAnywhereInTheName) {
  const char* excluded[] = {
      ".ai", ".anm", ".bak", ".bat", ".bin", ".bpl", ".cform", ".cmd", ".dds", ".drv",
      ".efd", ".env_mod", ".game", ".gct", ".geom", ".graph", ".h", ".hom", ".ini", ".inf",
      ".log", ".manifest", ".net", ".ogg", ".ogm", ".omf", ".ppe", ".ps_static",
      ".snd_env", ".snd_static", ".rar", ".sav", ".script", ".sfap0", ".scc", ".som",
      ".tga", ".thm", ".txt", ".wallmarks", ".xml", ".qz", ".zip", "external.ltx",
      "textures.ltx", "~",
  };
  ASSERT_EQ(std::size(excluded), 46u);
  for (const char* part : excluded) {
    EXPECT_EQ(is_searchable({std::string("a") + part, kFile}), kSkip) << part;
    EXPECT_EQ(is_searchable({std::string("a") + part + ".ltx", kFile}), kSkip) << part;
    EXPECT_EQ(is_searchable({std::string("a") + part, kDirectory}), kDescend) << part;
  }
}

// The second look reads the files the search passes over by name, save
// images, sounds, videos and archives, and walks
// the folders the search walks.
TEST(SecondLookAction, FilesTheSearchPassesOver) {
  struct Row {
    const char* name;
    bool is_directory;
    EntryAction action;
  } rows[] = {
      {"hud.xml", kFile, kRead},
      {"hud.script", kFile, kRead},
      {"level.wallmarks", kFile, kRead},
      {"setup.exe", kFile, kRead},  // passed over by the program-file rule
      {"old.ltx~", kFile, kRead},
      {"weapons.ltx", kFile, kSkip},  // the search reads it
      {"readme", kFile, kSkip},
      {"act_head.thm", kFile, kRead},  // a texture description: the second look tells its uses
      {"textures.ltx", kFile, kRead},
      {"Textures.LTX", kFile, kSkip},  // the search reads it: its exclusion is case-sensitive
      {"act_head.dds", kFile, kSkip},  // images
      {"act_head.tga", kFile, kSkip},
      {"shot.PNG", kFile, kSkip},
      {"step.ogg", kFile, kSkip},  // sounds
      {"step.wav", kFile, kSkip},
      {"intro.ogm", kFile, kSkip},  // videos
      {"intro.bik", kFile, kSkip},
      {"mod.zip", kFile, kSkip},  // archives
      {"mod.rar", kFile, kSkip},
      {"act_head.thm.bak", kFile, kRead},  // the last extension counts
      {"config", kDirectory, kDescend},
      {"old.exe", kDirectory, kSkip},  // the search does not walk it
  };
  for (const Row& row : rows)
    EXPECT_EQ(second_look_action(DirEntry{row.name, row.is_directory}), row.action) << row.name;
}

TEST(CompactIsExcluded, EveryEntryOfTheTable) {
  const char* excluded[] = {
      ".ai", ".anm", ".bak", ".bat", ".cform", ".cmd", ".dds", ".drv", ".efd", ".env_mod",
      ".game", ".gct", ".geom", ".graph", ".h", ".hom", ".ini", ".inf", ".log", ".manifest",
      ".ogg", ".ogm", ".omf", ".ppe", ".ps_static", ".snd_env", ".snd_static", ".rar",
      ".sfap0", ".scc", ".som", ".tga", ".thm", ".wallmarks", ".zip", ".qz",
  };
  ASSERT_EQ(std::size(excluded), 36u);
  for (std::string part : excluded) {
    EXPECT_TRUE(compact_is_excluded("name" + part)) << part;
    EXPECT_TRUE(compact_is_excluded("x" + part + "y")) << part;
  }
  EXPECT_FALSE(compact_is_excluded("qz_tool"));  // ".qz", not "qz"
  EXPECT_FALSE(compact_is_excluded(""));
}

}  // namespace
