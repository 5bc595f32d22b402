// Windows-only hostile trees, under wine: MAX_PATH, read-only and unshared files, non-ANSI names.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hostile/hostile_support.h"
#include "platform/directory.h"

namespace {

namespace fs = std::filesystem;

// RAII over a handle that holds a file open.
class HeldFile {
 public:
  HeldFile(const std::string& path, DWORD share)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE)
      CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A name for a file in `directory` that makes its path exactly `length`
// characters long: x's, then ".ltx".
std::string name_for_length(const std::string& directory, size_t length) {
  return std::string(length - directory.size() - 4, 'x') + ".ltx";
}

TEST(WindowsTree, PathsJustUnderAndJustOverMaxPath) {
  TempTree tree;
  write_two_textures(tree);
  const std::string directory = tree.root() + "gamedata\\long\\";
  tree.make_directory("gamedata/long");
  const size_t limit = max_path_length();  // 259: MAX_PATH less its terminator
  ASSERT_EQ(limit, 259u);
  // The longest path the file functions take, and one character more.
  const std::string fits = name_for_length(directory, limit);
  const std::string over = "y" + name_for_length(directory, limit);
  tree.write("gamedata/long/" + fits, "sky\r\n");
  tree.write("gamedata/long/" + over, "sky\r\n");
  tree.write("gamedata/z.ltx", "act\\act_head\r\n");
  ExpectedTree expected = two_textures({{"gamedata\\long\\" + fits, {{"sky", 0}}},
                                        {"gamedata\\z.ltx", {{"act\\act_head", 0}}}});
  RunOptions options;
  options.warnings = {"path longer than 259 characters skipped: " + directory + over};
  expect_every_mode(tree.root(), expected, expected, options);
}

TEST(WindowsTree, ReadOnlyFileIsSearched) {
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/config/weapons.ltx", "texture = act\\act_head\r\n");
  const std::string path = tree.root() + "gamedata\\config\\weapons.ltx";
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  ExpectedTree expected =
      two_textures({{"gamedata\\config\\weapons.ltx", {{"act\\act_head", 10}}}});
  expect_every_mode(tree.root(), expected, expected);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsTree, FileHeldOpenWithoutSharingIsPassedOver) {
  // Another process holds a game file and a texture file open with share
  // mode 0, as a running game may: neither can be opened while it does.
  // Texsift collects textures by name and never opens them; Texsift-compact
  // opens each one first, so it leaves the held one out.
  TempTree tree;
  write_two_textures(tree);
  tree.write("gamedata/textures/held.dds", "x");
  tree.write("gamedata/config/a.ltx", "sky held\r\n");
  tree.write("gamedata/config/b.ltx", "act\\act_head\r\n");
  HeldFile texture(tree.root() + "gamedata\\textures\\held.dds", 0);
  HeldFile config(tree.root() + "gamedata\\config\\b.ltx", 0);
  ASSERT_TRUE(texture.held() && config.held());
  ExpectedTree texsift{{"act\\"},
                       {"act\\act_head", "held", "sky"},
                       {{"gamedata\\config\\a.ltx", {{"held", 4}, {"sky", 0}}}}};
  ExpectedTree compact{{"act\\"}, {"act\\act_head", "sky"},
                       {{"gamedata\\config\\a.ltx", {{"sky", 0}}}}};
  expect_every_mode(tree.root(), texsift, compact);
}

// True when the ANSI code page holds every character of `name`.
bool fits_ansi_code_page(const std::wstring& name) {
  BOOL used_default = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr,
                      &used_default);
  return !used_default;
}

// Writes `content` to the file at `relative` (a wide path below `root`).
void write_wide(const std::string& root, const std::wstring& relative, const std::string& content) {
  fs::path path = fs::path(root) / fs::path(relative).make_preferred();
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

TEST(WindowsTree, NamesOutsideTheAnsiCodePageAreSearchedAndShownInPart) {
  // Such files and folders are opened and listed by their wide names, and
  // shown as the ANSI code page shows them, with "?" for what it lacks. A
  // texture with such a name is still skipped: its catalogue name would be
  // wrong.
  const std::wstring sky = L"\u7a7a";  // a CJK character, in no Western code page
  const std::wstring copy = L"\u043a\u043e\u043f\u0438\u044f";  // Cyrillic "kopiya"
  if (fits_ansi_code_page(sky) || fits_ansi_code_page(copy))
    GTEST_SKIP() << "the ANSI code page here holds CJK or Cyrillic characters";
  TempTree tree;
  write_two_textures(tree);
  write_wide(tree.root(), L"gamedata/textures/" + sky + L".dds", "x");
  tree.write("gamedata/config/a.ltx", "sky\r\n");
  write_wide(tree.root(), L"gamedata/config/" + sky + L".ltx", "sky\r\n");
  tree.write("gamedata/config/z.ltx", "act\\act_head\r\n");
  write_wide(tree.root(), L"gamedata/meshes/wpn_toz34_hud - " + copy + L".ogf",
             "act\\act_head\r\n");
  write_wide(tree.root(), L"gamedata/" + sky + L"/b.ltx", "sky\r\n");
  ExpectedTree expected =
      two_textures({{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                    {"gamedata\\config\\z.ltx", {{"act\\act_head", 0}}},
                    {"gamedata\\config\\?.ltx", {{"sky", 0}}},
                    {"gamedata\\meshes\\wpn_toz34_hud - ?????.ogf", {{"act\\act_head", 0}}},
                    {"gamedata\\?\\b.ltx", {{"sky", 0}}}});
  // Listed in name order, ASCII first: the texture in the collection walk,
  // then the file in config, the mesh, and the folder after textures.
  const std::string skipped = "name outside the ANSI code page, entry skipped: " + tree.root();
  const std::string in_part = "name outside the ANSI code page, shown in part: " + tree.root();
  RunOptions options;
  options.warnings = {skipped + "gamedata\\textures\\?.dds", in_part + "gamedata\\config\\?.ltx",
                      in_part + "gamedata\\meshes\\wpn_toz34_hud - ?????.ogf",
                      in_part + "gamedata\\?"};
  expect_every_mode(tree.root(), expected, expected, options);
}

}  // namespace
