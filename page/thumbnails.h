// The thumbnails of a catalogue's textures, decoded and written as PNG files on the worker threads.
#pragma once

#include <string>
#include <vector>

#include "page/page_html.h"

struct PageDir;

// What the thumbnail pass learnt of one texture.
struct TexturePreview {
  bool read = false;    // its file was read
  uint64_t size = 0;    // its bytes, when read
  PagePreview preview;  // its thumbnail, written as thumbs/<index>.png when decoded
};

// The name of texture `index`'s thumbnail in a page folder: "thumbs/<index>.png".
std::string thumbnail_name(size_t index);

// Walks `texture_root` (ending in a separator, as the file functions take it)
// on `threads` threads, reading each file whose path from the game root as the
// file functions name it (the first `game_root_length` characters of the path
// that opens it cut off) is one of `texture_paths`. Each texture's
// thumbnail is made and its PNG written to `page_dir` on the thread that read
// it, one at a time per thread, and only its description is kept. Returns, per
// texture of `texture_paths`, in order, what was learnt; a PNG that could not
// be written leaves a broken preview that says so.
std::vector<TexturePreview> write_thumbnails(const std::string& texture_root,
                                             size_t game_root_length,
                                             const std::vector<std::string>& texture_paths,
                                             const PageDir& page_dir, unsigned threads);
