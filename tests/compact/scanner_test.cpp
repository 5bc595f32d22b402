// Tests of the compact scanner: the worked cases, windows at the end of the content, and a byte-wise model.
#include "compact/scanner.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace {

using namespace std::string_literals;

// Runs compact_find_name on a heap copy of `data` of exactly its size, so
// that AddressSanitizer reports any byte read past its end.
std::optional<size_t> find_in_exact_buffer(const std::string& data, std::string_view name) {
  std::unique_ptr<char[]> buffer(new char[data.size()]);
  std::copy(data.begin(), data.end(), buffer.get());
  return compact_find_name(buffer.get(), data.size(), name);
}

// The scan written byte by byte over a copy of `data` padded with zero
// bytes: what the scanner must give when the bytes past the end count as 0x00.
std::optional<size_t> model_find(std::string data, std::string_view name) {
  const size_t size = data.size();
  const size_t len = name.size();
  data.append(8, '\0');
  auto any_top = [&](size_t p, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (static_cast<unsigned char>(data[p + i]) >= 0x80)
        return true;
    return false;
  };
  auto all_control = [&](size_t p, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (static_cast<unsigned char>(data[p + i]) >= 0x20)
        return false;
    return true;
  };
  for (size_t pos = 0; len <= size && pos < size - len;) {
    if (any_top(pos, 8) || all_control(pos, 8)) {
      pos += 8;
    } else if (all_control(pos, 4)) {
      pos += 4;
    } else {
      size_t i = 0;
      while (i < len && data[pos + i] != name[0])
        ++i;
      if (i == len) {
        pos += len;
        continue;
      }
      pos += i;
      if (pos + len <= size && data.compare(pos, len, name) == 0)
        return pos;
      pos += 1;
    }
  }
  return std::nullopt;
}

constexpr std::optional<size_t> kNone = std::nullopt;

TEST(CompactFindByte, IndexFromZeroOrNone) {
  const char data[] = "abcabc";
  EXPECT_EQ(compact_find_byte(data, 'a', 6), 0u);
  EXPECT_EQ(compact_find_byte(data, 'c', 6), 2u);
  EXPECT_EQ(compact_find_byte(data, 'c', 2), kNone);
  EXPECT_EQ(compact_find_byte(data, 'x', 6), kNone);
  EXPECT_EQ(compact_find_byte("\x80", '\x80', 1), 0u);
}

TEST(CompactFindName, WorkedCases) {
  struct Row {
    std::string data;
    const char* name;
    std::optional<size_t> offset;
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
      {"sky", "act\\act_head", kNone},
      {"the sky and the sky", "sky", 4},
      {"no such name here", "sky", kNone},
  };
  for (const Row& row : rows)
    EXPECT_EQ(find_in_exact_buffer(row.data, row.name), row.offset) << row.data;
}

TEST(CompactFindName, WindowPastTheEndCountsAsZeroBytes) {
  // Short names near the end: the 8-byte window reaches past the content,
  // and its missing bytes count as 0x00 (neither top-bit nor text).
  struct Row {
    std::string data;
    const char* name;
    std::optional<size_t> offset;
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

TEST(CompactFindName, EveryLengthAgreesWithByteModel) {
  // Every content length from 0 to 20, in exact-size buffers, built from
  // pieces that trigger every window rule; run under AddressSanitizer this
  // also proves that no byte outside the content is read.
  const std::string pieces[] = {"a", "b", "ab", "c", " ", ".", "\0\0\0\0"s,
                                "\x01", "\x1f", "\x7f", "\x80", "\xff"};
  const char* names[] = {"a", "ab", "ba", "abc", "aab", "abab", "abcab", "a\x80", "\x80", "\x01"};
  std::mt19937 random(20140517);
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
  for (size_t length = 0; length <= 20; ++length) {
    for (int sample = 0; sample < 500; ++sample) {
      std::string data;
      while (data.size() < length)
        data += pieces[pick(random)];
      data.resize(length);
      for (std::string_view name : names)
        ASSERT_EQ(find_in_exact_buffer(data, name), model_find(data, name))
            << "length " << length << " name " << name;
    }
  }
}

TEST(CompactFindName, NameAtEveryPlaceOfEveryLength) {
  for (size_t length = 0; length <= 20; ++length) {
    for (std::string_view name : {"a", "sky", "act\\act_head"}) {
      for (size_t at = 0; at + name.size() <= length; ++at) {
        std::string data(length, 'z');
        data.replace(at, name.size(), name);
        ASSERT_EQ(find_in_exact_buffer(data, name), model_find(data, name))
            << "length " << length << " at " << at << " name " << name;
      }
    }
  }
}

}  // namespace
