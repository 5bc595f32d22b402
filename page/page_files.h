// Filling a page from the results of a search over files, as both programs' per-file searches give them.
#pragma once

#include "search/file_search.h"
#include "search/references.h"
#include "search/second_look.h"
#include "search/game_root.h"
#include "catalogue/catalogue.h"
#include "page/page_html.h"

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
// with the files and offsets, and gives each texture the `mentions` of its
// names, with their forms.
void add_texture_findings(const Catalogue& catalogue, const References& references,
                          const Mentions& mentions, Page* page);
