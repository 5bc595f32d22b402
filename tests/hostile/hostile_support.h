// What each program and mode must report on a game tree, and runs of the built programs to check it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/test_support.h"

// The three ways of searching a tree: Texsift's algorithms #1 and #2, and Texsift-compact.
enum class Mode { kAlgorithm1, kAlgorithm2, kCompact };

constexpr Mode kModes[] = {Mode::kAlgorithm1, Mode::kAlgorithm2, Mode::kCompact};

// The mode's name in test messages: "algorithm #1", "algorithm #2" or "compact".
const char* mode_name(Mode mode);

// The name the mode's program gives itself in its messages on standard error.
const char* program_name(Mode mode);

// A catalogue name found in a file, and the offset the report gives for it.
struct Hit {
  std::string name;
  uint64_t offset;
};

// A file that a search reads, as the walk meets it.
struct SearchedFile {
  std::string path;       // from the game root, with backslashes
  std::vector<Hit> hits;  // the names found in it, in catalogue order
  bool empty = false;     // no bytes: its "searching in" line and nothing more
};

// What a tree holds for one program: the texture directories the collection
// walk lists after the texture root, in walk order ("act\"), the catalogue
// names in order, and the files the search reads, in walk order.
struct ExpectedTree {
  std::vector<std::string> texture_dirs;
  std::vector<std::string> names;
  std::vector<SearchedFile> files;
};

// Writes the two textures most cases use: act\act_head (in act\) and sky.
void write_two_textures(const TempTree& tree);

// What a tree with the two textures of write_two_textures holds, with `files`.
ExpectedTree two_textures(std::vector<SearchedFile> files);

// The whole standard output that `mode` must print for the game root `root`
// holding `tree`, timings masked as mask_timings masks them.
std::string expected_report(const std::string& root, const ExpectedTree& tree, Mode mode);

// The standard error of a run of `mode` that warns of each of `warnings`:
// "<program>: warning: <text>" lines.
std::string expected_warnings(Mode mode, const std::vector<std::string>& warnings);

// The command that runs the program of `mode` on `root`: the program's
// path, then its arguments.
std::vector<std::string> mode_command(Mode mode, const std::string& root);

// Something that runs a command with its standard output and error written
// to two files and returns its exit status, as run_program does.
using CommandRunner = std::function<int(const std::vector<std::string>& args,
                                        const std::string& stdout_path,
                                        const std::string& stderr_path)>;

// Runs `args` with `runner` and returns what it gave.
ProgramResult run_command(const std::vector<std::string>& args, const CommandRunner& runner);

// Runs the program of `mode` on `root`, with `prefix` (for example a command
// that changes the user) in front of the program's path.
ProgramResult run_mode(Mode mode, const std::string& root,
                       const std::vector<std::string>& prefix = {});

// Checks a run: exit status 0, standard output (timings masked) equal to
// `expected_out`, standard error equal to `expected_err`. A difference in
// the output is shown by its first differing line.
void expect_run(Mode mode, const ProgramResult& result, const std::string& expected_out,
                const std::string& expected_err = "");

// How expect_every_mode runs the programs.
struct RunOptions {
  std::vector<std::string> warnings;  // each mode's warnings, in order
  std::vector<std::string> prefix;    // put in front of the program's path
  bool check_nothing_written = true;  // snapshot the tree before and after each run
  std::string shown_root;             // the root as the report shows it; empty: as given
};

// Runs every mode on `root` and checks each against `texsift` (both
// algorithms) or `compact`, with the warnings each must give, and that no
// run changed anything under `root`.
void expect_every_mode(const std::string& root, const ExpectedTree& texsift,
                       const ExpectedTree& compact, const RunOptions& options = {});

// The line at which `actual` first differs from `expected`, with both lines;
// empty when they are equal.
std::string first_difference(const std::string& actual, const std::string& expected);
