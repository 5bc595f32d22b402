// The tables of where names begin and the three tests of positions: portable, SSE2 and AVX2.
#include "match/prefilter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <optional>

#if defined(__x86_64__) || defined(_M_X64)
#define TEXSIFT_X86_64 1
#include <immintrin.h>
#endif

namespace {

static_assert(std::endian::native == std::endian::little, "bytes are read as little-endian words");

constexpr uint64_t kTopBits = 0x8080808080808080;
constexpr uint64_t kTextBits = 0xe0e0e0e0e0e0e0e0;  // clear in a byte below 0x20

// The top bit of each of the eight bytes of `word`, byte i's in bit i.
uint64_t gather_top_bits(uint64_t word) {
  // The multiplier's eight shifts carry byte i's top bit to bit 56 + i, and
  // no two products share a bit.
  return (word & kTopBits) * 0x0002040810204081 >> 56;
}

ByteKinds byte_kinds_portable(const unsigned char* data) {
  ByteKinds kinds;
  for (unsigned part = 0; part < 8; ++part) {
    uint64_t word;
    memcpy(&word, data + 8 * part, 8);
    uint64_t text = word & kTextBits;
    // The top bit of each byte of 0x20 or more: bits 5 and 6 moved up to it.
    uint64_t not_control = gather_top_bits(text | text << 1 | text << 2);
    kinds.top |= gather_top_bits(word) << (8 * part);
    kinds.control |= (~not_control & 0xff) << (8 * part);
  }
  return kinds;
}

void add_pair(NameStarts* starts, unsigned char first, unsigned char second) {
  unsigned pair = first * 256u + second;
  starts->pairs[pair / 64] |= uint64_t{1} << (pair % 64);
}

// Widens `range` (its lowest and highest byte) to take in `byte`.
void widen(unsigned char* range, unsigned char byte) {
  range[0] = std::min(range[0], byte);
  range[1] = std::max(range[1], byte);
}

// Sets the bit of `group` for the name's first three bytes, for every half
// past its end.
void add_halves(NameStarts* starts, std::string_view name, uint8_t group) {
  for (size_t k = 0; k < 3; ++k)
    for (unsigned half = 0; half < 16; ++half) {
      auto byte = static_cast<unsigned char>(k < name.size() ? name[k] : 0);
      if (k >= name.size() || (byte & 0x0fu) == half)
        starts->low_half[k][half] |= group;
      if (k >= name.size() || (byte >> 4) == half)
        starts->high_half[k][half] |= group;
    }
}

bool begins_name(const NameStarts& starts, const unsigned char* at) {
  unsigned pair = at[0] * 256u + at[1];
  return (starts.pairs[pair / 64] >> (pair % 64)) & 1u;
}

uint64_t next_start_portable(const NameStarts& starts, const unsigned char* data, uint64_t i,
                             uint64_t end) {
  while (i < end && !begins_name(starts, data + i))
    ++i;
  return i;
}

#if defined(TEXSIFT_X86_64)

// The first position of `mask` (bit j for position i + j) that begins a
// name, or none.
std::optional<uint64_t> first_in_mask(const NameStarts& starts, const unsigned char* data,
                                      uint64_t i, uint32_t mask) {
  for (; mask != 0; mask &= mask - 1) {
    uint64_t at = i + static_cast<unsigned>(std::countr_zero(mask));
    if (begins_name(starts, data + at))
      return at;
  }
  return std::nullopt;
}

__m128i load16(const void* at) {
  return _mm_loadu_si128(static_cast<const __m128i*>(at));
}

// 0xFF in each byte of `bytes` from range[0] to range[1], 0 in the others.
__m128i in_range(__m128i bytes, const unsigned char* range) {
  __m128i low = _mm_set1_epi8(static_cast<char>(range[0]));
  __m128i span = _mm_set1_epi8(static_cast<char>(range[1] - range[0]));
  return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(bytes, low), span), _mm_setzero_si128());
}

// Sixteen positions a step: those whose two bytes lie in the ranges are
// looked up in the pairs.
uint64_t next_start_sse2(const NameStarts& starts, const unsigned char* data, uint64_t i,
                         uint64_t end) {
  for (; i + 16 <= end; i += 16) {
    __m128i both = _mm_and_si128(in_range(load16(data + i), starts.first_range),
                                 in_range(load16(data + i + 1), starts.second_range));
    auto mask = static_cast<uint32_t>(_mm_movemask_epi8(both));
    if (mask == 0)
      continue;
    if (std::optional<uint64_t> at = first_in_mask(starts, data, i, mask))
      return *at;
  }
  return next_start_portable(starts, data, i, end);
}

ByteKinds byte_kinds_sse2(const unsigned char* data) {
  ByteKinds kinds;
  const __m128i text = _mm_set1_epi8(static_cast<char>(0xe0));
  for (unsigned part = 0; part < 4; ++part) {
    __m128i bytes = load16(data + 16 * part);
    __m128i control = _mm_cmpeq_epi8(_mm_and_si128(bytes, text), _mm_setzero_si128());
    kinds.top |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(bytes))} << (16 * part);
    kinds.control |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(control))} << (16 * part);
  }
  return kinds;
}

#define TEXSIFT_AVX2 __attribute__((target("avx2")))

TEXSIFT_AVX2 __m256i load32(const unsigned char* at) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(static_cast<const void*>(at)));
}

// Per byte of `bytes`, the groups of names that may hold it at place `k`.
TEXSIFT_AVX2 __m256i groups_of(const __m256i (&low)[3], const __m256i (&high)[3], size_t k,
                               __m256i bytes) {
  const __m256i nibble = _mm256_set1_epi8(0x0f);
  __m256i low_groups = _mm256_shuffle_epi8(low[k], _mm256_and_si256(bytes, nibble));
  __m256i high_groups =
      _mm256_shuffle_epi8(high[k], _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble));
  return _mm256_and_si256(low_groups, high_groups);
}

// Thirty-two positions a step: each byte's low and high halves give the
// groups of names that may hold it in its place, and the positions where a
// group remains after the first three bytes are looked up in the pairs.
TEXSIFT_AVX2 uint64_t next_start_avx2(const NameStarts& starts, const unsigned char* data,
                                      uint64_t i, uint64_t end) {
  __m256i low[3], high[3];
  for (size_t k = 0; k < 3; ++k) {
    low[k] = _mm256_broadcastsi128_si256(load16(starts.low_half[k]));
    high[k] = _mm256_broadcastsi128_si256(load16(starts.high_half[k]));
  }
  // Position i + 31 reads up to i + 33: within end + 1 when i + 32 <= end.
  for (; i + 32 <= end; i += 32) {
    __m256i groups = _mm256_and_si256(
        _mm256_and_si256(groups_of(low, high, 0, load32(data + i)),
                         groups_of(low, high, 1, load32(data + i + 1))),
        groups_of(low, high, 2, load32(data + i + 2)));
    auto none = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(groups, _mm256_setzero_si256())));
    if (none == 0xffffffffu)
      continue;
    if (std::optional<uint64_t> at = first_in_mask(starts, data, i, ~none))
      return *at;
  }
  return next_start_sse2(starts, data, i, end);
}

#endif

}  // namespace

std::vector<StartTest> available_start_tests() {
  std::vector<StartTest> tests{StartTest::kPortable};
#if defined(TEXSIFT_X86_64)
  tests.push_back(StartTest::kSse2);
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2"))
    tests.push_back(StartTest::kAvx2);
#endif
  return tests;
}

StartTest fastest_start_test() {
  static const StartTest fastest = available_start_tests().back();
  return fastest;
}

NameStarts name_starts(const std::vector<std::string_view>& names, StartTest test) {
  NameStarts starts;
  starts.test = test;
  int group_of_first[256];
  std::fill(std::begin(group_of_first), std::end(group_of_first), -1);
  int groups = 0;
  for (std::string_view name : names) {
    auto first = static_cast<unsigned char>(name[0]);
    widen(starts.first_range, first);
    if (name.size() == 1) {
      for (unsigned second = 0; second < 256; ++second)
        add_pair(&starts, first, static_cast<unsigned char>(second));
      widen(starts.second_range, 0);
      widen(starts.second_range, 0xff);
    } else {
      add_pair(&starts, first, static_cast<unsigned char>(name[1]));
      widen(starts.second_range, static_cast<unsigned char>(name[1]));
    }
    if (group_of_first[first] < 0)
      group_of_first[first] = groups++ % 8;
    add_halves(&starts, name, static_cast<uint8_t>(1u << group_of_first[first]));
  }
  return starts;
}

uint64_t next_start(const NameStarts& starts, const unsigned char* data, uint64_t i,
                    uint64_t end) {
  switch (starts.test) {
#if defined(TEXSIFT_X86_64)
    case StartTest::kAvx2:
      return next_start_avx2(starts, data, i, end);
    case StartTest::kSse2:
      return next_start_sse2(starts, data, i, end);
#endif
    default:
      return next_start_portable(starts, data, i, end);
  }
}

ByteKinds byte_kinds(const unsigned char* data, StartTest test) {
#if defined(TEXSIFT_X86_64)
  if (test != StartTest::kPortable)
    return byte_kinds_sse2(data);
#endif
  (void)test;
  return byte_kinds_portable(data);
}
