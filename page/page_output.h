// The --html work of a run: the folder checked before the run, the page written after it.
#pragma once

#include <string>

#include "page/page_dir.h"
#include "page/page_model.h"

// Names the page folder in this process's messages about it: "--html folder"
// until a run that chose the folder itself, without --html, names it otherwise.
void set_page_folder_label(std::string label);

// Checks the folder `dir`, as --html gives it, for a page of the run over
// `game_root` (see check_page_dir) and fills `page_dir`. On a problem prints
// "<label> '<dir>' <problem>" on standard error, the label as set above, and
// returns false; nothing has been written.
bool check_html_option(const std::string& dir, const std::string& game_root, PageDir* page_dir);

// Writes the page of `page`, whose textures (those of `catalogue`, in order)
// hold their paths, references and mentions, to the checked folder: the list
// of what it writes, a thumbnail per texture (see write_thumbnails, on
// search_threads() threads), the copy groups of a page that offers a
// choice (see add_copies), then index.html. `game_root` ends in a
// separator. False, with a message on standard error, when the folder cannot
// be written.
bool write_html_page(const PageDir& page_dir, const std::string& game_root,
                     const Catalogue& catalogue, Page* page);
