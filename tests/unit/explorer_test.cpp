// Tests of what a run started from Explorer adds: the decision from the console's facts and the arguments, and the page folder.
#include <gtest/gtest.h>

#include "app/run.h"
#include "platform/fs.h"
#include "support/test_support.h"

namespace {

TEST(ExplorerRun, FromTheConsoleFactsAndTheArguments) {
  struct Row {
    unsigned processes;
    bool input_is_console;
    bool output_is_console;
    std::vector<std::string> args;
    ExplorerRun run;
  } rows[] = {
      {1, true, true, {"Texsift"}, ExplorerRun::kUsage},
      {1, true, true, {"Texsift", "C:\\game"}, ExplorerRun::kPage},
      {1, true, true, {"Texsift", "C:\\notes.txt"}, ExplorerRun::kPage},  // the run refuses it
      {1, true, true, {"Texsift", "C:\\game", "C:\\other"}, ExplorerRun::kWait},
      {1, true, true, {"Texsift", "--help"}, ExplorerRun::kWait},
      {1, true, true, {"Texsift", "--"}, ExplorerRun::kWait},
      {1, true, true, {"Texsift", "--json", "C:\\game"}, ExplorerRun::kWait},
      {1, true, true, {"Texsift", "--html", "C:\\page", "C:\\game"}, ExplorerRun::kWait},
      // A console shared with cmd, or a handle redirected: nothing changes.
      {2, true, true, {"Texsift"}, ExplorerRun::kNone},
      {2, true, true, {"Texsift", "C:\\game"}, ExplorerRun::kNone},
      {3, true, true, {"Texsift", "C:\\game"}, ExplorerRun::kNone},
      {1, false, true, {"Texsift", "C:\\game"}, ExplorerRun::kNone},
      {1, true, false, {"Texsift", "C:\\game"}, ExplorerRun::kNone},
      {1, false, false, {"Texsift"}, ExplorerRun::kNone},
      // No console at all, as on POSIX.
      {0, false, false, {"Texsift"}, ExplorerRun::kNone},
      {0, false, false, {"Texsift", "C:\\game"}, ExplorerRun::kNone},
  };
  for (const Row& row : rows) {
    const ConsoleFacts facts{row.processes, row.input_is_console, row.output_is_console};
    EXPECT_EQ(explorer_run(facts, row.args), row.run)
        << row.processes << row.input_is_console << row.output_is_console << " "
        << row.args.size() << " " << row.args.back();
  }
}

TEST(ExplorerPageFolder, TheGameFolderNameBelowTheProgramName) {
  TempTree tree;
  tree.make_directory("games/Zone Mod");
  const std::string s(1, native_separator());
  const std::string real = real_path(tree.root() + "games");
  ASSERT_FALSE(real.empty());
  struct Row {
    std::string documents;
    const char* program;
    std::string game_root;
    std::string folder;
  } rows[] = {
      {"D", "Texsift", real + "/Zone Mod", "D" + s + "Texsift" + s + "Zone Mod"},
      {"D", "Texsift", real + "/Zone Mod/", "D" + s + "Texsift" + s + "Zone Mod"},
      {"D" + s, "Texsift-compact", real + "/Zone Mod//", "D" + s + "Texsift-compact" + s + "Zone Mod"},
      // A path that does not resolve is taken as it is.
      {"D", "Texsift", "C:\\Games\\Missing\\", "D" + s + "Texsift" + s + "Missing"},
      {"D", "Texsift", "C:/Games/Missing", "D" + s + "Texsift" + s + "Missing"},
      {"D", "Texsift", "E:\\", "D" + s + "Texsift" + s + "E"},
      {"D", "Texsift", "E:", "D" + s + "Texsift" + s + "E"},
      {"D", "Texsift", "\\\\", "D" + s + "Texsift" + s + "game"},
      // No Documents folder: no page folder.
      {"", "Texsift", real + "/Zone Mod", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(explorer_page_folder(row.documents, row.program, row.game_root), row.folder)
        << row.documents << " " << row.game_root;
}

}  // namespace
