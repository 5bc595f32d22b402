// Fuzzes the one-pass compact search with each start test: for every name, it must answer what the per-name model answers.
#include <algorithm>
#include <memory>

#include "match/compact_scanner.h"
#include "fuzz/fuzz_case.h"
#include "support/name_models.h"

namespace {

// Checks the search with each start test against the model for each name on
// `size` bytes at `content`.
void check(const FuzzCase& fuzz_case, const std::vector<CompactNameSearch>& searches,
           const char* content, size_t size) {
  std::vector<std::string_view> names = fuzz_case.name_views();
  FoundNames found;
  for (const CompactNameSearch& search : searches) {
    search.find_all(Bytes(reinterpret_cast<const unsigned char*>(content), size), &found);
    if (found.name_count() != names.size())
      fail_case("CompactNameSearch gave a different number of answers", fuzz_case, "");
    for (size_t i = 0; i < names.size(); ++i)
      expect_same("CompactNameSearch against the per-name model", fuzz_case, names[i],
                  model_compact_find_name(reinterpret_cast<const unsigned char*>(content), size,
                                          names[i]),
                  found.offset(static_cast<uint32_t>(i)));
  }
}

}  // namespace

// Bit 0x40 of the first byte, which the case's reading leaves aside, also
// has the content searched repeated to 20 KB or more, an exact-size copy:
// paths then cross hundreds of words of the map of skipped windows. Bit 0x20
// splits the names over several automata.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  const size_t largest_table = size > 0 && (data[0] & 0x20) != 0 ? 256 : size_t{1} << 26;
  std::vector<CompactNameSearch> searches;
  for (StartTest test : available_start_tests())
    searches.emplace_back(fuzz_case.name_views(), test, largest_table);
  const auto* content = reinterpret_cast<const char*>(fuzz_case.content);
  check(fuzz_case, searches, content, fuzz_case.content_size);
  if (fuzz_case.content_size == 0 || (data[0] & 0x40) == 0)
    return 0;
  size_t copies = 20480 / fuzz_case.content_size + 1;
  std::unique_ptr<char[]> repeated(new char[copies * fuzz_case.content_size]);
  for (size_t i = 0; i < copies; ++i)
    std::copy(content, content + fuzz_case.content_size,
              repeated.get() + i * fuzz_case.content_size);
  check(fuzz_case, searches, repeated.get(), copies * fuzz_case.content_size);
  return 0;
}
