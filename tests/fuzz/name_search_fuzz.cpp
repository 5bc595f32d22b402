// Fuzzes the one-pass NameSearch: for every name, it must answer what find_name answers, with its prefilter or without.
#include "fuzz/fuzz_case.h"
#include "search/matcher.h"
#include "search/name_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  std::vector<std::string_view> names = fuzz_case.name_views();
  Bytes content(fuzz_case.content, fuzz_case.content_size);
  std::vector<std::optional<uint64_t>> offsets = NameSearch(names).find_all(content);
  std::vector<std::optional<uint64_t>> unfiltered =
      NameSearch(names, NameSearch::Scan::kAutomatonOnly).find_all(content);
  if (offsets.size() != names.size() || unfiltered.size() != names.size())
    fail_case("NameSearch gave a different number of answers", fuzz_case, "");
  for (size_t i = 0; i < names.size(); ++i) {
    expect_same("NameSearch with its prefilter against the automaton alone", fuzz_case, names[i],
                unfiltered[i], offsets[i]);
    expect_same("NameSearch against find_name", fuzz_case, names[i],
                find_name(content, names[i]), offsets[i]);
  }
  return 0;
}
