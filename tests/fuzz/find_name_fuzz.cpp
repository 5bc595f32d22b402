// Fuzzes find_name against its step-by-step model and, for plain-text names, against a search of every offset.
#include <algorithm>

#include "fuzz/fuzz_case.h"
#include "support/name_models.h"
#include "match/matcher.h"

namespace {

// True for a name that the leading skip can never pass over.
bool is_plain_text(std::string_view name) {
  return name.size() >= 3 && std::all_of(name.begin(), name.end(), [](char c) {
           return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x80;
         });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case = read_fuzz_case(data, size);
  Bytes content(fuzz_case.content, fuzz_case.content_size);
  for (std::string_view name : fuzz_case.name_views()) {
    std::optional<uint64_t> found = find_name(content, name);
    expect_same("find_name against its model", fuzz_case, name,
                model_find_name(content.data(), content.size(), name), found);
    if (is_plain_text(name))
      expect_same("find_name against the first whole name", fuzz_case, name,
                  first_whole_name(content.data(), content.size(), name), found);
  }
  return 0;
}
