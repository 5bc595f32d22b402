// Windows-only end-to-end tests of both programs started from Explorer, the decision forced: the page in Documents, the browser asked to open it, the wait for Enter.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/test_support.h"

namespace {

const char kWait[] = "\nPress Enter to close this window.\n";

// A game folder "Zone Mod" with two textures, one of them referenced, and
// the test's Documents folder and browser log.
class ExplorerTree {
 public:
  ExplorerTree() {
    tree.write("Zone Mod/gamedata/textures/act/act_head.dds", "x");
    tree.write("Zone Mod/gamedata/textures/sky.dds", "xy");
    tree.write("Zone Mod/gamedata/config/outfit.ltx", "icon = act\\act_head\r\n");
  }
  std::string game() const { return tree.root() + "Zone Mod"; }
  std::string page(const char* program) const {
    return tree.root() + "docs\\" + program + "\\Zone Mod\\";
  }
  std::string browser_log() const { return read_whole_file(tree.root() + "browser.txt"); }

  // Runs `program` on `args` with the decision forced, the Documents folder
  // and the browser's log here. Standard input is empty: the wait ends at once.
  ProgramResult run(const char* program, const std::vector<std::string>& args) const {
    ScopedEnvironment explorer("TEXSIFT_EXPLORER", "1");
    ScopedEnvironment documents("TEXSIFT_DOCUMENTS", (tree.root() + "docs").c_str());
    ScopedEnvironment browser("TEXSIFT_BROWSER_LOG", (tree.root() + "browser.txt").c_str());
    return run_built_program(program, args);
  }

  TempTree tree;
};

TEST(ExplorerProgram, OneFolderWritesThePageOpensItAndWaits) {
  for (const char* program : {TEXSIFT_PROGRAM, COMPACT_PROGRAM}) {
    SCOPED_TRACE(program);
    const std::string name = program == std::string(TEXSIFT_PROGRAM) ? "Texsift" : "Texsift-compact";
    ExplorerTree tree;
    const ProgramResult normal = run_built_program(program, {tree.game()});
    ASSERT_EQ(normal.status, 0) << normal.err;
    const ProgramResult result = tree.run(program, {tree.game()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::string index = tree.page(name.c_str()) + "index.html";
    EXPECT_EQ(mask_timings(result.out),
              mask_timings(normal.out) + "\nThe page is in " + index + "\n" + kWait);
    EXPECT_NE(read_whole_file(index).find("act_head"), std::string::npos);
    EXPECT_EQ(tree.browser_log(), index + "\n");
    // A second run writes over the page it wrote.
    EXPECT_EQ(tree.run(program, {tree.game()}).status, 0);
  }
}

TEST(ExplorerProgram, EveryEndWaits) {
  struct Row {
    const char* scenario;
    const char* program;
    std::function<std::vector<std::string>(const ExplorerTree&)> args;
    std::function<void(const ExplorerTree&)> setup;
    int status;
    std::function<std::string(const ExplorerTree&)> out;  // what follows the normal run's output
    std::function<std::string(const ExplorerTree&)> err;
  } rows[] = {
      {"no argument", TEXSIFT_PROGRAM, [](const ExplorerTree&) { return std::vector<std::string>{}; },
       [](const ExplorerTree&) {}, 0,
       [](const ExplorerTree&) {
         return std::string("\nDrag the game's folder onto Texsift.exe, or run it from a console.\n") +
                kWait;
       },
       [](const ExplorerTree&) { return std::string(); }},
      {"no argument", COMPACT_PROGRAM, [](const ExplorerTree&) { return std::vector<std::string>{}; },
       [](const ExplorerTree&) {}, 0,
       [](const ExplorerTree&) {
         return std::string(
                    "\nDrag the game's folder onto Texsift-compact.exe, or run it from a console.\n") +
                kWait;
       },
       [](const ExplorerTree&) { return std::string(); }},
      {"a file dropped", TEXSIFT_PROGRAM,
       [](const ExplorerTree& t) {
         return std::vector<std::string>{t.game() + "\\gamedata\\config\\outfit.ltx"};
       },
       [](const ExplorerTree&) {}, 1, [](const ExplorerTree&) { return std::string(kWait); },
       [](const ExplorerTree& t) {
         return "Texsift: error: game root '" + t.game() +
                "\\gamedata\\config\\outfit.ltx\\' is not a directory\n";
       }},
      {"a page folder refused", TEXSIFT_PROGRAM,
       [](const ExplorerTree& t) { return std::vector<std::string>{t.game()}; },
       [](const ExplorerTree& t) { t.tree.write("docs/Texsift/Zone Mod/notes.txt", "mine"); }, 2,
       [](const ExplorerTree&) {
         return std::string(
                    "\nTexsift writes its page there: move away what that folder holds, or run "
                    "Texsift from a console with --html and another folder.\n") +
                kWait;
       },
       [](const ExplorerTree& t) {
         return "Texsift: error: page folder '" + t.page("Texsift") +
                "' holds files that no page of Texsift wrote\n";
       }},
      {"two folders", COMPACT_PROGRAM,
       [](const ExplorerTree& t) { return std::vector<std::string>{t.game(), t.game()}; },
       [](const ExplorerTree&) {}, 0, [](const ExplorerTree&) { return std::string(kWait); },
       [](const ExplorerTree&) { return std::string(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.scenario) + " " + row.program);
    ExplorerTree tree;
    row.setup(tree);
    const std::vector<std::string> args = row.args(tree);
    const ProgramResult normal = run_built_program(row.program, args);
    const ProgramResult result = tree.run(row.program, args);
    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.err, row.err(tree));
    // The page folder is refused before the search, with the game root's checks.
    const std::string before =
        row.status == 2 ? report_opening(tree.game() + "\\", {}, OpeningEnd::kScanningPath)
                        : normal.out;
    EXPECT_EQ(mask_timings(result.out), mask_timings(before) + row.out(tree));
    EXPECT_EQ(tree.browser_log(), "");
  }
}

}  // namespace
