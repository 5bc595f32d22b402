// The thumbnail pass: each texture of the catalogue read as far as its thumbnail needs, the thumbnail made and written as a PNG, on worker threads.
#pragma once

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "page/page_model.h"

struct PageDir;

// The name of texture `index`'s thumbnail in a page folder: "thumbs/<index>.png".
std::string thumbnail_name(size_t index);

// Reads each texture of `catalogue` (opened by its open_path) on `threads`
// threads, only as far as its thumbnail needs (see read_thumbnail), and all
// of it, in pieces never held whole, when another texture has the same size,
// for its content hash; fills the preview of the page texture of the same
// index in `textures`, its content hash when read whole, and its size, the
// file's, when that is 0. A decoded
// thumbnail is written to `page_dir` as thumbnail_name(index) on the thread
// that made it, and only its description is kept; a PNG that could not be
// written leaves a broken preview that says so. A texture that cannot be
// opened has the broken preview "file", "not read". Ends the run, as the
// search does, when the bytes a texture needs cannot be held in memory.
void write_thumbnails(const Catalogue& catalogue, const PageDir& page_dir, unsigned threads,
                      std::vector<PageTexture>* textures);
