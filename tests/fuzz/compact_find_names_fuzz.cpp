// Fuzzes the grouped compact scan: for every name, it must answer what compact_find_name answers.
#include "compact/scanner.h"
#include "fuzz/fuzz_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  std::vector<std::string_view> names = fuzz_case.name_views();
  const auto* content = reinterpret_cast<const char*>(fuzz_case.content);
  std::vector<std::optional<size_t>> offsets =
      compact_find_names(content, fuzz_case.content_size, names);
  if (offsets.size() != names.size())
    fail_case("compact_find_names gave a different number of answers", fuzz_case, "");
  for (size_t i = 0; i < names.size(); ++i)
    expect_same("compact_find_names against compact_find_name", fuzz_case, names[i],
                compact_find_name(content, fuzz_case.content_size, names[i]), offsets[i]);
  return 0;
}
