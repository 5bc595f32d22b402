// Fuzzes the one-pass NameSearch with each start test of its prefilter: for every name, it must answer what find_name answers, whole and in pieces.
#include "fuzz/fuzz_case.h"
#include "match/matcher.h"
#include "match/name_search.h"
#include "support/name_models.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  std::vector<std::string_view> names = fuzz_case.name_views();
  Bytes content(fuzz_case.content, fuzz_case.content_size);
  FoundNames found;
  for (StartTest test : available_start_tests()) {
    // A table bound from the input's first byte splits the names over
    // several automata now and then.
    size_t largest_table = size > 0 && (data[0] & 0x20) != 0 ? 256 : size_t{1} << 26;
    const NameSearch search(names, test, largest_table);
    search.find_all(content, &found);
    std::vector<std::optional<uint64_t>> offsets = all_offsets(found);
    if (offsets.size() != names.size())
      fail_case("NameSearch gave a different number of answers", fuzz_case, "");
    for (size_t i = 0; i < names.size(); ++i)
      expect_same("NameSearch against find_name", fuzz_case, names[i],
                  find_name(content, names[i]), offsets[i]);
    if (!search.window_overlap())
      continue;
    // In pieces of 1 to 16 bytes, from the input's last byte.
    const size_t piece = 1 + (size > 0 ? data[size - 1] % 16 : 0);
    find_in_pieces_of(search, content, piece, &found);
    std::vector<std::optional<uint64_t>> in_pieces = all_offsets(found);
    for (size_t i = 0; i < names.size(); ++i)
      expect_same("NameSearch in pieces against find_name", fuzz_case, names[i],
                  find_name(content, names[i]), in_pieces[i]);
  }
  return 0;
}
