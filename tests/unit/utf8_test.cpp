// Tests of the one UTF-8 decoder: well-formed sequences, what is refused, and surrogates as WTF-8 takes them.
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, DecodesOneCodePoint) {
  struct Row {
    std::string bytes;
    size_t length;       // with Surrogates::kIllFormed; 0 for none
    char32_t code;
    size_t wtf8_length;  // with Surrogates::kDecoded
  };
  const Row rows[] = {
      {"A", 1, U'A', 1},
      {"\xc3\xa4", 2, 0xe4, 2},
      {"\xe2\x80\xa8", 3, 0x2028, 3},
      {"\xf0\x9f\x98\x80", 4, 0x1f600, 4},
      {"\xf4\x8f\xbf\xbf", 4, 0x10ffff, 4},
      {"\xed\xa0\x80", 0, 0xfffd, 3},      // a lone surrogate: U+D800 in WTF-8
      {"\xed\xbf\xbf", 0, 0xfffd, 3},      // U+DFFF
      {"\xc0\xaf", 0, 0xfffd, 0},          // overlong
      {"\xe0\x9f\xbf", 0, 0xfffd, 0},      // overlong
      {"\xf0\x8f\xbf\xbf", 0, 0xfffd, 0},  // overlong
      {"\xf4\x90\x80\x80", 0, 0xfffd, 0},  // past U+10FFFF
      {"\xf5\x80\x80\x80", 0, 0xfffd, 0},  // a byte that begins nothing
      {"\x80", 0, 0xfffd, 0},              // a stray continuation
      {"\xe2\x82", 0, 0xfffd, 0},          // cut short
      {"\xe2\x82" "A", 0, 0xfffd, 0},      // a third byte that continues nothing
  };
  for (const Row& row : rows) {
    char32_t code = 0;
    EXPECT_EQ(decode_utf8(row.bytes, 0, &code), row.length) << row.bytes;
    EXPECT_EQ(code, row.code) << row.bytes;
    EXPECT_EQ(decode_utf8(row.bytes, 0, &code, Surrogates::kDecoded), row.wtf8_length) << row.bytes;
    EXPECT_EQ(is_utf8(row.bytes), row.length == row.bytes.size()) << row.bytes;
  }
}

}  // namespace
