// Tests of the searchable-file filter: the program-file rule, directories and the exclusion list.
#include "search/filter.h"

#include <gtest/gtest.h>

namespace {

constexpr bool kDirectory = true;
constexpr bool kFile = false;

EntryAction judge(const std::string& name, bool is_directory) {
  return is_searchable(DirEntry{name, is_directory});
}

TEST(IsSearchable, EdgeCases) {
  struct Row {
    const char* name;
    bool is_directory;
    EntryAction action;
  } rows[] = {
      {"engine_qz.dll", kFile, EntryAction::kRead},    // "qz" lets a program file through
      {"qz_tool.exe", kFile, EntryAction::kRead},
      {"audio.dll", kFile, EntryAction::kSkip},
      {"setup.exe", kFile, EntryAction::kSkip},
      {"old.exe", kDirectory, EntryAction::kSkip},     // the rule comes before directories
      {"lib.dll", kDirectory, EntryAction::kSkip},
      {"tools_qz.exe", kDirectory, EntryAction::kDescend},
      {"SETUP.EXE", kFile, EntryAction::kRead},        // the tests are case-sensitive
      {"AUDIO.DLL", kFile, EntryAction::kRead},
      {"QZ_main.exe", kFile, EntryAction::kSkip},
      {"engine_qz.dll.bak", kFile, EntryAction::kSkip},  // through the rule, then excluded
      {".", kDirectory, EntryAction::kSkip},
      {"..", kDirectory, EntryAction::kSkip},
      {"config", kDirectory, EntryAction::kDescend},
      {"sounds.ogg", kDirectory, EntryAction::kDescend},  // the list is for files only
      {"level.ltx", kFile, EntryAction::kRead},
      {"weapons.ltx", kFile, EntryAction::kRead},
      {"textures.ltx", kFile, EntryAction::kSkip},
      {"external.ltx", kFile, EntryAction::kSkip},
      {"foo.DDS", kFile, EntryAction::kRead},
      {"foo.dds", kFile, EntryAction::kSkip},
      {"readme", kFile, EntryAction::kRead},
      {"a.hud.ltx", kFile, EntryAction::kSkip},        // ".h" anywhere in the name
      {"shader.hlsl", kFile, EntryAction::kSkip},
      {"level.aim", kFile, EntryAction::kSkip},        // ".ai" is a prefix of ".aim"
      {"old~", kFile, EntryAction::kSkip},
      {"level", kFile, EntryAction::kRead},
      {"level.spawn", kFile, EntryAction::kRead},
      {"mesh.ogf", kFile, EntryAction::kRead},
  };
  for (const Row& row : rows)
    EXPECT_EQ(judge(row.name, row.is_directory), row.action) << row.name;
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
    EXPECT_EQ(judge(std::string("a") + part, kFile), EntryAction::kSkip) << part;
    EXPECT_EQ(judge(std::string("a") + part + ".ltx", kFile), EntryAction::kSkip) << part;
    EXPECT_EQ(judge(std::string("a") + part, kDirectory), EntryAction::kDescend) << part;
  }
}

}  // namespace
