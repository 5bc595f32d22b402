// Windows-only end-to-end test of the machine-readable reports: names in the ANSI code page become UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {

// True when the ANSI code page holds every character of `text`.
bool fits_ansi_code_page(const std::wstring& text) {
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()),
                      nullptr, 0, nullptr, &lost);
  return !lost;
}

TEST(RecordProgram, AnsiNamesAreWrittenInUtf8) {
  const std::wstring name = L"s\u00e9y";  // "séy"
  if (!fits_ansi_code_page(name))
    GTEST_SKIP() << "the ANSI code page here has no e with an acute accent";
  TempTree tree;
  std::filesystem::path texture =
      std::filesystem::path(tree.root()) / L"gamedata" / L"textures" / (name + L".dds");
  std::filesystem::create_directories(texture.parent_path());
  std::ofstream(texture, std::ios::binary) << "x";
  ProgramResult result = run_built_program(TEXSIFT_PROGRAM, {"--json", tree.root()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(mask_seconds(result.out),
            "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\s\xc3\xa9y.dds\"},"
            "\"size\":1,\"mention_count\":0,\"names\":[{\"name\":{\"text\":\"s\xc3\xa9y\"},"
            "\"references\":[],\"mentions\":[]}],\"companions\":[],\"copy_group\":null,"
            "\"copy_bytes\":0}\n"
            "{\"type\":\"totals\",\"textures\":1,\"names\":1,\"referenced\":0,\"unreferenced\":1,"
            "\"files_searched\":0,\"bytes_searched\":0,\"referenced_bytes\":0,"
            "\"unreferenced_bytes\":1,\"mentioned\":0,\"seconds\":#,\"described\":0,"
            "\"companion_bytes\":0,\"copy_bytes\":0}\n");
  EXPECT_EQ(result.err, "");
}

}  // namespace
