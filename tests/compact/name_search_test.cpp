// Tests of the one-pass compact search: each name's answer equals the per-name model's, on worked and random cases.
#include "match/compact_scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "support/name_models.h"

namespace {

using namespace std::string_literals;
using Offsets = std::vector<std::optional<uint64_t>>;

constexpr std::optional<uint64_t> kNone = std::nullopt;

// A heap copy of `data` of exactly its size, so that AddressSanitizer
// reports any byte read past its end.
std::unique_ptr<char[]> exact_copy(const std::string& data) {
  std::unique_ptr<char[]> buffer(new char[data.size()]);
  std::copy(data.begin(), data.end(), buffer.get());
  return buffer;
}

std::string repeated(std::string_view piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i)
    out += piece;
  return out;
}

std::vector<std::string_view> views(const std::vector<std::string>& names) {
  return std::vector<std::string_view>(names.begin(), names.end());
}

// What the model of the scan gives for each name in turn.
Offsets one_by_one(const char* data, size_t size, const std::vector<std::string_view>& names) {
  Offsets offsets;
  for (std::string_view name : names)
    offsets.push_back(
        model_compact_find_name(reinterpret_cast<const unsigned char*>(data), size, name));
  return offsets;
}

Offsets search_all(const CompactNameSearch& search, const char* data, size_t size) {
  FoundNames found;
  search.find_all(Bytes(reinterpret_cast<const unsigned char*>(data), size), &found);
  return all_offsets(found);
}

// `text` with every byte outside 0x20..0x7E written as \xNN.
std::string shown(std::string_view text) {
  std::string out;
  for (char ch : text) {
    auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7f) {
      out += ch;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    }
  }
  return out;
}

std::string shown(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names)
    out += "[" + shown(name) + "]";
  return out;
}

TEST(CompactFindNames, WorkedCases) {
  struct Row {
    std::string data;
    std::vector<std::string> names;
    Offsets offsets;
  } rows[] = {
      {"", {"a"}, {kNone}},
      {"x", {}, {}},
      // abc is found at the first candidate; abd goes on one byte after it.
      {"abcabd.", {"abd", "abc"}, {3, 0}},
      // An empty name is never found.
      {"a sky.", {"", "sky"}, {kNone, 2}},
      // Duplicates get the same answer.
      {"the sky.", {"sky", "sky", "the"}, {4, 4, 0}},
      // A prefix pair: different lengths, different scans.
      {"x sky_dmg sky.", {"sky_dmg", "sky"}, {2, 2}},
      // Names as long as the content, or longer, are not searched.
      {"sky", {"sky", "skyline", "sk"}, {kNone, kNone, 0}},
      // The first window holds a top-bit byte: both members miss the sky in it.
      {"\x80" "bc sky sxy\r\n", {"sky", "sxy"}, {kNone, 8}},
      {"\0\0\0\0ab  act\\act_head.dds"s, {"act\\act_hand", "act\\act_head"}, {kNone, 8}},
      // The only candidates would run past the end.
      {"xxab", {"abc", "abd", "ab"}, {kNone, kNone, kNone}},
      {"a\x80" "b\xff" "c.", {"\x80", "a\x80", "\xff" "c"}, {kNone, kNone, kNone}},
      // Thousands of occurrences, all in passed windows, before the first
      // candidate.
      {repeated("\xff" "sky", 5000) + "the sky.", {"skz", "sky"}, {kNone, 20004}},
      // A jump from a passed window start six bytes before an s lands past the
      // s after it: the path misses both.
      {"\xff\xff\xff\xff\xff\xff\xff\xff\xff" "abcdessk. sk.", {"sk"}, {19}},
      // The groups of one first byte part at the passed windows and meet again.
      {repeated("s\x01\x01\x01\x01" "sky sk", 300) + "sky_1 sky sk.", {"sk", "sky", "sky_1"},
       {5, 5, 3300}},
  };
  for (StartTest test : available_start_tests())
    for (const Row& row : rows) {
      std::unique_ptr<char[]> data = exact_copy(row.data);
      const CompactNameSearch search(views(row.names), test);
      EXPECT_EQ(search_all(search, data.get(), row.data.size()), row.offsets)
          << shown(row.data) << " " << shown(row.names) << " start test "
          << static_cast<int>(test);
      EXPECT_EQ(one_by_one(data.get(), row.data.size(), views(row.names)), row.offsets);
    }
}

TEST(CompactNameSearch, PreparedOnceServesManyContents) {
  const std::vector<std::string> names = {"sky", "sxy", "sky", "a", "act\\act_head"};
  const CompactNameSearch search(views(names));
  for (std::string data : {"sky"s, "a sxy sky act\\act_head."s, "\xff\xff\xff\xff\xff\xff\xff\xff sky"s,
                           ""s, "xa"s, "act\\act_head and a sky"s}) {
    std::unique_ptr<char[]> copy = exact_copy(data);
    EXPECT_EQ(search_all(search, copy.get(), data.size()),
              one_by_one(copy.get(), data.size(), views(names)))
        << shown(data);
  }
}

// Random catalogues and contents made to meet every rule of the scanner.
class RandomCases {
 public:
  explicit RandomCases(uint32_t seed) : random_(seed) {}

  // 1 to 12 names: fresh ones of 1 to 24 bytes, prefix pairs, longer
  // siblings, duplicates, and names sharing length and first byte with
  // another.
  std::vector<std::string> catalogue() {
    std::vector<std::string> names{fresh_name()};
    for (size_t count = below(12); count > 0; --count)
      names.push_back(related_name(names[below(names.size())]));
    return names;
  }

  // Exactly `length` bytes of runs of top-bit, control, zero and text bytes
  // and copies of the names, most often with a name planted at the start,
  // the middle or the end. With `long_runs`, some runs are hundreds of bytes.
  std::string content(size_t length, const std::vector<std::string>& names,
                      bool long_runs = false) {
    std::string data;
    while (data.size() < length)
      data += piece(names, long_runs);
    data.resize(length);
    const std::string& name = names[below(names.size())];
    if (name.size() <= length) {
      size_t places[] = {0, (length - name.size()) / 2, length - name.size(), length};
      size_t at = places[below(4)];
      if (at != length)
        data.replace(at, name.size(), name);
    }
    return data;
  }

  // About `length` bytes of stretches of 1 to 8 KiB of random bytes or
  // floats, each followed by a name after a 32-bit length, a random byte or
  // a few letters, as binary level and model files hold names: a group's
  // path crosses many skipped stretches between its occurrences.
  std::string scattered(size_t length, const std::vector<std::string>& names) {
    std::string data;
    while (data.size() < length) {
      const size_t gap = 1024 + below(7 * 1024);
      const bool floats = below(2) == 0;
      for (size_t i = 0; i < gap; ++i) {
        // A float's top byte holds its sign and most of its exponent.
        const size_t byte = floats && i % 4 == 3 ? 0x3c + below(4) + 0x80 * below(2) : below(256);
        data += static_cast<char>(byte);
      }
      const std::string& name = names[below(names.size())];
      switch (below(3)) {
        case 0:
          data += std::string{static_cast<char>(name.size()), '\0', '\0', '\0'};
          break;
        case 1:
          data += run('a', 'c', 24);
          break;
        default:
          break;
      }
      data += name;
    }
    return data;
  }

  size_t below(size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
  }

 private:
  // Bytes of every class, with few letters so that names collide often.
  char name_byte() {
    static const char kBytes[] = {'a', 'a', 'b', 'b', 'c', '\\', '_', '\x80', '\xe9', '\xff', '\x01'};
    return kBytes[below(sizeof kBytes)];
  }

  std::string fresh_name() {
    std::string name(1 + below(below(2) == 0 ? 2 : 24), ' ');
    for (char& byte : name)
      byte = name_byte();
    return name;
  }

  std::string related_name(const std::string& name) {
    switch (below(5)) {
      case 0:
        return name.size() > 1 ? name.substr(0, 1 + below(name.size() - 1)) : fresh_name();
      case 1:
        return name + fresh_name();
      case 2:
        return name;
      case 3: {
        std::string sibling = name;
        if (sibling.size() > 1)
          sibling[1 + below(sibling.size() - 1)] = name_byte();
        return sibling;
      }
      default:
        return fresh_name();
    }
  }

  // 1 to `max_length` bytes from `low` to `high`.
  std::string run(unsigned low, unsigned high, size_t max_length) {
    std::string bytes(1 + below(max_length), ' ');
    for (char& byte : bytes)
      byte = static_cast<char>(low + below(high - low + 1));
    return bytes;
  }

  std::string piece(const std::vector<std::string>& names, bool long_runs) {
    switch (below(long_runs ? 9 : 7)) {
      case 0:
        return names[below(names.size())];
      case 1:
        return run(0x80, 0xff, 9);
      case 2:
        return run(0x01, 0x1f, 9);
      case 3:
        return std::string(4 + below(9), '\0');
      case 4:
        return run('a', 'c', 6);
      case 5:
        return std::string(1, ". \r\n\t\\_"[below(7)]);
      case 6:
        return std::string(1, name_byte());
      case 7:
        return run(0x80, 0xff, 2000);
      default:
        return names[below(names.size())] + run('a', 'c', 400);
    }
  }

  std::mt19937 random_;
};

TEST(CompactFindNames, AgreesWithOneNameAtATimeOnRandomCases) {
  // Every content length from 0 to 24 for each catalogue, in exact-size
  // buffers, plus longer contents and, now and then, one of tens of
  // kilobytes; one prepared search serves them all, each catalogue with the
  // next start test of the prefilter. Every third catalogue is split into
  // automata of a few names each. Then names scattered through long binary
  // contents.
  const std::vector<StartTest> tests = available_start_tests();
  RandomCases cases(20140517);
  size_t names_found = 0, names_missed = 0;
  for (int sample = 0; sample < 800; ++sample) {
    const std::vector<std::string> names = cases.catalogue();
    const size_t largest_table = sample % 3 == 2 ? 256 : size_t{1} << 26;
    const CompactNameSearch search(views(names), tests[static_cast<size_t>(sample) % tests.size()],
                                   largest_table);
    for (size_t length = 0; length <= 24 + 3; ++length) {
      size_t size = length <= 24 ? length : 25 + cases.below(300);
      bool long_runs = length == 24 + 3 && sample % 20 == 0;
      if (long_runs)
        size = 20000 + cases.below(50000);
      std::string data = cases.content(size, names, long_runs);
      std::unique_ptr<char[]> copy = exact_copy(data);
      const Offsets expected = one_by_one(copy.get(), size, views(names));
      ASSERT_EQ(search_all(search, copy.get(), size), expected)
          << "content " << shown(data) << " names " << shown(names);
      for (const std::optional<uint64_t>& offset : expected)
        ++(offset ? names_found : names_missed);
    }
  }
  // Names scattered through long binary contents.
  for (int sample = 0; sample < 40; ++sample) {
    const std::vector<std::string> names = cases.catalogue();
    const CompactNameSearch search(views(names), tests[static_cast<size_t>(sample) % tests.size()]);
    std::string data = cases.scattered(200000 + cases.below(200000), names);
    std::unique_ptr<char[]> copy = exact_copy(data);
    ASSERT_EQ(search_all(search, copy.get(), data.size()),
              one_by_one(copy.get(), data.size(), views(names)))
        << "scattered content of " << data.size() << " bytes, names " << shown(names);
  }
  // The cases are made so that both answers are common.
  EXPECT_GT(names_found, 10000u);
  EXPECT_GT(names_missed, 100000u);
}

}  // namespace
