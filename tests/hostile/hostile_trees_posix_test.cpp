// Hostile game trees on POSIX, end to end: both programs and every mode, whole reports compared.
#include <gtest/gtest.h>

#include <filesystem>

#include "hostile/hostile_support.h"
#include "hostile/posix_tree.h"
#include "hostile/snapshot.h"
#include "hostile/trace_posix.h"
#include "platform/fs.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;

TEST(HostileTree, UnreadableDirectoriesAndFilesArePassedOverInSilence) {
  bool available = false;
  const std::vector<std::string> user = as_unprivileged_user(&available);
  if (!available)
    GTEST_SKIP() << "running as root without setpriv";
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/textures/locked/hidden.dds", "x");
  tree.write("gamedata/textures/sealed.dds", "x");
  tree.write("gamedata/config/a.ltx", "sky\r\n");
  tree.write("gamedata/config/locked/b.ltx", "sky\r\n");
  tree.write("gamedata/config/sealed.ltx", "act\\act_head\r\n");
  tree.write("gamedata/config/z.ltx", "x act\\act_head sealed\r\n");
  make_readable_to_all(tree.root());
  for (const char* path : {"gamedata/textures/locked", "gamedata/textures/sealed.dds",
                           "gamedata/config/locked", "gamedata/config/sealed.ltx"})
    make_unreadable(tree.root() + path);
  // Texsift collects a texture by its name alone; Texsift-compact opens it
  // first, so the sealed one is not in its catalogue.
  ExpectedTree texsift{{"act\\", "locked\\"},
                       {"act\\act_head", "sealed", "sky"},
                       {{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                        {"gamedata\\config\\z.ltx", {{"act\\act_head", 2}, {"sealed", 15}}}}};
  ExpectedTree compact{{"act\\", "locked\\"},
                       {"act\\act_head", "sky"},
                       {{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                        {"gamedata\\config\\z.ltx", {{"act\\act_head", 2}}}}};
  RunOptions options;
  options.prefix = user;
  expect_every_mode(tree.root(), texsift, compact, options);
}

TEST(HostileTree, FifoSocketAndBrokenLinksAreNeverOpened) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/a.ltx", "sky\r\n");
  tree.write("gamedata/config/z.ltx", "act\\act_head\r\n");
  for (const char* folder : {"gamedata/textures/", "gamedata/config/"}) {
    std::string directory = tree.root() + folder;
    make_fifo(directory + "pipe.ltx");
    make_fifo(directory + "pipe.dds");
    make_socket(directory + "sock.ltx");
    make_link("nowhere.ltx", directory + "gone.ltx");
    make_link("nowhere.dds", directory + "gone.dds");
    make_link("nowhere", directory + "gone_dir");
    make_link("loop.ltx", directory + "loop.ltx");  // a link to itself
  }
  ExpectedTree expected = two_textures({{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                                        {"gamedata\\config\\z.ltx", {{"act\\act_head", 0}}}});
  expect_every_mode(tree.root(), expected, expected);
}

TEST(HostileTree, LinkCyclesEndAndNothingRepeatsAlongAPath) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/a.ltx", "sky\r\n");
  tree.write("gamedata/p/f.ltx", "act\\act_head\r\n");
  tree.write("gamedata/q/g.ltx", "sky\r\n");
  // Links to ancestors: the game root, gamedata, and the texture root.
  make_link("..", tree.root() + "gamedata/config/up");
  make_link("../..", tree.root() + "gamedata/config/root");
  make_link("..", tree.root() + "gamedata/textures/act/up");
  // Two directories linked into each other: each is entered once along a path.
  make_link("../q", tree.root() + "gamedata/p/to_q");
  make_link("../p", tree.root() + "gamedata/q/to_p");
  ExpectedTree expected = two_textures({
      {"gamedata\\config\\a.ltx", {{"sky", 0}}},
      {"gamedata\\p\\f.ltx", {{"act\\act_head", 0}}},
      {"gamedata\\p\\to_q\\g.ltx", {{"sky", 0}}},
      {"gamedata\\q\\g.ltx", {{"sky", 0}}},
      {"gamedata\\q\\to_p\\f.ltx", {{"act\\act_head", 0}}},
  });
  expect_every_mode(tree.root(), expected, expected);
}

TEST(HostileTree, PathOverTheLimitIsWarnedOfAndSkipped) {
  TempTree tree;
  write_two_textures(tree);
  tree.make_directory("gamedata/deep");
  tree.write("gamedata/z.ltx", "sky\r\n");
  // Levels of 200-character names, as many as leave room for f.ltx in the
  // deepest; a file there whose name is one character too long for the room left.
  const std::string name(200, 'd');
  const std::string base = tree.root() + "gamedata/deep/";
  const size_t limit = max_path_length();
  const int levels = static_cast<int>((limit - 6 - base.size()) / (name.size() + 1));
  const std::string deepest = base + [&] {
    std::string chain;
    for (int level = 0; level < levels; ++level)
      chain += name + "/";
    return chain;
  }();
  const std::string too_long = std::string(limit - deepest.size() + 1 - 4, 'x') + ".ltx";
  ASSERT_EQ(deepest.size() + too_long.size(), limit + 1);
  FileList files = {{"f.ltx", "sky\r\n"}, {too_long, "sky\r\n"}};
  make_chain(base, name, levels, files);
  std::string f_path = "gamedata\\deep\\";
  for (int level = 0; level < levels; ++level)
    f_path += name + "\\";
  f_path += "f.ltx";
  ExpectedTree expected = two_textures({{f_path, {{"sky", 0}}}, {"gamedata\\z.ltx", {{"sky", 0}}}});
  RunOptions options;
  options.warnings = {"path longer than " + std::to_string(limit) +
                      " characters skipped: " + deepest + too_long};
  expect_every_mode(tree.root(), expected, expected, options);
  remove_chain(base, name, levels, files);
}

TEST(HostileTree, TwoThousandLevelsDeep) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("z.ltx", "sky\r\n");
  const int levels = 2000;
  const FileList files = {{"deep.ltx", "sky\r\n"}};
  ASSERT_LE(tree.root().size() + 2 * levels + 8, max_path_length()) << "temporary folder too deep";
  make_chain(tree.root(), "d", levels, files);
  std::string deep_path;
  for (int level = 0; level < levels; ++level)
    deep_path += "d\\";
  ExpectedTree expected{{}, {"sky"}, {{deep_path + "deep.ltx", {{"sky", 0}}}, {"z.ltx", {{"sky", 0}}}}};
  // A snapshot would hold a directory open per level; other tests show that nothing is written.
  RunOptions options;
  options.check_nothing_written = false;
  expect_every_mode(tree.root(), expected, expected, options);
  remove_chain(tree.root(), "d", levels, files);
}

// What happens to each file, and when: the program is stopped just before
// it opens the file, or just before its first read of it (its size already
// taken).
void change_files(FileEvent event, const std::string& path) {
  auto is = [&](const char* name) {
    return path.size() > 6 && path.compare(path.size() - 6, 6, std::string("/") + name) == 0;
  };
  if (event == FileEvent::kOpen && is("b.ltx")) {
    fs::remove(path);
  } else if (event == FileEvent::kOpen && is("d.ltx")) {
    fs::remove(path);
    make_fifo(path);
  } else if (event == FileEvent::kOpen && is("e.ltx")) {
    fs::resize_file(path, 0);
  } else if (event == FileEvent::kFirstRead && is("c.ltx")) {
    fs::resize_file(path, 14);
  } else if (event == FileEvent::kFirstRead && is("g.ltx")) {
    fs::resize_file(path, 200000);
  }
}

TEST(HostileTree, FilesChangedBetweenListingAndReading) {
  // Every entry of a directory is listed before its first file is read. The
  // program runs traced, and each change is made while it is stopped at
  // the open or the first read of the file concerned: b.ltx is removed,
  // d.ltx becomes a FIFO and e.ltx is emptied, after the listing and before
  // the open; c.ltx loses its last 7 bytes after its size is taken and
  // before it is read, so the read comes back short. g.ltx, large enough to
  // be read in pieces, is cut to 200,000 bytes before its first piece: the
  // second piece comes back short, and the name past the cut is not found.
  for (Mode mode : kModes) {
    TempTree tree;
    write_two_textures(tree);
    tree.write("gamedata/config/a.ltx", "sky\r\n");
    tree.write("gamedata/config/b.ltx", "sky\r\n");
    tree.write("gamedata/config/c.ltx", "x act\\act_head\r\nsky\r\n");
    tree.write("gamedata/config/d.ltx", "sky\r\n");
    tree.write("gamedata/config/e.ltx", "sky\r\n");
    tree.write("gamedata/config/f.ltx", "act\\act_head\r\n");
    std::string large(3 << 20, 'z');
    large.replace(150000, 5, "\nsky\n");
    large.replace(2000000, 14, "\nact\\act_head\n");
    tree.write("gamedata/config/g.ltx", large);
    ProgramResult result = run_command(mode_command(mode, tree.root()),
                                       [](const std::vector<std::string>& args,
                                          const std::string& out, const std::string& err) {
                                         return run_traced(args, out, err, change_files);
                                       });
    if (result.status == -1)
      GTEST_SKIP() << "ptrace is not allowed here";
    SearchedFile empty{"gamedata\\config\\e.ltx", {}, true};
    ExpectedTree expected = two_textures({{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                                          {"gamedata\\config\\c.ltx", {{"act\\act_head", 2}}},
                                          empty,
                                          {"gamedata\\config\\f.ltx", {{"act\\act_head", 0}}},
                                          {"gamedata\\config\\g.ltx", {{"sky", 150001}}}});
    expect_run(mode, result, expected_report(tree.root(), expected, mode));
    EXPECT_TRUE(fs::is_fifo(tree.root() + "gamedata/config/d.ltx"));
    EXPECT_EQ(fs::file_size(tree.root() + "gamedata/config/c.ltx"), 14u);
    EXPECT_EQ(fs::file_size(tree.root() + "gamedata/config/g.ltx"), 200000u);
  }
}

TEST(HostileTree, NonAsciiNamesInUtf8AndCp1251) {
  TempTree tree;
  // The game root itself has a UTF-8 name; "небо_ночь" is written in CP1251.
  const std::string game = "\xd0\xb8\xd0\xb3\xd1\x80\xd0\xb0/";  // игра
  const std::string utf8_sky = "\xd0\xbd\xd0\xb5\xd0\xb1\xd0\xbe";  // небо
  const std::string heavens = "\xd0\xbd\xd0\xb5\xd0\xb1\xd0\xb5\xd1\x81\xd0\xb0";  // небеса
  const std::string cp1251_night_sky = "\xed\xe5\xe1\xee_\xed\xee\xf7\xfc";
  const std::string utf8_config = "\xd0\xba\xd0\xbe\xd0\xbd\xd1\x84\xd0\xb8\xd0\xb3.ltx";
  const std::string cp1251_config = "\xea\xee\xed\xf4\xe8\xe3.ltx";
  const std::string settings = "\xd0\xbd\xd0\xb0\xd1\x81\xd1\x82\xd1\x80\xd0\xbe\xd0\xb9\xd0\xba\xd0\xb8";
  tree.write(game + "gamedata/textures/act/act_head.dds", "x");
  tree.write(game + "gamedata/textures/act/" + utf8_sky + ".dds", "x");
  tree.write(game + "gamedata/textures/act/" + cp1251_night_sky + ".dds", "x");
  tree.write(game + "gamedata/textures/" + heavens + "/sky.dds", "x");
  tree.write(game + "gamedata/config/" + utf8_config, "texture = act\\" + utf8_sky + "\r\n");
  tree.write(game + "gamedata/config/" + cp1251_config,
             "texture = act\\" + cp1251_night_sky + "\r\n");
  tree.write(game + "gamedata/" + settings + "/sky.ltx", "texture = " + heavens + "\\sky\r\n");
  // Names compare with ASCII letters upper-cased, then byte by byte: ASCII,
  // then UTF-8 (0xD0...), then CP1251 (0xE0...).
  ExpectedTree expected{
      {"act\\", heavens + "\\"},
      {"act\\act_head", "act\\" + utf8_sky, "act\\" + cp1251_night_sky, heavens + "\\sky"},
      {{"gamedata\\config\\" + utf8_config, {{"act\\" + utf8_sky, 10}}},
       {"gamedata\\config\\" + cp1251_config, {{"act\\" + cp1251_night_sky, 10}}},
       {"gamedata\\" + settings + "\\sky.ltx", {{heavens + "\\sky", 10}}}}};
  expect_every_mode(tree.root() + game, expected, expected);
}

TEST(HostileTree, BackslashesInNamesAreWarnedOfAndSkipped) {
  // A backslash is the separator of every path the programs build, so a name
  // that holds one (as a Windows archive unpacked flat leaves behind) would
  // stand for another entry: a\b.ltx for the file b.ltx in the folder a, and
  // a folder named ..\..\..\outside for the folder outside the game tree that
  // holds secret.ltx.
  TempTree tree;
  const std::string game = tree.root() + "game/";
  tree.write("game/gamedata/textures/act/act_head.dds", "x");
  tree.write("game/gamedata/textures/sky.tga", "x");
  tree.write("game/gamedata/textures/wpn\\wpn_pm.dds", "x");
  tree.write("game/gamedata/config/a/b.ltx", "act\\act_head\r\n");
  tree.write("game/gamedata/config/a\\b.ltx", "sky\r\n");
  tree.write("game/gamedata/config/..\\..\\..\\outside/inside.ltx", "sky\r\n");
  tree.write("outside/secret.ltx", "sky\r\n");
  ExpectedTree expected = two_textures({{"gamedata\\config\\a\\b.ltx", {{"act\\act_head", 0}}}});
  RunOptions options;
  options.warnings = {
      "backslash in a name, entry skipped: " + game + "gamedata/textures/wpn\\wpn_pm.dds",
      "backslash in a name, entry skipped: " + game + "gamedata/config/..\\..\\..\\outside",
      "backslash in a name, entry skipped: " + game + "gamedata/config/a\\b.ltx"};
  expect_every_mode(game, expected, expected, options);
}

// A tree whose reports, in every mode, are far longer than a pipe holds.
void write_long_report_tree(const TempTree& tree) {
  for (int i = 0; i < 2000; ++i)
    tree.write("gamedata/textures/t/texture_" + std::to_string(10000 + i) + ".dds", "x");
  for (int i = 0; i < 5000; ++i)
    tree.write("gamedata/config/file_" + std::to_string(10000 + i) + ".ltx", "x\r\n");
}

// True when `err` holds no report of a sanitizer or a crash.
bool no_crash_report(const std::string& err) {
  for (const char* sign : {"Sanitizer", "runtime error", "Segmentation", "Aborted", "core dumped",
                           "terminate called", "stack"})
    if (err.find(sign) != std::string::npos)
      return false;
  return true;
}

TEST(HostileTree, BrokenStandardOutputEndsTheRun) {
  // Standard output into `head -1`, which leaves after one line: the next
  // write ends the program by SIGPIPE (status 141), or by its own error and
  // status 1 where SIGPIPE is ignored.
  TempTree tree;
  write_long_report_tree(tree);
  for (Mode mode : kModes) {
    std::vector<std::string> args = {"/bin/bash", "-c", "\"$@\" | head -1; exit ${PIPESTATUS[0]}",
                                     "bash"};
    for (const std::string& arg : mode_command(mode, tree.root()))
      args.push_back(arg);
    ProgramResult result = run_command(args, run_program);
    const std::string error = std::string(program_name(mode)) +
                              ": error: cannot write to standard output\n";
    EXPECT_TRUE((result.status == 141 && result.err.empty()) ||
                (result.status == 1 && result.err == error))
        << mode_name(mode) << ": status " << result.status << "\n" << result.err;
    EXPECT_TRUE(no_crash_report(result.err)) << result.err;
    EXPECT_EQ(result.out + "\n", kBanner);
  }
}

TEST(HostileTree, ClosedStandardOutputEndsTheRun) {
  // Standard output closed: the first write fails, and the program says so
  // on standard error and exits with status 1. Every file it opens is
  // opened for reading only, so a descriptor that takes the place of
  // standard output can never be written to.
  TempTree tree;
  write_long_report_tree(tree);
  TreeSnapshot before = snapshot_tree(tree.root());
  for (Mode mode : kModes) {
    std::vector<std::string> args = {"/bin/bash", "-c", "exec \"$@\" >&-", "bash"};
    for (const std::string& arg : mode_command(mode, tree.root()))
      args.push_back(arg);
    ProgramResult result = run_command(args, run_program);
    EXPECT_EQ(result.status, 1) << mode_name(mode);
    EXPECT_EQ(result.err, std::string(program_name(mode)) +
                              ": error: cannot write to standard output\n");
  }
  EXPECT_EQ(snapshot_difference(before, snapshot_tree(tree.root())), "");
}

}  // namespace
