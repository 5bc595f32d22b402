// A generated game tree: its sizes and the writing of one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

// The size of a tree: how many textures, how many bytes Texsift searches,
// and how many of the large files there are.
struct TreeSize {
  std::string_view label;
  size_t textures;
  size_t searchable_mib;
  size_t levels;
  size_t meshes;
  size_t configs;
  bool photo_textures;  // catalogue textures like a real game's (make_photo_dds)
};

// The size called `label` ("small", "medium", "large" or "xl", about a
// whole unpacked game; "real": the small tree with textures like a real
// game's, 512 to 2048 pixels), or null.
const TreeSize* find_tree_size(std::string_view label);

// What was written.
struct TreeStats {
  size_t files = 0;
  size_t bytes = 0;
  size_t searchable_files = 0;  // files Texsift reads
  size_t searchable_bytes = 0;
  size_t textures = 0;          // texture images, companions not counted
  size_t names = 0;             // of them, those Texsift's catalogue holds
  size_t unreferenced = 0;      // catalogue names no searched file holds
  size_t at_end = 0;            // catalogue names referenced only at a file's end
};

// Writes a tree of `size` below `root`, an existing empty directory, with
// the directory separators of the system. The same size gives the same
// files and bytes on every system. Ends the program with a message when a
// file cannot be written.
TreeStats write_game_tree(const TreeSize& size, const std::filesystem::path& root);
