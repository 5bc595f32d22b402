// Algorithm #2: the per-file report.
#pragma once

#include <string>

#include "search/tree_search.h"
#include "report/console_report.h"

struct Catalogue;

// Walks `game_root` once; for each searchable file that opens prints its
// "searching in" line, then, unless it is empty, a FOUND line for each
// catalogue name it holds, in catalogue order, and the time its names took.
// Each name tried sets the grey colour first, so after a file the colour in
// force is grey, or green when the last name was found.
// `also`, when given, takes each file's result after its lines.
void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const ConsoleReport& report, const ResultSink& also = {});
