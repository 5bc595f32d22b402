// Turning a fuzzer's input into catalogue names and a file's content, and failing loudly on a wrong answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One case for the scanners: names to look for and the content to look in.
struct FuzzCase {
  std::vector<std::string> names;  // each at least one byte long
  const unsigned char* content = nullptr;
  size_t content_size = 0;

  std::vector<std::string_view> name_views() const;
};

// Reads a case from the `size` bytes at `data`. The first byte gives the
// number of names (1 to 8). Each name then starts with a byte `b`: when its
// top bit is clear, 1 + b % 16 name bytes follow; when it is set, the name is
// made from the previous one without further bytes, as its prefix (or, with
// bit 0x40, its suffix) of 1 + (b & 0x1f) bytes, the whole previous name when
// that is as long or longer. So prefix pairs, suffix pairs and duplicates,
// which the one-pass searches must treat right, cost the fuzzer one byte.
// Every byte after the names is content, which therefore ends where the
// fuzzer's buffer ends and a read past it is caught by the sanitizer.
FuzzCase read_fuzz_case(const uint8_t* data, size_t size);

// When `actual` differs from `expected`, prints both, with `what`, the name
// and the case, on standard error and aborts, which the fuzzer reports as a
// crash and keeps the input of.
void expect_same(const char* what, const FuzzCase& fuzz_case, std::string_view name,
                 std::optional<uint64_t> expected, std::optional<uint64_t> actual);

// Prints `message` with the case on standard error and aborts.
[[noreturn]] void fail_case(const char* message, const FuzzCase& fuzz_case,
                            std::string_view name);
