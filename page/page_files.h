// Filling a page from the results of a search over files, as both programs' per-file searches give them.
#pragma once

#include "common/file_pool.h"
#include "common/game_root.h"
#include "common/texture_walk.h"
#include "page/page_html.h"

// A page for `catalogue`: each texture, in order, with its path from the game
// root and nothing found yet; the time is now.
Page catalogue_page(const char* program, const Catalogue& catalogue);

// Adds what the search of one file found, `result` being that of a search for
// the names of `catalogue`: each texture one of whose names the file holds
// is referenced there, at the name's offset. With `list_file`, the file also
// joins `page->files` with its size and the names found in it.
void add_file_result(const FileResult& result, const Catalogue& catalogue, const GamePaths& paths,
                     bool list_file, Page* page);
