// Fuzzes the one-pass compact search: for every name, it must answer what compact_find_name answers.
#include <algorithm>
#include <memory>

#include "compact/scanner.h"
#include "fuzz/fuzz_case.h"

namespace {

// Checks the one-pass search, and the search group by group that it falls
// back to, against compact_find_name for each name on `size` bytes at `content`.
void check(const FuzzCase& fuzz_case, const CompactNameSearch& one_pass,
           const CompactNameSearch& by_group, const char* content, size_t size) {
  std::vector<std::string_view> names = fuzz_case.name_views();
  std::vector<std::optional<size_t>> one_pass_offsets = one_pass.find_all(content, size);
  std::vector<std::optional<size_t>> by_group_offsets = by_group.find_all(content, size);
  if (one_pass_offsets.size() != names.size() || by_group_offsets.size() != names.size())
    fail_case("CompactNameSearch gave a different number of answers", fuzz_case, "");
  for (size_t i = 0; i < names.size(); ++i) {
    std::optional<size_t> expected = compact_find_name(content, size, names[i]);
    expect_same("CompactNameSearch against compact_find_name", fuzz_case, names[i], expected,
                one_pass_offsets[i]);
    expect_same("CompactNameSearch group by group against compact_find_name", fuzz_case,
                names[i], expected, by_group_offsets[i]);
  }
}

}  // namespace

// Bit 0x40 of the first byte, which the case's reading leaves aside, also
// has the content searched repeated to 20 KB or more, an exact-size copy:
// paths then cross hundreds of words of the bitmaps of passed windows.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  const CompactNameSearch one_pass(fuzz_case.name_views());
  const CompactNameSearch by_group(fuzz_case.name_views(), 0);
  const auto* content = reinterpret_cast<const char*>(fuzz_case.content);
  check(fuzz_case, one_pass, by_group, content, fuzz_case.content_size);
  if (fuzz_case.content_size == 0 || (data[0] & 0x40) == 0)
    return 0;
  size_t copies = 20480 / fuzz_case.content_size + 1;
  std::unique_ptr<char[]> repeated(new char[copies * fuzz_case.content_size]);
  for (size_t i = 0; i < copies; ++i)
    std::copy(content, content + fuzz_case.content_size,
              repeated.get() + i * fuzz_case.content_size);
  check(fuzz_case, one_pass, by_group, repeated.get(), copies * fuzz_case.content_size);
  return 0;
}
