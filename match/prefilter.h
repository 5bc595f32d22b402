// The prefilter of both searches: where in a content a name may begin, and the kinds of its bytes, found many positions at once.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The ways of testing positions for a name's start. All give the same
// answers; the vector ones exist only in x86-64 builds, AVX2 only on
// processors that have it.
enum class StartTest {
  kPortable,  // one position at a time, its first two bytes looked up in the pairs
  kSse2,      // sixteen positions a step: the ranges of first and second bytes
  kAvx2,      // thirty-two a step: the groups of names by the halves of three bytes
};

// The start tests this build can run on this processor, the portable one
// first, the fastest last.
std::vector<StartTest> available_start_tests();

// The last of available_start_tests().
StartTest fastest_start_test();

// The pairs of bytes that a set of names begins with, and coarser tables of
// their first bytes that the vector tests apply to many positions at once,
// leaving only the positions that pass them to the pairs. A one-byte name
// begins a pair with any second byte, and a name shorter than three bytes
// takes any byte past its end.
struct NameStarts {
  std::vector<uint64_t> pairs = std::vector<uint64_t>(1024, 0);  // one bit per two bytes
  // The lowest and highest first byte, and the same for the byte after it.
  unsigned char first_range[2] = {0xff, 0};
  unsigned char second_range[2] = {0xff, 0};
  // Per byte of a name's first three, per low or high half of that byte:
  // the groups of names (one bit each, eight groups by first byte) that may
  // hold it there.
  uint8_t low_half[3][16] = {};
  uint8_t high_half[3][16] = {};
  StartTest test = StartTest::kPortable;
};

// The starts of `names`, none of them empty, for the test `test`, which must
// be one of available_start_tests().
NameStarts name_starts(const std::vector<std::string_view>& names, StartTest test);

// The first position from `i` on, before `end`, whose two bytes are a pair
// that a name begins with; `end` when there is none. Reads the bytes up to
// end + 1, which the content must hold.
uint64_t next_start(const NameStarts& starts, const unsigned char* data, uint64_t i,
                    uint64_t end);

// The kinds of 64 bytes: bit i of `top` set when byte i is 0x80 or more, of
// `control` when it is below 0x20.
struct ByteKinds {
  uint64_t top = 0;
  uint64_t control = 0;
};

// The kinds of the 64 bytes at `data`, found with `test`'s instructions.
ByteKinds byte_kinds(const unsigned char* data, StartTest test);
