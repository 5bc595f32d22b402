// The page in a real browser (headless Chromium): its counts, a thumbnail, and the move scripts it builds, run on awkward names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "page/page_html.h"
#include "text/encode.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

bool have(const char* command) {
  return std::system((std::string("command -v ") + command + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of the shell command `command`.
std::string output_of(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe)
    return out;
  char buffer[65536];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
    out.append(buffer, n);
  pclose(pipe);
  return out;
}

std::string shell_quoted(const std::string& text) { return "'" + text + "'"; }

// The page at `html` after its script ran, as Chromium serialises it.
std::string page_dom(const std::string& html, const std::string& profile) {
  return output_of("timeout 120 chromium --headless --no-sandbox --disable-gpu "
                   "--disable-background-networking --disable-component-update --no-first-run "
                   "--disable-sync --user-data-dir=" + shell_quoted(profile) + " --dump-dom " +
                   shell_quoted("file://" + html) + " 2>'" + profile + "/chromium.err'");
}

std::string html_unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", "\xc2\xa0"},
      {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    for (size_t at = 0; (at = text.find(entity, at)) != std::string::npos; at += strlen(character))
      text.replace(at, strlen(entity), character);
  return text;
}

// The text of the element with id `id` (an element without child elements).
std::string element_text(const std::string& dom, const std::string& id) {
  size_t at = dom.find("id=\"" + id + "\"");
  if (at == std::string::npos)
    return "<no element " + id + ">";
  size_t start = dom.find('>', at) + 1;
  return html_unescape(dom.substr(start, dom.find("</", start) - start));
}

// Every file below `root`, from it, with '/' between parts.
std::set<std::string> files_below(const std::string& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      files.insert(fs::relative(entry.path(), root).string());
  return files;
}

// Awkward names, each an unreferenced texture that no file mentions.
const char* const kAwkward[] = {
    "sp ace.dds", "single'quote.dds", "double\"quote.dds", "dol$lar$(x).dds", "back`tick`.dds",
    "per%cent%.dds", "amp&er.dds", "caret^.dds", "bang!.dds", "<\\script>.dds",
    "line\nbreak.dds", "n\xc3\xa4me \xe6\x97\xa5.dds", "\xff\xfe raw.dds", "trailing dot.dds.",
    "trailing space.dds "};

// Companions of two awkward textures, which move with them.
const char* const kAwkwardCompanions[] = {"sp ace.thm", "per%cent%_bump.dds"};

// The Texsift page of a tree with the awkward textures (two with a
// companion), one texture with a mention and one referenced, written to `dir`.
void write_awkward_page(const TempTree& tree, const std::string& game, const std::string& dir) {
  Page page;
  page.program = "Texsift";
  page.game_root = game;
  page.time = "now";
  for (const char* name : kAwkward) {
    PageTexture texture;
    texture.path = std::string("gamedata\\textures\\") + name;
    texture.size = 1;
    page.textures.push_back(texture);
  }
  page.textures[0].companions.push_back({"gamedata\\textures\\sp ace.thm", 1, {}});
  page.textures[5].companions.push_back({"gamedata\\textures\\per%cent%_bump.dds", 1, {}});
  PageTexture mentioned;
  mentioned.path = "gamedata\\textures\\ui\\mentioned.dds";
  mentioned.mentions.push_back({"gamedata\\ui\\menu.xml", 12, "case"});
  mentioned.size = 2;
  page.textures.push_back(mentioned);
  PageTexture referenced;
  referenced.path = "gamedata\\textures\\ui\\used.dds";
  referenced.referenced = true;
  referenced.references.push_back({"gamedata\\config\\ui.ltx", 3, ""});
  page.textures.push_back(referenced);
  tree.write("page/index.html", page_html(page));
  (void)dir;
}

std::string as_file_name(const std::string& name) {
  std::string file = name;
  for (char& c : file)
    if (c == '\\')
      c = '/';
  return file;
}

TEST(PageBrowser, MoveScriptsMoveExactlyTheCheckedFiles) {
  if (!have("chromium"))
    GTEST_SKIP() << "Chromium is not installed (tools/install-deps page)";
  TempTree tree;
  const std::string game = tree.root() + "game/";
  std::set<std::string> before;
  for (const char* name : kAwkward) {
    tree.write("game/gamedata/textures/" + as_file_name(name), "x");
    before.insert("gamedata/textures/" + as_file_name(name));
  }
  for (const char* name : kAwkwardCompanions) {
    tree.write(std::string("game/gamedata/textures/") + name, "x");
    before.insert(std::string("gamedata/textures/") + name);
  }
  const std::set<std::string> staying{"gamedata/textures/ui/mentioned.dds",
                                      "gamedata/textures/ui/used.dds",
                                      "gamedata/textures/not in the page.dds"};
  std::set<std::string> whole = before;
  whole.insert(staying.begin(), staying.end());
  tree.write("game/gamedata/textures/ui/mentioned.dds", "xx");
  tree.write("game/gamedata/textures/ui/used.dds", "x");
  tree.write("game/gamedata/textures/not in the page.dds", "x");
  write_awkward_page(tree, game, tree.root() + "page/");
  tree.make_directory("profile");
  std::string dom = page_dom(tree.root() + "page/index.html", tree.root() + "profile");
  ASSERT_NE(dom.find("id=\"grid\""), std::string::npos) << dom << read_whole_file(tree.root() + "profile/chromium.err");

  // The summary, and the page's own count of what it checked.
  EXPECT_NE(dom.find("Textures unreferenced</td><td class=\"count\">16<"), std::string::npos);
  EXPECT_EQ(element_text(dom, "checked"), "15 checked, 17 bytes");
  // No name broke out of its element: the "</script>" name is text.
  EXPECT_NE(element_text(dom, "paths").find("gamedata/textures/</script>.dds"), std::string::npos);
  EXPECT_EQ(dom.find("<script>.dds"), std::string::npos);
  // A referenced texture's places are built only when its list is opened.
  EXPECT_NE(dom.find("<details><summary>1 reference</summary></details>"), std::string::npos);
  EXPECT_EQ(dom.find("gamedata/config/ui.ltx"), std::string::npos);

  // The shell script: run it, and exactly the checked files moved.
  std::string sh = element_text(dom, "sh");
  tree.write("move.sh", sh);
  // Where the folder beside the game cannot be made, it stops before moving anything.
  tree.write("game-texsift-moved", "a file in the way");
  EXPECT_NE(std::system(("bash " + shell_quoted(tree.root() + "move.sh") + " 2>/dev/null").c_str()), 0);
  EXPECT_EQ(files_below(game), whole);
  fs::remove(tree.root() + "game-texsift-moved");
  ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "move.sh")).c_str()), 0) << sh;
  EXPECT_EQ(files_below(tree.root() + "game-texsift-moved"), before);
  EXPECT_EQ(files_below(game), staying);

  // The undo script moves them back, and leaves a file that came back since.
  tree.write("game/gamedata/textures/sp ace.dds", "back");
  tree.write("undo.sh", element_text(dom, "undo-sh"));
  ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "undo.sh")).c_str()), 0);
  EXPECT_EQ(files_below(game), whole);
  EXPECT_EQ(read_whole_file(game + "gamedata/textures/sp ace.dds"), "back");
  EXPECT_EQ(files_below(tree.root() + "game-texsift-moved"),
            std::set<std::string>{"gamedata/textures/sp ace.dds"});

  // The batch file carries the names it can, safely; the rest are to move by hand.
  std::string bat = element_text(dom, "bat");
  EXPECT_NE(bat.find("chcp 65001"), std::string::npos);
  EXPECT_NE(bat.find("setlocal DisableDelayedExpansion"), std::string::npos);
  EXPECT_NE(bat.find("per%%cent%%.dds"), std::string::npos);
  std::string by_hand = element_text(dom, "by-hand");
  for (const char* name : {"double\"quote.dds", "line\nbreak.dds", "</script>.dds",
                           "trailing dot.dds.", "trailing space.dds "}) {
    SCOPED_TRACE(name);
    EXPECT_NE(by_hand.find(name), std::string::npos);
    EXPECT_EQ(bat.find(name), std::string::npos);
  }

  // The batch file under wine, on the files moved back.
  if (!have("wine"))
    GTEST_SKIP() << "wine is not installed: the batch file was not run";
  fs::remove_all(tree.root() + "game-texsift-moved");
  tree.write("unused.bat", bat);  // not "move.bat", which cmd reads as its move command
  tree.write("unused_undo.bat", element_text(dom, "undo-bat"));
  std::string wine_prefix = tree.root() + "wineprefix";
  auto run_bat = [&](const char* name) {
    std::system(("cd " + shell_quoted(tree.root()) + " && WINEDEBUG=-all WINEPREFIX=" +
                 shell_quoted(wine_prefix) + " wine cmd /c " + name + " >/dev/null 2>&1")
                    .c_str());
  };
  // Where the folder beside the game cannot be made, it says so and moves nothing.
  tree.write("game-texsift-moved", "a file in the way");
  std::string refused = output_of("cd " + shell_quoted(tree.root()) + " && WINEDEBUG=-all WINEPREFIX=" +
                                  shell_quoted(wine_prefix) + " wine cmd /c unused.bat </dev/null 2>&1");
  EXPECT_NE(refused.find("Run this batch file as administrator"), std::string::npos) << refused;
  EXPECT_EQ(files_below(game), whole);
  fs::remove(tree.root() + "game-texsift-moved");
  run_bat("unused.bat");
  // Wine's cmd has no code page 65001 (Windows' has), so there the names
  // beyond ASCII stay where they are; every other name the batch file
  // carries moves, and nothing else.
  std::set<std::string> moved;
  if (fs::exists(tree.root() + "game-texsift-moved"))
    moved = files_below(tree.root() + "game-texsift-moved");
  std::set<std::string> carried;
  for (const std::string& file : before) {
    bool ascii = std::all_of(file.begin(), file.end(), [](char c) { return c > 0; });
    if (ascii && by_hand.find(file.substr(file.rfind('/') + 1)) == std::string::npos)
      carried.insert(file);
  }
  EXPECT_EQ(moved, carried);
  // The undo batch file moves them back: the tree is as it was.
  run_bat("unused_undo.bat");
  EXPECT_EQ(files_below(game), whole);
}

}  // namespace

namespace {

// How many times `part` occurs in `text`.
size_t count_of(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// A script added to a page for a test: it presses "Select all", then each
// Save button, and writes what each saved, by file name, into <pre
// id="saved-NAME">, with "blob:" kept when the download's address was one.
const char kPressSaveButtons[] = R"js('use strict';
(function () {
  var RealBlob = window.Blob, last = '';
  window.Blob = function (parts, options) { last = parts.join(''); return new RealBlob(parts, options); };
  HTMLAnchorElement.prototype.click = function () {
    var pre = document.createElement('pre');
    pre.id = 'saved-' + this.download;
    pre.textContent = (this.href.indexOf('blob:') === 0 ? 'blob:' : '') + last;
    document.body.appendChild(pre);
  };
  document.getElementById('all').click();
  document.querySelectorAll('button[data-save]').forEach(function (b) { b.click(); });
}());)js";

// `html` with `script` run after the page's own, its hash allowed by the page's content policy.
std::string with_script(std::string html, const std::string& script) {
  size_t policy = html.find("script-src ");
  EXPECT_NE(policy, std::string::npos);
  html.insert(policy + strlen("script-src "), "'sha256-" + sha256_base64(script) + "' ");
  html.insert(html.rfind("</body>"), "<script>" + script + "</script>\n");
  return html;
}

TEST(PageBrowser, SelectAllAndSaveCarryTexturesNeverBuilt) {
  if (!have("chromium"))
    GTEST_SKIP() << "Chromium is not installed (tools/install-deps page)";
  // More textures than the page builds at first, each with a mention, so
  // each starts unchecked and only "Select all" checks it.
  const int kCount = 150;
  TempTree tree;
  const std::string game = tree.root() + "game/";
  Page page;
  page.program = "Texsift";
  page.game_root = game;
  page.time = "now";
  page.choice = true;
  std::set<std::string> all;
  for (int i = 0; i < kCount; ++i) {
    PageTexture texture;
    texture.path = "gamedata\\textures\\t" + std::to_string(i) + ".dds";
    texture.size = 1;
    texture.mentions.push_back({"gamedata\\scripts\\a.script", 1, "same"});
    page.textures.push_back(texture);
    tree.write("game/gamedata/textures/t" + std::to_string(i) + ".dds", "x");
    all.insert("gamedata/textures/t" + std::to_string(i) + ".dds");
  }
  tree.write("page/index.html", with_script(page_html(page), kPressSaveButtons));
  tree.make_directory("profile");
  std::string dom = page_dom(tree.root() + "page/index.html", tree.root() + "profile");
  ASSERT_NE(dom.find("id=\"saved-undo.bat\""), std::string::npos)
      << dom << read_whole_file(tree.root() + "profile/chromium.err");

  // Only the first textures were built as cards; every one is checked.
  size_t cards = count_of(dom, "class=\"card mentioned\"");
  EXPECT_GT(cards, 0u);
  EXPECT_LT(cards, size_t{kCount});
  EXPECT_EQ(element_text(dom, "checked"), "150 checked, 150 bytes");

  // Each Save button saved its script, as a blob: download of the file it names.
  const std::pair<const char*, const char*> saved[] = {
      {"move.sh", "sh"}, {"undo.sh", "undo-sh"}, {"move.bat", "bat"}, {"undo.bat", "undo-bat"}};
  for (const auto& [name, id] : saved) {
    SCOPED_TRACE(name);
    EXPECT_EQ(element_text(dom, std::string("saved-") + name), "blob:" + element_text(dom, id));
  }

  // The saved move script moves every texture, built as a card or not, and the undo script back.
  tree.write("move.sh", element_text(dom, "saved-move.sh").substr(5));
  tree.write("undo.sh", element_text(dom, "saved-undo.sh").substr(5));
  ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "move.sh")).c_str()), 0);
  EXPECT_EQ(files_below(tree.root() + "game-texsift-moved"), all);
  ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "undo.sh")).c_str()), 0);
  EXPECT_EQ(files_below(game), all);
}

// A tree whose texture descriptions use textures that nothing refers to, with
// companions and copies: door_bunker_1 (referenced) has detail_metall_01 as
// detail in its .thm; act_antigas's .thm uses act_glass's bump;
// textures.ltx gives grnd\rocks its own bump; c1, c2 and c3 are copies, c4
// differs from them in its last byte.
void write_described_tree(const TempTree& tree) {
  const std::string textures = "game/gamedata/textures/";
  tree.write("game/gamedata/config/doors.ltx", "door = door\\door_bunker_1\r\n");
  tree.write(textures + "door/door_bunker_1.dds", "d");
  tree.write(textures + "door/door_bunker_1.thm",
             thm_file("detail\\detail_metall_01", "door\\door_bunker_1_bump"));
  tree.write(textures + "detail/detail_metall_01.dds", "m");
  tree.write(textures + "act/act_glass.dds", "g");
  tree.write(textures + "act/act_glass.thm", thm_file("", "act\\act_glass_bump"));
  tree.write(textures + "act/act_glass_bump.dds", "gb");
  tree.write(textures + "act/act_glass_bump#.dds", "gb#");
  tree.write(textures + "act/act_antigas.dds", "a");
  tree.write(textures + "act/act_antigas.thm", thm_file("", "act\\act_glass_bump"));
  tree.write(textures + "grnd/rocks.dds", "r");
  tree.write(textures + "grnd/rocks_bump.dds", "rb");
  tree.write(textures + "textures.ltx",
             "grnd\\rocks = bump_mode[use:grnd\\rocks_bump]\r\n");
  // c4 has their size and their first 4 KiB, and differs only in its last byte.
  const std::string same(5000, 's');
  for (const char* copy : {"c1", "c2", "c3"})
    tree.write(textures + "copies/" + copy + ".dds", same);
  tree.write(textures + "copies/c4.dds", same.substr(0, 4999) + "z");
}

TEST(PageBrowser, TextureDescriptionsCompanionsAndCopies) {
  TempTree tree;
  write_described_tree(tree);
  const std::string game = tree.root() + "game/";
  const std::set<std::string> before = files_below(game);

  // The records give the use with the texture it describes, the companion
  // kept by another texture's .thm, and the copies.
  ProgramResult records = run_built_program(TEXSIFT_PROGRAM, {"--json", game});
  ASSERT_EQ(records.status, 0) << records.err;
  EXPECT_NE(records.out.find("\"mentions\":[{\"path\":{\"text\":\"gamedata\\\\textures\\\\door\\\\"
                             "door_bunker_1.thm\"},\"offset\":82,\"case\":\"same\",\"separator\":"
                             "\"backslash\",\"kind\":\"description\",\"describes\":{\"text\":"
                             "\"door\\\\door_bunker_1\"}}]"),
            std::string::npos)
      << records.out;
  EXPECT_NE(records.out.find("{\"path\":{\"text\":\"gamedata\\\\textures\\\\act\\\\act_glass_bump.dds\"},"
                             "\"size\":2,\"used_by\":{\"text\":\"act\\\\act_antigas\"}}"),
            std::string::npos);
  EXPECT_NE(records.out.find("{\"path\":{\"text\":\"gamedata\\\\textures\\\\grnd\\\\rocks_bump.dds\"},"
                             "\"size\":2,\"used_by\":null}"),
            std::string::npos);
  for (const char* copy : {"c1", "c2", "c3"})
    EXPECT_NE(records.out.find(std::string("copies\\\\") + copy +
                               ".dds\"},\"size\":5000,\"mention_count\":0"),
              std::string::npos);
  EXPECT_EQ(count_of(records.out, "\"copy_group\":1,\"copy_bytes\":10000}"), 3u);
  EXPECT_NE(records.out.find("\"described\":1,\"companion_bytes\":"), std::string::npos);
  EXPECT_NE(records.out.find("\"copy_bytes\":10000}\n"), std::string::npos);

  if (!have("chromium"))
    GTEST_SKIP() << "Chromium is not installed (tools/install-deps page)";
  tree.make_directory("profile");
  // Both algorithms' pages make the second look.
  for (const char* algorithm : {"0", "1"}) {
    SCOPED_TRACE(algorithm);
    const std::string dir = tree.root() + "page" + algorithm + "/";
    ProgramResult run = run_built_program(TEXSIFT_PROGRAM, {"--html", dir, game, algorithm});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string dom = page_dom(dir + "index.html", tree.root() + "profile");
    EXPECT_NE(dom.find("used as detail or bump of door\\door_bunker_1"), std::string::npos) << dom;
    EXPECT_NE(dom.find("act/act_glass_bump.dds stays: used as bump of act\\act_antigas"),
              std::string::npos);
    EXPECT_NE(dom.find("identical to gamedata/textures/copies/c2.dds, gamedata/textures/copies/c3.dds"),
              std::string::npos);
    // Eight unreferenced, the detail texture unchecked.
    EXPECT_EQ(element_text(dom, "shown"), "8 of 8 shown");
    EXPECT_EQ(element_text(dom, "checked").substr(0, 10), "7 checked,");

    // The scripts move the textures with their own companions, and back.
    tree.write("move.sh", element_text(dom, "sh"));
    tree.write("undo.sh", element_text(dom, "undo-sh"));
    ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "move.sh")).c_str()), 0);
    EXPECT_EQ(files_below(tree.root() + "game-texsift-moved"),
              (std::set<std::string>{
                  "gamedata/textures/act/act_antigas.dds", "gamedata/textures/act/act_antigas.thm",
                  "gamedata/textures/act/act_glass.dds", "gamedata/textures/act/act_glass.thm",
                  "gamedata/textures/grnd/rocks.dds", "gamedata/textures/grnd/rocks_bump.dds",
                  "gamedata/textures/copies/c1.dds", "gamedata/textures/copies/c2.dds",
                  "gamedata/textures/copies/c3.dds", "gamedata/textures/copies/c4.dds"}));
    ASSERT_EQ(std::system(("bash " + shell_quoted(tree.root() + "undo.sh")).c_str()), 0);
    EXPECT_EQ(files_below(game), before);
    fs::remove_all(tree.root() + "game-texsift-moved");
  }
}

// The width and height in a PNG file's header.
std::pair<uint32_t, uint32_t> png_size(const std::string& png) {
  auto at = [&](size_t i) {
    return (uint32_t{static_cast<uint8_t>(png[i])} << 24) |
           (uint32_t{static_cast<uint8_t>(png[i + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(png[i + 2])} << 8) | static_cast<uint8_t>(png[i + 3]);
  };
  return png.size() < 24 ? std::make_pair(0u, 0u) : std::make_pair(at(16), at(20));
}

TEST(PageBrowser, PageOfExamples) {
  if (!have("chromium"))
    GTEST_SKIP() << "Chromium is not installed (tools/install-deps page)";
  TempTree tree;
  const std::string dir = tree.root() + "page/";
  ProgramResult plain = run_built_program(TEXSIFT_PROGRAM, {TEXSIFT_EXAMPLES});
  ProgramResult with_page = run_built_program(TEXSIFT_PROGRAM, {"--html", dir, TEXSIFT_EXAMPLES});
  ASSERT_EQ(with_page.status, 0) << with_page.err;
  // Standard output is the console report as without --html.
  EXPECT_EQ(mask_timings(with_page.out), mask_timings(plain.out));

  tree.make_directory("profile");
  std::string dom = page_dom(dir + "index.html", tree.root() + "profile");
  EXPECT_NE(dom.find("Textures referenced</td><td class=\"count\">10<"), std::string::npos) << dom;
  EXPECT_NE(dom.find("Textures unreferenced</td><td class=\"count\">1<"), std::string::npos);
  // fx_fire, the one unreferenced texture, is mentioned in a script the
  // search passes over, so it is shown with its mention and left unchecked.
  EXPECT_NE(dom.find("1 mention"), std::string::npos) << dom;
  EXPECT_EQ(element_text(dom, "checked"), "0 checked, 0 bytes");
  // act_body.dds, the first texture, is 128 by 128: its thumbnail is that
  // level itself, and the page shows it at the PNG's size.
  EXPECT_NE(dom.find("width=\"128\" height=\"128\" alt=\"\" src=\"thumbs/0.png\""),
            std::string::npos);
  EXPECT_EQ(png_size(read_whole_file(dir + "thumbs/0.png")), std::make_pair(128u, 128u));

  // Texsift-compact's page lists the files searched, with the names in each.
  const std::string compact_dir = tree.root() + "compact/";
  ProgramResult compact =
      run_built_program(COMPACT_PROGRAM, {"--html", compact_dir, TEXSIFT_EXAMPLES});
  ASSERT_EQ(compact.status, 0) << compact.err;
  std::string compact_dom = page_dom(compact_dir + "index.html", tree.root() + "profile");
  EXPECT_NE(compact_dom.find("gamedata/config/creatures.ltx</div>"), std::string::npos);
  EXPECT_NE(compact_dom.find("act\\act_body @ 37"), std::string::npos);
}

TEST(PageProgram, RefusesAFolderInTheTreeAndWritesNothing) {
  TempTree tree;
  tree.write("game/gamedata/textures/a.dds", "DDS ");
  tree.write("game/gamedata/config/a.ltx", "a");
  tree.write("theirs/notes.txt", "mine");
  struct Row {
    const char* program;
    std::string dir;
    const char* message;
  };
  const Row rows[] = {
      {TEXSIFT_PROGRAM, tree.root() + "game/gamedata/page", "lies inside the game tree"},
      {COMPACT_PROGRAM, tree.root() + "game/page", "lies inside the game tree"},
      {TEXSIFT_PROGRAM, tree.root() + "theirs", "holds files that no page of Texsift wrote"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dir);
    ProgramResult result = run_built_program(row.program, {"--json", "--html", row.dir,
                                                           tree.root() + "game"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(files_below(tree.root()),
            (std::set<std::string>{"game/gamedata/textures/a.dds", "game/gamedata/config/a.ltx",
                                   "theirs/notes.txt"}));
}

}  // namespace
