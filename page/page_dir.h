// The folder that --html writes: the checks before anything is written, the list of what a page wrote, the writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The name of the file in a page folder that lists what a page wrote there.
constexpr char kPageListName[] = ".texsift-page";

// A page folder that passed check_page_dir.
struct PageDir {
  std::string path;                    // in the form the file functions take, ending in a separator
  bool exists = false;                 // the folder is there already
  std::vector<std::string> old_files;  // what an earlier page wrote there, '/' between parts
};

// Checks `dir` (in the form the file functions take) for a page of the run
// over `game_root`, before anything is written, and fills `page_dir`. The
// reason it cannot take the page, or empty when it can:
// - it is a link, or not a folder;
// - its real path lies inside the game tree, or a walk of the tree reaches it
//   (or a folder above it) through a link;
// - it holds an entry that the list of an earlier page (kPageListName) does
//   not name, or a link, or anything but files and the thumbs folder.
std::string check_page_dir(const std::string& dir, const std::string& game_root,
                           PageDir* page_dir);

// Creates the folder and its thumbs folder as needed, removes what an
// earlier page wrote there, and writes the list of `files` (paths in the
// folder, '/' between parts) that this page writes. The reason it could not,
// or empty.
std::string prepare_page_dir(const PageDir& page_dir, const std::vector<std::string>& files);

// Writes `bytes` to the file `relative` ('/' between parts) of the prepared
// folder, never through a link. False when it cannot.
bool write_page_file(const PageDir& page_dir, const std::string& relative, std::string_view bytes);
