// The page model: what the --html page shows, filled by the program that runs from its findings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/texture_files.h"
#include "page/image/thumbnail.h"
#include "search/game_root.h"
#include "search/file_search.h"
#include "search/references.h"
#include "search/second_look.h"

// One place a file names a texture: a reference found by the search, or a
// mention found by the second look at the files the search skips.
struct PagePlace {
  std::string file;     // from the game root, '\' between parts
  uint64_t offset = 0;  // of the name in the file
  std::string form;     // mentions only: how the name was written, e.g. "lower, double_backslash"
};

// One companion of a texture, as the page shows it.
struct PageCompanion {
  std::string path;      // from the game root, '\' between parts
  uint64_t size = 0;     // the file's bytes
  PagePlace kept_by;     // where another texture's description uses it; `form` is that texture, empty when none
};

// One texture of the catalogue, as the page shows it.
struct PageTexture {
  std::string path;                    // from the game root, '\' between parts
  uint64_t size = 0;                   // the file's bytes
  bool referenced = false;             // some searched file refers to it
  std::vector<PagePlace> references;   // the files that refer to it
  std::vector<PagePlace> mentions;     // the second look's mentions, for an unreferenced texture
  std::vector<PagePlace> uses;         // its uses through descriptions; `form` is the texture described
  std::vector<PageCompanion> companions;  // the files that move with it
  uint32_t copy_group = 0;             // its group of byte-identical textures, from 1; 0 for none
  std::optional<uint64_t> content_hash;  // content_hash of its bytes, once the thumbnail pass read them
  ThumbnailInfo preview;               // its thumbnail is thumbs/<index>.png when kDecoded
};

// One file that Texsift-compact searched, and the names it found in it.
struct PageFile {
  std::string path;                 // from the game root
  uint64_t size = 0;                // the bytes searched
  std::vector<PagePlace> names;     // `file` holds the name found, `offset` where
};

// Everything the page shows. The program fills it as the run goes on.
struct Page {
  std::string program;               // "Texsift" or "Texsift-compact"
  std::string game_root;             // as given, ending in a separator
  std::string time;                  // of the run, as shown
  bool choice = true;                // the unreferenced grid, the checkboxes and the move scripts
  std::vector<PageTexture> textures;  // in catalogue order; index i has thumbs/<i>.png
  bool has_files = false;            // shows `files` (Texsift-compact)
  std::vector<PageFile> files;       // in walk order
};

// A page for `catalogue`: each texture, in order, with its path from the game
// root as the file functions name it (the real name, in UTF-8 on Windows) and
// nothing found yet; the time is now.
Page catalogue_page(const char* program, const Catalogue& catalogue, const GamePaths& paths);

// Adds what the search of one file found, `result` being that of a search for
// the names of `catalogue`: each texture one of whose names the file holds
// is referenced there, at the name's offset. Paths are the real names. With `list_file`, the file also
// joins `page->files` with its size and the names found in it.
void add_file_result(const FileResult& result, const Catalogue& catalogue, const GamePaths& paths,
                     bool list_file, Page* page);

// Marks each texture of `page` that a name of it in `references` refers to,
// with the files and offsets, and adds the `mentions` (see add_mentions).
void add_texture_findings(const Catalogue& catalogue, const References& references,
                          const Mentions& mentions, Page* page);

// Gives each texture of `page` the `mentions` of its names: those in files
// with their forms, and its uses through descriptions with the texture each
// describes.
void add_mentions(const Catalogue& catalogue, const Mentions& mentions, Page* page);

// Gives each texture of `page` its size from `files`, and its companions with their sizes and the use that keeps each in the
// game (`users`, see companion_users), its file from `mentions`.
void add_texture_files(const Catalogue& catalogue, const TextureFiles& files,
                       const std::vector<const Mention*>& users, const Mentions& mentions,
                       const GamePaths& paths, Page* page);

// Puts the textures of `page` whose sizes and content hashes agree in copy
// groups (see group_copies).
void add_copies(Page* page);
