// Fuzzes the compact search for one name at a time, with each start test, against the window-by-window model; an answer must also be a real occurrence.
#include <cstring>

#include "match/compact_scanner.h"
#include "fuzz/fuzz_case.h"
#include "support/name_models.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  const auto* content = reinterpret_cast<const char*>(fuzz_case.content);
  FoundNames found;
  for (std::string_view name : fuzz_case.name_views()) {
    std::optional<uint64_t> model =
        model_compact_find_name(fuzz_case.content, fuzz_case.content_size, name);
    if (model && (*model + name.size() > fuzz_case.content_size ||
                  std::memcmp(content + *model, name.data(), name.size()) != 0))
      fail_case("the model answered where the name is not", fuzz_case, name);
    for (StartTest test : available_start_tests()) {
      CompactNameSearch({name}, test).find_all(Bytes(reinterpret_cast<const unsigned char*>(content), fuzz_case.content_size), &found);
      expect_same("CompactNameSearch for one name against the model", fuzz_case, name, model,
                  found.offset(0));
    }
  }
  return 0;
}
