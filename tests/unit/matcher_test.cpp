// Tests of the name matcher: terminators, the leading skip, the end of the content.
#include "match/matcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "support/name_models.h"

namespace {

constexpr std::optional<uint64_t> kNone = std::nullopt;

Bytes bytes_of(std::string_view text) {
  return Bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::optional<uint64_t> find(std::string_view content, std::string_view name) {
  return find_name(bytes_of(content), name);
}

// Shows a byte string with its non-printable bytes as \xNN.
std::string shown(std::string_view text) {
  std::string out;
  for (char raw : text) {
    auto c = static_cast<unsigned char>(raw);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

TEST(FindName, EdgeCases) {
  using namespace std::string_literals;
  struct Row {
    std::string content;
    std::string name;
    std::optional<uint64_t> offset;
  } rows[] = {
      {"x act\\act_head.dds", "act\\act_head", 2},         // a full stop follows
      {"act\\act_head_bump", "act\\act_head", kNone},      // an underscore follows
      {"xact\\act_head,", "act\\act_head", 1},             // the byte before is not looked at
      {"act\\act_head", "act\\act_head", 0},               // the end of the file ends the name
      {"act\\act_head\n", "act\\act_head", 0},
      {"x act\\act_head", "act\\act_head", 2},             // a reference in the last bytes
      {"act\\act_hea", "act\\act_head", kNone},            // shorter than the name
      {"", "act\\act_head", kNone},
      {"x ACT\\act_head.", "act\\act_head", kNone},        // case matters
      {"act\\act_head_bump act\\act_head,", "act\\act_head", 18},
      {"sky sky.", "sky", 0},                              // the first occurrence only
      {"ab\0\xFF"s, "ab", kNone},                          // skipped over: 0xFF in the window
      {"text \xC4\xD6\xDC.", "\xC4\xD6\xDC", 5},           // the scan had begun before it
      {"\xFF\xFF\xC4\xD6\xDC.", "\xC4\xD6\xDC", kNone},    // still in the skip
      {"\xC4\xD6\xDC.", "\xC4\xD6\xDC", kNone},            // skipped at the start of the file
      {"\xFF\xFF\xFFsky.", "sky", 3},                      // a text window ends the skip
      {"\x01\x02\x03\x04\x05sky\r\n", "sky", 5},           // control bytes are skipped
      {"ab.\xFF", "ab", kNone},                            // a short name can be skipped
      {"xx ab.\xFF", "ab", 3},                             // unless the scan had begun
      {"aab.\xFF", "ab", kNone},                           // the skip runs again after a miss
      {"aaa.", "aa", 1},                                   // window past the end counts as 0x00
      {"act\\act\\x", "act\\act", 0},                      // a backslash ends a name
  };
  for (const Row& row : rows)
    EXPECT_EQ(find(row.content, row.name), row.offset)
        << shown(row.content) << " / " << shown(row.name);
}

TEST(FindName, FoundAtZeroIsNotNotFound) {
  EXPECT_EQ(find("sky.", "sky"), std::optional<uint64_t>(0));
  EXPECT_EQ(find("skx.", "sky"), kNone);
}

TEST(FindName, EveryByteAfterTheName) {
  const std::string terminators("\0\t\n\r ,.\\]", 9);
  for (int byte = 0; byte < 256; ++byte) {
    std::string content = "act\\act_head";
    content += static_cast<char>(byte);
    bool terminator = terminators.find(static_cast<char>(byte)) != std::string::npos;
    EXPECT_EQ(is_name_terminator(static_cast<unsigned char>(byte)), terminator) << byte;
    EXPECT_EQ(find(content, "act\\act_head"), terminator ? std::optional<uint64_t>(0) : kNone)
        << byte;
  }
}

TEST(FindName, PrefixNames) {
  const std::string content = "x act\\act_head_bump act\\act_head. act\\act_h,";
  EXPECT_EQ(find(content, "act\\act_head_bump"), std::optional<uint64_t>(2));
  EXPECT_EQ(find(content, "act\\act_head"), std::optional<uint64_t>(20));
  EXPECT_EQ(find(content, "act\\act_h"), std::optional<uint64_t>(34));
  EXPECT_EQ(find(content, "act\\act"), kNone);
}

TEST(FindName, ShortNamesNearTheEnd) {
  using namespace std::string_literals;
  struct Row {
    std::string content;
    std::string name;
    std::optional<uint64_t> offset;
  } rows[] = {
      {"a", "a", 0},
      {" a", "a", 1},
      {"\xFF" "a", "a", 1},        // the window at the a is a and one missing byte
      {"a\xFF", "a", kNone},       // the 0xFF is in every window that holds the a
      {"\x01\x01\x01\x01" "a", "a", 4},
      {"\x01\x01\x01\x01", "\x01", kNone},  // control bytes only: all skipped
      {"ab", "ab", 0},
      {"x ab", "ab", 2},
      {"\x01\x01" "ab", "ab", 2},
      {"\xFF" "ab", "ab", 1},
      {"ab\xFF", "ab", kNone},     // a 0xFF after the name is in the window too
      {"\x01" "ab.", "ab", 1},
      {"aa", "aa", 0},
      {"aaa", "aa", 1},
      {"abc", "abc", 0},
      {"\xFF" "abc", "abc", 1},
  };
  for (const Row& row : rows)
    EXPECT_EQ(find(row.content, row.name), row.offset)
        << shown(row.content) << " / " << shown(row.name);
}

TEST(ScanForByte, PositionsAndSkip) {
  struct Row {
    std::string data;
    char ch;
    uint64_t count;
    uint64_t position;
  } rows[] = {
      {"abc", 'a', 3, 1},        // 1-based
      {"abc", 'c', 3, 3},
      {"abc", 'c', 2, 0},        // beyond `count`
      {"abc", 'x', 3, 0},
      {"", 'a', 0, 0},
      {"\xFF" "abc", 'a', 4, 2},
      {"\xFF" "abc", 'a', 1, 0},  // the skip uses up every byte
      {"\x01\x01\x01\x01" "xa", 'a', 6, 6},
      {"\x01\x01\x01\x01", '\x01', 4, 0},
      {"ab\x01\xFF" "a", 'a', 5, 5},  // the a at 0 is passed over with its window
  };
  for (const Row& row : rows)
    EXPECT_EQ(scan_for_byte(bytes_of(row.data), static_cast<unsigned char>(row.ch), row.count),
              row.position)
        << shown(row.data) << " / " << row.ch;
}

TEST(MatchName, TerminatorOrEnd) {
  EXPECT_TRUE(match_name(bytes_of("sky"), "sky"));
  EXPECT_TRUE(match_name(bytes_of("sky]"), "sky"));
  EXPECT_FALSE(match_name(bytes_of("sky_"), "sky"));
  EXPECT_FALSE(match_name(bytes_of("skx "), "sky"));
}

// Bytes that exercise every branch: text, terminators, control and top-bit.
char random_byte(std::mt19937& random) {
  static const char kAlphabet[] = {'a', 'b', '.', ' ', '_', '\0', '\x01', '\x80', '\xFF', '\\'};
  return kAlphabet[random() % sizeof kAlphabet];
}

// Every buffer length from 0 to 16 against names of 1 to 5 bytes, each buffer
// in a heap block of exactly its length so that the sanitizer catches any
// read past its end.
TEST(FindName, AllShortBuffersStayInsideAndAgreeWithModel) {
  std::mt19937 random(20140517);
  for (uint64_t size = 0; size <= 16; ++size) {
    for (size_t len = 1; len <= 5; ++len) {
      for (int trial = 0; trial < 300; ++trial) {
        std::string name;
        for (size_t i = 0; i < len; ++i)
          name += random_byte(random);
        std::unique_ptr<unsigned char[]> data(new unsigned char[size]);
        for (uint64_t i = 0; i < size; ++i)
          data[i] = static_cast<unsigned char>(random_byte(random));
        // Plant the name at a random offset in most trials.
        if (size >= len && trial % 4 != 0)
          memcpy(data.get() + random() % (size - len + 1), name.data(), len);
        EXPECT_EQ(find_name(Bytes(data.get(), size), name),
                  model_find_name(data.get(), size, name))
            << shown(std::string(reinterpret_cast<char*>(data.get()), size)) << " / "
            << shown(name);
      }
    }
  }
}

}  // namespace
