// Fuzzes compact_find_name against its window-by-window model; an answer must also be a real occurrence.
#include <cstring>

#include "compact/scanner.h"
#include "fuzz/fuzz_case.h"
#include "fuzz/reference_scanners.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  const auto* content = reinterpret_cast<const char*>(fuzz_case.content);
  for (std::string_view name : fuzz_case.name_views()) {
    std::optional<size_t> found = compact_find_name(content, fuzz_case.content_size, name);
    expect_same("compact_find_name against its model", fuzz_case, name,
                model_compact_find_name(fuzz_case.content, fuzz_case.content_size, name),
                found);
    if (found && (*found + name.size() > fuzz_case.content_size ||
                  std::memcmp(content + *found, name.data(), name.size()) != 0))
      fail_case("compact_find_name answered where the name is not", fuzz_case, name);
  }
  return 0;
}
