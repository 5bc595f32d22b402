// Tests of the compact search for one name: the worked cases, windows at the end of the content, and the model.
#include "match/compact_scanner.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>

#include "support/name_models.h"

namespace {

using namespace std::string_literals;

// The answer of a search for `name` alone, on a heap copy of `data` of
// exactly its size so that AddressSanitizer reports any byte read past its
// end; every start test of the prefilter must give it, and so must the
// model of the scan.
std::optional<uint64_t> find_in_exact_buffer(const std::string& data, std::string_view name) {
  std::unique_ptr<char[]> buffer(new char[data.size()]);
  std::copy(data.begin(), data.end(), buffer.get());
  std::optional<uint64_t> model = model_compact_find_name(
      reinterpret_cast<const unsigned char*>(buffer.get()), data.size(), name);
  // Prepared once per name: the tables call this many times with few names.
  static std::map<std::string, std::vector<std::unique_ptr<CompactNameSearch>>, std::less<>>
      prepared;
  auto& searches = prepared[std::string(name)];
  if (searches.empty())
    for (StartTest test : available_start_tests())
      searches.push_back(std::make_unique<CompactNameSearch>(
          std::vector<std::string_view>{name}, test));
  FoundNames found;
  for (const auto& search : searches) {
    search->find_all(Bytes(reinterpret_cast<const unsigned char*>(buffer.get()), data.size()), &found);
    EXPECT_EQ(found.offset(0), model) << "start test " << &search - searches.data();
  }
  return model;
}

constexpr std::optional<uint64_t> kNone = std::nullopt;

TEST(CompactOneName, WorkedCases) {
  struct Row {
    std::string data;
    const char* name;
    std::optional<uint64_t> offset;
  } rows[] = {
      {"xx act\\act_head.dds\r\n", "act\\act_head", 3},
      {"act\\act_head.dds\r\n", "act\\act_head", 0},
      // The first window holds a top-bit byte.
      {"\xff" "1234567xx act\\act_head.dds", "act\\act_head", 11},
      // The first window is control bytes only.
      {"\0\0\0\0\0\0\0\0xx act\\act_head.dds"s, "act\\act_head", 11},
      // The 4-byte window is passed over; the candidate at 4 fails.
      {"\0\0\0\0ab  act\\act_head.dds"s, "act\\act_head", 8},
      // The byte after the name is not looked at.
      {"x act\\act_headgear", "act\\act_head", 2},
      // The occurrence ends at the end of the content.
      {"x act\\act_head", "act\\act_head", 2},
      // Content exactly as long as the name is not searched.
      {"act\\act_head", "act\\act_head", kNone},
      // The occurrence lies inside a window with a top-bit byte.
      {"\x80" "bc sky\r\n", "sky", kNone},
      {"abcdefg\x80 sky here", "sky", 9},
      {"zzzzzzzzzzzzzzzzzzzzsky\r\n\r\n", "sky", 20},
      {"abcabcabd....", "abd", 6},
      {"sxsky is blue", "sky", 2},
      // The candidate would run past the end.
      {"xxab", "abc", kNone},
      // Four control bytes are passed over, and the window after them holds
      // a top-bit byte: the name right after that byte is passed over too.
      {"\x01\x01\x01\x01xxxx\x80" "abcdefgh.", "a", kNone},
      {"\x01\x01\x01\x01xxxx" "abcdefgh.", "a", 8},
      // Four bytes of 0x1F, the highest control byte, are a window passed
      // over by 4 like any other control bytes: the name at 8 is jumped over.
      {"abcdefg \x1f\x1f\x1f\x1f\x1fxxxxxxxx", "\x1f", 12},
      {"sky", "act\\act_head", kNone},
      {"the sky and the sky", "sky", 4},
      {"no such name here", "sky", kNone},
  };
  for (const Row& row : rows)
    EXPECT_EQ(find_in_exact_buffer(row.data, row.name), row.offset) << row.data;
}

TEST(CompactOneName, WindowPastTheEndCountsAsZeroBytes) {
  // Short names near the end: the 8-byte window reaches past the content,
  // and its missing bytes count as 0x00 (neither top-bit nor text).
  struct Row {
    std::string data;
    const char* name;
    std::optional<uint64_t> offset;
  } rows[] = {
      {"ab.", "ab", 0},
      {"\x01\x02\x03" "ab", "ab", 3},
      {"\x01\x02\x03\x04" "xab", "ab", 5},
      {"xa.", "a", 1},
      {"xa", "a", kNone},
      {"\x01\x01\x01\x01" "a.", "a", 4},
      {"ab\x01\x01", "\x01", kNone},  // the padded window is control bytes only
      {"ab\x01\x01 ", "\x01", 2},
      {"\x01\x01\x01" "a.", "a", 3},
      {"ab\xff", "ab", kNone},
  };
  for (const Row& row : rows)
    EXPECT_EQ(find_in_exact_buffer(row.data, row.name), row.offset) << row.data;
}

TEST(CompactOneName, EveryLengthAgreesWithByteModel) {
  // Every content length from 0 to 20, in exact-size buffers, built from
  // pieces that trigger every window rule; run under AddressSanitizer this
  // also proves that no byte outside the content is read.
  const std::string pieces[] = {"a", "b", "ab", "c", " ", ".", "\0\0\0\0"s,
                                "\x01", "\x1f", "\x1f\x1f\x1f\x1f", "\x7f", "\x80", "\xff"};
  const char* names[] = {"a", "ab", "ba", "abc", "aab", "abab", "abcab", "a\x80", "\x80", "\x01"};
  std::mt19937 random(20140517);
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
  for (size_t length = 0; length <= 20; ++length) {
    for (int sample = 0; sample < 500; ++sample) {
      std::string data;
      while (data.size() < length)
        data += pieces[pick(random)];
      data.resize(length);
      for (std::string_view name : names) {
        SCOPED_TRACE("length " + std::to_string(length) + " name " + std::string(name));
        find_in_exact_buffer(data, name);
      }
    }
  }
}

TEST(CompactOneName, NameAtEveryPlaceOfEveryLength) {
  for (size_t length = 0; length <= 20; ++length) {
    for (std::string_view name : {"a", "sky", "act\\act_head"}) {
      for (size_t at = 0; at + name.size() <= length; ++at) {
        std::string data(length, 'z');
        data.replace(at, name.size(), name);
        SCOPED_TRACE("length " + std::to_string(length) + " at " + std::to_string(at));
        find_in_exact_buffer(data, name);
      }
    }
  }
}

}  // namespace
