// Expected reports of every mode, and runs of the built programs compared with them.
#include "hostile/hostile_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "hostile/snapshot.h"
#include "support/process.h"

namespace {

const char kTiming[] = "\t# sec # ms\n";

std::string bare_name(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

std::string found_line(const std::string& what, uint64_t offset) {
  return "FOUND '" + what + "' @ " + std::to_string(offset) + "\n";
}

std::string algorithm1_body(const ExpectedTree& tree) {
  std::string text = "algorithm #1 selected (slower)\n";
  const std::string total = std::to_string(tree.names.size());
  for (size_t i = 0; i < tree.names.size(); ++i) {
    text += "searching '" + tree.names[i] + "' (" + std::to_string(i + 1) + " of " + total +
            ")\n";
    bool found = false;
    for (const SearchedFile& file : tree.files)
      for (const Hit& hit : file.hits)
        if (hit.name == tree.names[i]) {
          text += found_line(file.path, hit.offset);
          found = true;
        }
    if (!found)
      text += "NOT FOUND REFERENCED\n";
    text += kTiming;
  }
  return text;
}

std::string algorithm2_body(const ExpectedTree& tree) {
  std::string text = "algorithm #2 selected\n";
  for (const SearchedFile& file : tree.files) {
    text += "searching in '" + bare_name(file.path) + "'\t\t\t\t\n";
    if (file.empty)
      continue;
    for (const Hit& hit : file.hits)
      text += found_line(hit.name, hit.offset);
    text += kTiming;
  }
  return text;
}

std::string compact_body(const ExpectedTree& tree) {
  std::string text;
  for (const SearchedFile& file : tree.files) {
    text += "searching in '" + bare_name(file.path) + "'\n";
    for (const Hit& hit : file.hits)
      text += found_line(file.path, hit.offset);
  }
  return text;
}

}  // namespace

const char* mode_name(Mode mode) {
  switch (mode) {
    case Mode::kAlgorithm1: return "algorithm #1";
    case Mode::kAlgorithm2: return "algorithm #2";
    case Mode::kCompact: return "compact";
  }
  return "";
}

const char* program_name(Mode mode) {
  return mode == Mode::kCompact ? "Texsift-compact" : "Texsift";
}

void write_two_textures(const TempTree& tree) {
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
}

ExpectedTree two_textures(std::vector<SearchedFile> files) {
  return {{"act\\"}, {"act\\act_head", "sky"}, std::move(files)};
}

std::string expected_report(const std::string& root, const ExpectedTree& tree, Mode mode) {
  std::string text = report_opening(root, tree.texture_dirs);
  switch (mode) {
    case Mode::kAlgorithm1: return text + algorithm1_body(tree);
    case Mode::kAlgorithm2: return text + algorithm2_body(tree);
    case Mode::kCompact: return text + compact_body(tree);
  }
  return text;
}

std::string expected_warnings(Mode mode, const std::vector<std::string>& warnings) {
  std::string text;
  for (const std::string& warning : warnings)
    text += std::string(program_name(mode)) + ": warning: " + warning + "\n";
  return text;
}

std::vector<std::string> mode_command(Mode mode, const std::string& root) {
  namespace fs = std::filesystem;
  if (mode == Mode::kCompact)
    return {(fs::current_path() / COMPACT_PROGRAM).string(), root};
  std::string program = (fs::current_path() / TEXSIFT_PROGRAM).string();
  return {program, root, mode == Mode::kAlgorithm1 ? "0" : "1"};
}

ProgramResult run_command(const std::vector<std::string>& args, const CommandRunner& runner) {
  TempTree outputs;
  ProgramResult result;
  result.status = runner(args, outputs.root() + "out", outputs.root() + "err");
  result.out = without_crlf(read_whole_file(outputs.root() + "out"));
  result.err = without_crlf(read_whole_file(outputs.root() + "err"));
  return result;
}

ProgramResult run_mode(Mode mode, const std::string& root,
                       const std::vector<std::string>& prefix) {
  std::vector<std::string> args = prefix;
  for (const std::string& arg : mode_command(mode, root))
    args.push_back(arg);
  return run_command(args, run_program);
}

std::string first_difference(const std::string& actual, const std::string& expected) {
  std::istringstream a(actual), e(expected);
  std::string actual_line, expected_line;
  for (int line = 1;; ++line) {
    bool more_actual = static_cast<bool>(std::getline(a, actual_line));
    bool more_expected = static_cast<bool>(std::getline(e, expected_line));
    if (!more_actual && !more_expected)
      return actual == expected ? "" : "the outputs differ in their final line feed";
    if (more_actual != more_expected || actual_line != expected_line)
      return "line " + std::to_string(line) + ":\n  actual:   " +
             (more_actual ? actual_line : "(end)") + "\n  expected: " +
             (more_expected ? expected_line : "(end)");
  }
}

void expect_run(Mode mode, const ProgramResult& result, const std::string& expected_out,
                const std::string& expected_err) {
  EXPECT_EQ(result.status, 0) << mode_name(mode) << "\n" << result.err;
  std::string out = mask_timings(result.out);
  EXPECT_TRUE(out == expected_out) << mode_name(mode) << ", first difference at "
                                   << first_difference(out, expected_out);
  EXPECT_EQ(result.err, expected_err) << mode_name(mode);
}

void expect_every_mode(const std::string& root, const ExpectedTree& texsift,
                       const ExpectedTree& compact, const RunOptions& options) {
  for (Mode mode : kModes) {
    const ExpectedTree& tree = mode == Mode::kCompact ? compact : texsift;
    TreeSnapshot before;
    if (options.check_nothing_written)
      before = snapshot_tree(root);
    const std::string& shown_root = options.shown_root.empty() ? root : options.shown_root;
    expect_run(mode, run_mode(mode, root, options.prefix), expected_report(shown_root, tree, mode),
               expected_warnings(mode, options.warnings));
    if (options.check_nothing_written) {
      EXPECT_EQ(snapshot_difference(before, snapshot_tree(root)), "") << mode_name(mode);
    }
  }
}
