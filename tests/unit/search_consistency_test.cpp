// Both searches of Texsift find the same references on a larger generated tree.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "app/texsift.h"
#include "support/generated_tree.h"
#include "support/test_support.h"

namespace {

// A reference found: texture name, bare file name and offset.
using Reference = std::tuple<std::string, std::string, uint64_t>;

// Runs Texsift with `flag` on `tree` and returns its transcript without colours.
std::string run_plain(const TempTree& tree, const char* flag) {
  RecordingConsole console;
  EXPECT_EQ(run_texsift({"Texsift", tree.root(), flag}, console), 0);
  static const std::regex colour("\\{[0-9]+\\}");
  return std::regex_replace(console.transcript(), colour, "");
}

std::string bare_name(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

// The references in the report of either algorithm. A "searching" line gives
// the texture (algorithm #1) or the file (algorithm #2) of the FOUND lines
// that follow it; a FOUND line gives the other one and the offset.
std::set<Reference> references(const std::string& transcript) {
  static const std::regex searching_texture("searching '(.*)' \\([0-9]+ of [0-9]+\\)");
  static const std::regex searching_file("searching in '(.*)'\t*");
  static const std::regex found("FOUND '(.*)' @ ([0-9]+)");
  std::set<Reference> result;
  std::string texture, file;
  std::istringstream lines(transcript);
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, searching_file)) {
      file = match[1];
      texture.clear();
    } else if (std::regex_match(line, match, searching_texture)) {
      texture = match[1];
      file.clear();
    } else if (std::regex_match(line, match, found)) {
      uint64_t offset = std::stoull(match[2]);
      if (texture.empty())
        result.emplace(match[1], file, offset);
      else
        result.emplace(texture, bare_name(match[1]), offset);
    }
  }
  return result;
}

TEST(SearchConsistency, BothAlgorithmsFindTheSameReferences) {
  TempTree tree;
  TreeGenerator(tree).generate();
  std::set<Reference> per_texture = references(run_plain(tree, "0"));
  std::set<Reference> per_file = references(run_plain(tree, "1"));
  EXPECT_GE(per_texture.size(), 150u);  // the tree is not trivially empty of references
  EXPECT_EQ(per_texture, per_file);
}

}  // namespace
