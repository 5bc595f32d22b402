// Tests of the one-pass name search: it must answer exactly as find_name does, name by name; and of its prefilter.
#include "match/name_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "match/prefilter.h"
#include "support/name_models.h"

namespace {

Bytes bytes_of(std::string_view text) {
  return Bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

// The ways of building a search that the tests run: each start test of the
// prefilter, with one automaton and, for a table bound small enough, with
// the catalogue split over several.
struct Build {
  StartTest test;
  size_t largest_table;
};

std::vector<Build> every_build() {
  std::vector<Build> builds;
  for (StartTest test : available_start_tests()) {
    builds.push_back({test, size_t{1} << 26});
    builds.push_back({test, 256});
  }
  return builds;
}

std::vector<std::optional<uint64_t>> search_all(const NameSearch& search,
                                                std::string_view content) {
  FoundNames found;
  search.find_all(bytes_of(content), &found);
  return all_offsets(found);
}

std::vector<std::optional<uint64_t>> reference(std::string_view content,
                                               const std::vector<std::string_view>& names) {
  std::vector<std::optional<uint64_t>> offsets;
  for (std::string_view name : names)
    offsets.push_back(find_name(bytes_of(content), name));
  return offsets;
}

// The first position before `end` whose two bytes a name of `names` begins
// with (a one-byte name with its byte and any other), byte by byte.
uint64_t first_pair(const std::vector<std::string_view>& names, std::string_view content,
                    uint64_t end) {
  for (uint64_t i = 0; i < end; ++i)
    for (std::string_view name : names)
      if (content[i] == name[0] && (name.size() == 1 || content[i + 1] == name[1]))
        return i;
  return end;
}

TEST(Prefilter, EveryStartTestFindsTheFirstPair) {
  const std::string text(40, 'x');
  struct Row {
    std::vector<std::string_view> names;
    std::string content;  // searched up to its last byte, which is read only as a second byte
  } rows[] = {
      {{"sky", "act"}, text + "act\\sky" + text},
      {{"ab"}, text + "aab" + text},
      // A one-byte name begins a pair with any byte after it.
      {{"a"}, text + "a~" + text},
      {{"a", "bcd"}, text + "bb" + "a\xff" + text},
      {{"q"}, text + text + "q"},  // its pair's second byte is past the end
      {{"zz", "yyy"}, text + text},
  };
  for (const Row& row : rows) {
    const auto* data = reinterpret_cast<const unsigned char*>(row.content.data());
    uint64_t end = row.content.size() - 1;
    for (StartTest test : available_start_tests()) {
      SCOPED_TRACE(std::string(row.names[0]) + ", start test " +
                   std::to_string(static_cast<int>(test)));
      EXPECT_EQ(next_start(name_starts(row.names, test), data, 0, end),
                first_pair(row.names, row.content, end));
    }
  }
}

TEST(NameSearch, CataloguesOfAwkwardNames) {
  using namespace std::string_literals;
  struct Row {
    std::string content;
    std::vector<std::string_view> names;
  } rows[] = {
      // Prefix pairs: the shorter name counts only where a terminator follows it.
      {"x act\\act_head_old act\\act_head\r\n", {"act\\act_head", "act\\act_head_old"}},
      {"act\\act_head_old", {"act\\act_head_old", "act\\act_head"}},
      // Duplicates answer alike.
      {"a sky,", {"sky", "sky", "sk", "sky"}},
      // A name holding the backslash terminator, and its directory as a name.
      {"act\\act_head act\\ ", {"act", "act\\act_head", "act\\"}},
      // A name ending at the very end of the content.
      {"texture = wpn\\wpn_pm", {"wpn\\wpn_pm", "wpn"}},
      // Short names and names with top-bit bytes are hidden by the skip as find_name hides them.
      {"ab\0\xff"s, {"ab", "a"}},
      {"text \xc4\xd6\xdc.", {"\xc4\xd6\xdc"}},
      {"\xff\xff\xc4\xd6\xdc.", {"\xc4\xd6\xdc"}},
      // So are names of bytes 0x10 to 0x1F: the skip passes windows of bytes
      // below 0x20, here over the first occurrence and over the only one.
      {"\x10\x11\x12\0 \x10\x11\x12."s, {"\x10\x11\x12"}},
      {"\x1f\x1e\x1d\x1c", {"\x1e\x1d\x1c"}},
      // Names that are suffixes of other names end in the same place.
      {"x\\b\\c.", {"x\\b\\c", "b\\c", "\\c"}},
      // More first bytes than the vector search has groups: groups are shared.
      {"jkl ijk abc bcd cde def efg fgh ghi hij ", {"abc", "bcd", "cde", "def", "efg", "fgh",
                                                     "ghi", "hij", "ijk", "jkl"}},
      {"", {"abc"}},
      {"ab", {"abc"}},
  };
  for (const Build& build : every_build())
    for (const Row& row : rows) {
      NameSearch search(row.names, build.test, build.largest_table);
      EXPECT_EQ(search_all(search, row.content), reference(row.content, row.names))
          << row.content << " start test " << static_cast<int>(build.test) << " table "
          << build.largest_table;
    }
}

// Random contents rich in terminators, top-bit and control bytes, with names
// planted at the start, in the middle and at the end; each round with the
// next way of building the search. A search whose names all take windows
// also runs over the content in pieces of 1 to 8 bytes, so names and their
// terminators straddle every boundary, and must answer the same.
TEST(NameSearch, AgreesWithFindNameOnRandomData) {
  const std::vector<Build> builds = every_build();
  std::mt19937_64 random(20261207);
  auto pick = [&](std::string_view from) { return from[random() % from.size()]; };
  const std::string_view name_bytes("ab\\_c\xc4\x7f\x20", 8);
  const std::string_view filler("ab\\. ,]_\0\xff\x80\n\r\t\x1f" "c", 16);
  long names_found = 0, names_missed = 0;
  FoundNames found;  // reused, as a worker does from file to file
  long windowed_rounds = 0;
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::string> store;
    for (int n = 1 + static_cast<int>(random() % 8); n > 0; --n) {
      std::string name;
      // Every fourth round, names of three bytes or more, all of which take windows.
      for (size_t length = (round % 4 == 1 ? 3 : 1) + random() % 7; name.size() < length;)
        name += pick(round % 2 ? name_bytes.substr(0, 5) : name_bytes);
      store.push_back(name);
      if (random() % 4 == 0)
        store.push_back(name);
      if (name.size() > 1 && random() % 3 == 0)
        store.push_back(name.substr(0, name.size() - 1));
    }
    std::string content;
    for (size_t size = random() % 120; content.size() < size;)
      content += random() % 6 == 0 ? store[random() % store.size()] : std::string(1, pick(filler));
    if (random() % 3 == 0)
      content += store[random() % store.size()];
    std::vector<std::string_view> names(store.begin(), store.end());
    const Build& build = builds[static_cast<size_t>(round) % builds.size()];
    const NameSearch search(names, build.test, build.largest_table);
    search.find_all(bytes_of(content), &found);
    std::vector<std::optional<uint64_t>> offsets;
    std::vector<uint32_t> found_names;
    for (uint32_t n = 0; n < names.size(); ++n) {
      offsets.push_back(found.offset(n));
      if (offsets.back())
        found_names.push_back(n);
    }
    ASSERT_EQ(offsets, reference(content, names)) << round;
    ASSERT_EQ(found.names(), found_names) << round;
    if (search.window_overlap()) {
      ++windowed_rounds;
      const size_t piece = 1 + random() % 8;
      FoundNames in_pieces;
      EXPECT_EQ(find_in_pieces_of(search, bytes_of(content), piece, &in_pieces), content.size());
      ASSERT_EQ(all_offsets(in_pieces), offsets) << round << " pieces of " << piece;
      ASSERT_EQ(in_pieces.names(), found_names) << round;
    }
    names_found += static_cast<long>(found_names.size());
    names_missed += static_cast<long>(names.size() - found_names.size());
  }
  // The contents are made so that both answers are common.
  EXPECT_GT(names_found, 20000);
  EXPECT_GT(names_missed, 20000);
  EXPECT_GT(windowed_rounds, 4000);
}

}  // namespace
