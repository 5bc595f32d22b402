// Windows-only hostile trees, under wine: MAX_PATH, read-only and unshared files, non-ANSI names and roots.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "text/encode.h"
#include "text/utf8.h"
#include "hostile/hostile_support.h"
#include "platform/fs.h"
#include "platform/win32/wide.h"

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

TEST(WindowsTree, GameRootOutsideTheAnsiCodePage) {
  // The root comes from the wide command line, so its own name may be any
  // NTFS allows: it is shown as the ANSI code page shows it (and then in
  // OEM) on the scanning path line and never warned of. A folder and a file
  // below it named in the same script are searched, shown in part and
  // warned of; the records carry their real names in UTF-8.
  struct Row {
    std::wstring root, folder, file;  // the root's name, a folder and a file below it
    std::string shown_root, shown_folder, shown_file;
  } rows[] = {
      {L"\u0438\u0433\u0440\u0430", L"\u043f\u0430\u043f\u043a\u0430", L"\u0444\u0430\u0439\u043b",
       "????", "?????", "????"},  // Cyrillic: igra, papka, fajl
      {L"\u6e38\u620f", L"\u6587\u4ef6\u5939", L"\u6587\u4ef6", "??", "???", "??"},  // CJK
  };
  for (const Row& row : rows) {
    if (fits_ansi_code_page(row.root + row.folder + row.file))
      GTEST_SKIP() << "the ANSI code page here holds Cyrillic or CJK characters";
    TempTree tree;
    write_wide(tree.root(), row.root + L"/gamedata/textures/act/act_head.dds", "x");
    write_wide(tree.root(), row.root + L"/gamedata/textures/sky.tga", "x");
    write_wide(tree.root(), row.root + L"/gamedata/config/z.ltx", "sky\r\n");
    write_wide(tree.root(), row.root + L"/gamedata/" + row.folder + L"/" + row.file + L".ltx",
               "texture = act\\act_head\r\n");
    const std::string root = tree.root() + utf8_from_wide(row.root) + "\\";
    const std::string shown = tree.root() + row.shown_root + "\\";
    const std::string shown_folder = "gamedata\\" + row.shown_folder;
    ExpectedTree expected = two_textures(
        {{"gamedata\\config\\z.ltx", {{"sky", 0}}},
         {shown_folder + "\\" + row.shown_file + ".ltx", {{"act\\act_head", 10}}}});
    RunOptions options;
    options.shown_root = shown;
    const std::string in_part = "name outside the ANSI code page, shown in part: " + shown;
    options.warnings = {in_part + shown_folder,
                        in_part + shown_folder + "\\" + row.shown_file + ".ltx"};
    expect_every_mode(root, expected, expected, options);

    const std::string real_path = "gamedata\\\\" + utf8_from_wide(row.folder) + "\\\\" +
                                  utf8_from_wide(row.file) + ".ltx";
    ProgramResult textures = run_built_program(TEXSIFT_PROGRAM, {"--json", root});
    EXPECT_EQ(textures.status, 0);
    EXPECT_EQ(mask_seconds(textures.out),
              "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\act\\\\act_head.dds\"},"
              "\"size\":1,\"mention_count\":0,"
              "\"names\":[{\"name\":{\"text\":\"act\\\\act_head\"},\"references\":[{\"path\":"
              "{\"text\":\"" + real_path + "\"},\"offset\":10}],\"mentions\":[]}],"
              "\"companions\":[],\"copy_group\":1,\"copy_bytes\":1}\n"
              "{\"type\":\"texture\",\"path\":{\"text\":\"gamedata\\\\textures\\\\sky.tga\"},"
              "\"size\":1,\"mention_count\":0,"
              "\"names\":[{\"name\":{\"text\":\"sky\"},\"references\":[{\"path\":"
              "{\"text\":\"gamedata\\\\config\\\\z.ltx\"},\"offset\":0}],\"mentions\":[]}],"
              "\"companions\":[],\"copy_group\":1,\"copy_bytes\":1}\n"
              "{\"type\":\"totals\",\"textures\":2,\"names\":2,\"referenced\":2,\"unreferenced\":0,"
              "\"files_searched\":2,\"bytes_searched\":29,\"referenced_bytes\":2,"
              "\"unreferenced_bytes\":0,\"mentioned\":0,\"seconds\":#,\"described\":0,"
              "\"companion_bytes\":0,\"copy_bytes\":1}\n");
    EXPECT_EQ(textures.err, expected_warnings(Mode::kAlgorithm1, options.warnings));
    ProgramResult files = run_built_program(COMPACT_PROGRAM, {"--csv", root});
    EXPECT_EQ(files.status, 0);
    EXPECT_EQ(mask_seconds(files.out),
              "type,file,name,offset,files_searched,bytes_searched,textures,names,seconds,size\n"
              "file,gamedata\\config\\z.ltx,,,,,,,,5\n"
              "reference,gamedata\\config\\z.ltx,sky,0,,,,,,\n"
              "file,gamedata\\" + utf8_from_wide(row.folder) + "\\" + utf8_from_wide(row.file) +
                  ".ltx,,,,,,,,24\n"
              "reference,gamedata\\" + utf8_from_wide(row.folder) + "\\" +
                  utf8_from_wide(row.file) + ".ltx,act\\act_head,10,,,,,,\n"
              "totals,,,,2,29,2,2,#,\n");
  }
}

TEST(WindowsListing, NeitherDotNorDotDot) {
  TempTree tree;
  tree.write("file", "");
  tree.make_directory("dir");
  DirectoryListing listing(tree.root() + "*.*");
  ASSERT_TRUE(listing.ok());
  std::vector<std::string> listed;
  DirEntry entry;
  while (listing.next(&entry))
    listed.push_back(entry.native_name + (entry.is_directory ? "/" : ""));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"dir/", "file"}));
  std::vector<std::string> names;
  ASSERT_TRUE(list_entry_names(tree.root(), &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"dir", "file"}));
}

TEST(WideNames, UnpairedSurrogatesSurviveTheRoundTrip) {
  // A name NTFS allows may hold a surrogate without its partner: it keeps
  // its own three bytes, converts back to itself, and its bytes are not
  // UTF-8, so a record carries them in the bytes form.
  struct Row {
    std::wstring wide;
    std::string utf8;
    bool well_formed;
  } rows[] = {
      {L"act", "act", true},
      {L"\u0438\u0433\u0440\u0430", "\xd0\xb8\xd0\xb3\xd1\x80\xd0\xb0", true},
      {L"\U0001F600", "\xf0\x9f\x98\x80", true},  // a surrogate pair
      {std::wstring(L"a") + wchar_t(0xd800) + L"b", "a\xed\xa0\x80" "b", false},
      {std::wstring(1, wchar_t(0xdfff)), "\xed\xbf\xbf", false},
      {std::wstring(1, wchar_t(0xdc00)) + wchar_t(0xd800), "\xed\xb0\x80\xed\xa0\x80", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(utf8_from_wide(row.wide), row.utf8);
    EXPECT_TRUE(wide_from_utf8(row.utf8) == row.wide) << row.utf8;
    EXPECT_EQ(is_utf8(row.utf8), row.well_formed) << row.utf8;
    EXPECT_EQ(json_text(row.utf8).starts_with("{\"bytes\":"), !row.well_formed) << row.utf8;
  }
  // Bytes that begin no sequence never become a name that opens a file.
  EXPECT_TRUE(wide_from_utf8("a\xff" "b\xc0\xaf") == L"a\ufffdb\ufffd\ufffd");
}

}  // namespace
